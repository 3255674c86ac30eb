#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <vector>

#include "gui/Prompter.h"

namespace satorix::test {

// Answers every box and file dialog from queues and records what was asked. An unexpected
// question gets Cancel (or an empty name) and is counted.
class ScriptedPrompter : public Prompter {
public:
    struct Message {
        QString text;
        PromptIcon icon;
        PromptButtons buttons;
    };

    PromptAnswer message(const QString& text, PromptIcon icon, PromptButtons buttons) override
    {
        messages.push_back({text, icon, buttons});
        return buttons == PromptButtons::Ok ? PromptAnswer::Ok : take(answers, PromptAnswer::Cancel);
    }
    QString openFileName(const FileDialogRequest& request) override { return fileName(openRequests, request); }
    QString saveFileName(const FileDialogRequest& request) override { return fileName(saveRequests, request); }

    QStringList texts() const
    {
        QStringList out;
        for (const Message& m : messages) out << m.text;
        return out;
    }
    void clear()
    {
        messages.clear();
        openRequests.clear();
        saveRequests.clear();
        unanswered = 0;
    }

    std::deque<PromptAnswer> answers;
    std::deque<QString> fileNames;
    std::vector<Message> messages;
    std::vector<FileDialogRequest> openRequests;
    std::vector<FileDialogRequest> saveRequests;
    int unanswered = 0;

private:
    QString fileName(std::vector<FileDialogRequest>& requests, const FileDialogRequest& request)
    {
        requests.push_back(request);
        return take(fileNames, QString());
    }
    // The front of a queue, or value when it is empty.
    template <typename T> T take(std::deque<T>& queue, T value)
    {
        unanswered += queue.empty();
        if (queue.empty()) return value;
        value = queue.front();
        queue.pop_front();
        return value;
    }
};

} // namespace satorix::test
