#pragma once

#include <QString>
#include <QStringList>

namespace satorix {

enum class PromptIcon { None, Information, Question, Exclamation, Stop };
enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class PromptAnswer { Ok, Cancel, Yes, No };

// What a file dialog is asked to show.
struct FileDialogRequest {
    QString defaultSuffix;   // added when the user types a name without one
    QString initialName;     // text in the name field, "*.si" for instance
    QString folder;          // where the dialog opens; the last folder used when empty or gone
    QStringList nameFilters; // Qt filter strings, first one selected
    bool mustExist = false;
};

// Every message box, question and file dialog of the program goes through this, so that a test
// can answer them. An empty file name means the dialog was cancelled.
class Prompter {
public:
    virtual ~Prompter() = default;
    virtual PromptAnswer message(const QString& text, PromptIcon icon = PromptIcon::None,
                                 PromptButtons buttons = PromptButtons::Ok) = 0;
    virtual QString openFileName(const FileDialogRequest& request) = 0;
    virtual QString saveFileName(const FileDialogRequest& request) = 0;
};

} // namespace satorix
