#include "app/WidgetPrompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

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
    QFileDialog dialog(parent);
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
    return dialog.selectedFiles().constFirst();
}

QString WidgetPrompter::openFileName(const FileDialogRequest& request) { return runFileDialog(request, false); }

QString WidgetPrompter::saveFileName(const FileDialogRequest& request) { return runFileDialog(request, true); }

} // namespace satorix
