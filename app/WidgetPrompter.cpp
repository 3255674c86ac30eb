#include "app/WidgetPrompter.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>

#include "app/AppTexts.h"

namespace satorix {

namespace {

QMessageBox::Icon boxIcon(PromptIcon icon)
{
    switch (icon) {
    case PromptIcon::Information: return QMessageBox::Information;
    case PromptIcon::Question: return QMessageBox::Question;
    case PromptIcon::Exclamation: return QMessageBox::Warning;
    case PromptIcon::Stop: return QMessageBox::Critical;
    case PromptIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons boxButtons(PromptButtons buttons)
{
    switch (buttons) {
    case PromptButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case PromptButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case PromptButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case PromptButtons::Ok: break;
    }
    return QMessageBox::Ok;
}

// Never the process's current directory, which for a program started from the desktop menu is
// the home folder at best and anything at worst.
QString startFolder(const QString& wanted)
{
    for (const QString& folder : {wanted, QSettings().value(QLatin1String(WidgetPrompter::LAST_FOLDER_KEY)).toString()})
        if (!folder.isEmpty() && QFileInfo(folder).isDir()) return folder;
    return QDir::homePath();
}

} // namespace

PromptAnswer WidgetPrompter::message(const QString& text, PromptIcon icon, PromptButtons buttons)
{
    QWidget* parent = parent_ ? parent_.data() : QApplication::activeWindow();
    QMessageBox box(boxIcon(icon), QString::fromUtf8(texts::APP_TITLE), text, boxButtons(buttons), parent);
    switch (box.exec()) {
    case QMessageBox::Yes: return PromptAnswer::Yes;
    case QMessageBox::No: return PromptAnswer::No;
    case QMessageBox::Ok: return PromptAnswer::Ok;
    default: return PromptAnswer::Cancel;
    }
}

QString WidgetPrompter::runFileDialog(const FileDialogRequest& request, bool save)
{
    QWidget* parent = parent_ ? parent_.data() : QApplication::activeWindow();
    QFileDialog dialog(parent, QString(), startFolder(request.folder));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // "Must exist" only makes sense when opening; a save dialog has to accept a new name.
    dialog.setFileMode(request.mustExist && !save ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilters(request.nameFilters);
    QString suffix = request.defaultSuffix;
    if (suffix.startsWith(QLatin1String("*."))) suffix.remove(0, 2);
    if (!suffix.isEmpty()) dialog.setDefaultSuffix(suffix);
    // A wildcard in the name field would only confuse the platform dialog; the filter shows it.
    if (!request.initialName.contains(QLatin1Char('*'))) dialog.selectFile(request.initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const QString chosen = dialog.selectedFiles().constFirst();
    QSettings().setValue(QLatin1String(LAST_FOLDER_KEY), QFileInfo(chosen).absolutePath());
    return chosen;
}

QString WidgetPrompter::openFileName(const FileDialogRequest& request) { return runFileDialog(request, false); }

QString WidgetPrompter::saveFileName(const FileDialogRequest& request) { return runFileDialog(request, true); }

} // namespace satorix
