#include "tests/gui/ScriptedPrompter.h"

namespace satorix::test {

PromptAnswer ScriptedPrompter::message(const QString& text, PromptIcon icon, PromptButtons buttons)
{
    messages.push_back({text, icon, buttons});
    if (buttons == PromptButtons::Ok) return PromptAnswer::Ok;
    if (answers.empty()) {
        ++unanswered;
        return PromptAnswer::Cancel;
    }
    const PromptAnswer a = answers.front();
    answers.pop_front();
    return a;
}

QString ScriptedPrompter::nextFileName()
{
    if (fileNames.empty()) {
        ++unanswered;
        return {};
    }
    QString name = fileNames.front();
    fileNames.pop_front();
    return name;
}

QString ScriptedPrompter::openFileName(const FileDialogRequest& request)
{
    openRequests.push_back(request);
    return nextFileName();
}

QString ScriptedPrompter::saveFileName(const FileDialogRequest& request)
{
    saveRequests.push_back(request);
    return nextFileName();
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
