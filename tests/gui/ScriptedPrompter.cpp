#include "tests/gui/ScriptedPrompter.h"

namespace satorix::test {

namespace {

// The front of a queue, or value when it is empty.
template <typename T> T take(std::deque<T>& queue, T value, int& unanswered)
{
    if (queue.empty()) {
        ++unanswered;
        return value;
    }
    value = queue.front();
    queue.pop_front();
    return value;
}

} // namespace

PromptAnswer ScriptedPrompter::message(const QString& text, PromptIcon icon, PromptButtons buttons)
{
    messages.push_back({text, icon, buttons});
    return buttons == PromptButtons::Ok ? PromptAnswer::Ok : take(answers, PromptAnswer::Cancel, unanswered);
}

QString ScriptedPrompter::openFileName(const FileDialogRequest& request)
{
    openRequests.push_back(request);
    return take(fileNames, QString(), unanswered);
}

QString ScriptedPrompter::saveFileName(const FileDialogRequest& request)
{
    saveRequests.push_back(request);
    return take(fileNames, QString(), unanswered);
}

QStringList ScriptedPrompter::texts() const
{
    QStringList out;
    for (const Message& m : messages) out << m.text;
    return out;
}

void ScriptedPrompter::clear()
{
    messages.clear();
    openRequests.clear();
    saveRequests.clear();
    unanswered = 0;
}

} // namespace satorix::test
