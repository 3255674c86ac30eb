#pragma once

#include <QPointer>
#include <QWidget>

#include "gui/Prompter.h"

namespace satorix {

// The desktop's message boxes and file dialogs, parented to the main window once it exists.
class WidgetPrompter : public Prompter {
public:
    // Profile key of the folder the last file dialog was accepted in.
    static constexpr const char* LAST_FOLDER_KEY = "Folders/LastUsed";

    void setParentWidget(QWidget* parent) { parent_ = parent; }

    PromptAnswer message(const QString& text, PromptIcon icon, PromptButtons buttons) override;
    QString openFileName(const FileDialogRequest& request) override;
    QString saveFileName(const FileDialogRequest& request) override;

private:
    QString runFileDialog(const FileDialogRequest& request, bool save);
    QPointer<QWidget> parent_;
};

} // namespace satorix
