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

    PromptAnswer message(const QString& text, PromptIcon icon, PromptButtons buttons) override;
    QString openFileName(const FileDialogRequest& request) override;
    QString saveFileName(const FileDialogRequest& request) override;

    QStringList texts() const;
    void clear();

    std::deque<PromptAnswer> answers;
    std::deque<QString> fileNames;
    std::vector<Message> messages;
    std::vector<FileDialogRequest> openRequests;
    std::vector<FileDialogRequest> saveRequests;
    int unanswered = 0;
};

} // namespace satorix::test
