#include "app/COrbitDoc.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>
#include <cstring>

#include "app/AppConfig.h"
#include "app/AppTexts.h"
#include "app/EditHistory.h"
#include "app/ExchangeCommands.h"
#include "app/FileTypeRegistration.h"
#include "app/OptionsDialog.h"
#include "app/RecentFileList.h"
#include "app/TransferCommands.h"
#include "db/ChannelDatabase.h"
#include "db/ImageDelta.h"
#include "db/ProgramOrder.h"
#include "dialogs/DuplicatesDialog.h"
#include "gui/BrowserState.h"
#include "gui/CommandIds.h"
#include "gui/DocumentView.h"
#include "gui/Prompter.h"
#include "gui/StepTexts.h"

namespace satorix {

namespace {

// The dialogs open where the current database lies.
FileDialogRequest databaseFileRequest(const QString& currentPath)
{
    FileDialogRequest r;
    if (!currentPath.isEmpty()) r.folder = QFileInfo(currentPath).absolutePath();
    r.initialName = QString::fromUtf8(texts::FILE_INITIAL_NAME);
    r.nameFilters = {QString::fromUtf8(texts::FILE_FILTER_CHANNELS), QString::fromUtf8(texts::FILE_FILTER_ALL)};
    r.mustExist = true;
    return r;
}

std::string local(const QString& path) { return QFile::encodeName(path).toStdString(); }

} // namespace

COrbitDoc::COrbitDoc(const DocServices& services, const RegistrationOptions& registration, QObject* parent)
    : QObject(parent), s_(services), registration_(registration), history_(new EditHistory(services.db, this))
{
    connect(history_, &EditHistory::savedStateChanged, this, [this](bool atSaved) { setModifiedFlag(!atSaved); });
    connect(history_, &EditHistory::applied, this, &COrbitDoc::historyApplied);
    s_.config.read();
    s_.db.setNameTable(OptionsDialog::storedNameTable());
    s_.db.setLastPath(s_.config.lastPath());
    openLastEdited();
    databaseDownloaded_ = false;
    if (registration_.enabled) registerFileType();

    auto disabled = [](CommandUi& ui) { ui.enabled = false; };
    commands_.on(ID_FILE_OPEN, [this] { onFileOpen(); })
        .on(ID_FILE_SAVE, [this] { onFileSave(); })
        .on(ID_FILE_SAVE_AS, [this] { onFileSaveAs(); })
        .on(ID_SETTINGS_OPTIONS, [this] { onOptions(); })
        .on(
            ID_EDIT_UNDO, [this] { history_->undo(); },
            [this](CommandUi& ui) {
                ui.enabled = history_->canUndo();
                ui.text = ui.enabled ? QStringLiteral("&Undo %1").arg(history_->undoText()) : QStringLiteral("&Undo");
            })
        .on(
            ID_FIND_DUPLICATES, [this] { findDuplicates(); }, [this](CommandUi& ui) { ui.enabled = s_.db.isLoaded(); })
        .on(
            ID_EDIT_REDO, [this] { history_->redo(); },
            [this](CommandUi& ui) {
                ui.enabled = history_->canRedo();
                ui.text = ui.enabled ? QStringLiteral("&Redo %1").arg(history_->redoText()) : QStringLiteral("&Redo");
            })
        .onUpdate(ID_FILE_PRINT, disabled)
        .onUpdate(ID_FILE_PRINT_PREVIEW, disabled)
        .onUpdate(ID_FILE_PRINT_SETUP, disabled);
    transfers_ = std::make_unique<TransferCommands>(*this);
    transfers_->registerCommands(commands_);
    exchange_ = std::make_unique<ExchangeCommands>(*this);
    exchange_->registerCommands(commands_);
}

COrbitDoc::~COrbitDoc() = default;

void COrbitDoc::openLastEdited()
{
    const std::string last = s_.config.lastPath();
    if (!s_.config.openLastEdited() || last.empty()) {
        extension_ = QStringLiteral("si");
        fileName_ = QStringLiteral("Channel.si");
        path_.clear();
        title_ = QStringLiteral("Channel");
        fileOpened_ = false;
        return;
    }
    if (s_.db.load(last) != 0) {
        s_.prompter.message(QString::fromUtf8(texts::OPEN_LAST_FAILED));
        fileName_.clear();
        title_ = QStringLiteral("Untitled");
        setTitle(fileName_);
        return;
    }
    path_ = QFile::decodeName(QByteArray::fromStdString(last));
    const PathParts parts = splitPath(path_);
    extension_ = parts.extension;
    fileName_ = parts.fileName;
    title_ = parts.title;
    fileOpened_ = true;
    s_.browser.rebuildRequest = true;
    setTitle(title_);
}

void COrbitDoc::registerFileType()
{
    const QString program =
        registration_.programPath.isEmpty() ? QCoreApplication::applicationFilePath() : registration_.programPath;
    FileTypeRegistration::registerFileType(program, FileTypeRegistration::dataHome(), registration_.refreshCaches);
}

PathParts COrbitDoc::splitPath(const QString& path)
{
    PathParts p;
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    p.extension = dot < 0 ? QString() : path.mid(dot + 1);
    // The file name starts after the last separator before that dot, wherever the dot lies.
    const qsizetype end = dot < 0 ? path.size() : dot;
    const qsizetype slash = end > 0 ? path.lastIndexOf(QLatin1Char('/'), end - 1) : -1;
    p.fileName = path.mid(slash + 1);
    const qsizetype firstDot = p.fileName.indexOf(QLatin1Char('.'));
    if (firstDot == 0)
        p.title.clear();
    else
        p.title = firstDot < 0 ? p.fileName : p.fileName.left(firstDot);
    return p;
}

void COrbitDoc::setTitle(const QString& title)
{
    shownTitle_ = title;
    emit titleChanged(shownTitle_);
}

void COrbitDoc::setModifiedFlag(bool modified)
{
    if (modified_ == modified) return;
    modified_ = modified;
    emit modifiedChanged(modified_);
}

void COrbitDoc::deleteContents() { setTitle(title_); }

void COrbitDoc::onNewDocument()
{
    deleteContents();
    startHistory();
    setModifiedFlag(false);
}

void COrbitDoc::startHistory()
{
    editDepth_ = 0;
    history_->reset();
}

bool COrbitDoc::loadFile(const QString& path)
{
    if (s_.db.load(local(path)) == 0) return true;
    s_.prompter.message(QString::fromUtf8(texts::OPEN_FAILED), PromptIcon::Exclamation);
    return false;
}

bool COrbitDoc::onOpenDocument(const QString& path)
{
    // A file that cannot be loaded leaves the document as it was.
    if (!loadFile(path)) return false;
    deleteContents();
    startHistory();
    setModifiedFlag(false);
    path_ = path;
    const PathParts parts = splitPath(path_);
    extension_ = parts.extension;
    fileName_ = parts.fileName;
    title_ = parts.title;
    fileOpened_ = true;
    updateAllViews(nullptr);
    s_.browser.rebuildRequest = true;
    return true;
}

bool COrbitDoc::saveModified()
{
    if (!modified_) return true;
    const PromptAnswer a = s_.prompter.message(QString::fromUtf8(texts::NOT_SAVED).arg(fileName_), PromptIcon::Question,
                                               PromptButtons::YesNoCancel);
    if (a == PromptAnswer::Cancel) return false;
    if (a == PromptAnswer::No) return true;
    // Edits that cannot be saved must not be thrown away by the command that asked.
    const SaveResult r = onFileSave();
    return r == SaveResult::Saved || r == SaveResult::NothingToSave;
}

bool COrbitDoc::edit(const QString& step, const std::function<void()>& change)
{
    beginEdit();
    change();
    return endEdit(step);
}

void COrbitDoc::beginEdit()
{
    if (editDepth_++ == 0) history_->open();
}

bool COrbitDoc::endEdit(const QString& step)
{
    // A change inside another is part of the outer one's step.
    if (editDepth_ == 0 || --editDepth_ > 0) return false;
    if (!history_->close(step)) return false;
    setModifiedFlag(true);
    return true;
}

void COrbitDoc::historyApplied(const ImageDelta& delta)
{
    if (touchesTree(delta)) s_.browser.rebuildRequest = true;
    updateAllViews(nullptr, HINT_HISTORY);
}

void COrbitDoc::findDuplicates()
{
    DuplicatesDialog dialog(s_.db, QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted) return;
    const std::vector<int> removed = dialog.checked();
    if (removed.empty()) return;
    if (edit(steps::counted("Delete", static_cast<int>(removed.size()), "duplicate", "duplicates"),
             [&] { removePrograms(s_.db, removed, dialog.replacements()); }))
        updateAllViews(nullptr);
}

void COrbitDoc::takeDialogNames(const QString& path)
{
    const QFileInfo info(path);
    path_ = path;
    fileName_ = info.fileName();
    extension_ = info.suffix();
    title_ = info.completeBaseName();
    setTitle(title_);
}

void COrbitDoc::onFileOpen()
{
    if (!saveModified()) return;
    const QString chosen = s_.prompter.openFileName(databaseFileRequest(path_));
    if (chosen.isEmpty()) return;
    if (!loadFile(chosen)) return;
    takeDialogNames(chosen);
    fileOpened_ = true;
    s_.browser.rebuildRequest = true;
    s_.db.clipboard().clear();
    startHistory();
    setModifiedFlag(false);
    s_.recent.add(chosen);
    updateAllViews(nullptr);
}

COrbitDoc::SaveResult COrbitDoc::onFileSave()
{
    if (!fileOpened_ || databaseDownloaded_) return onFileSaveAs();
    if (s_.db.save(local(path_)) != 0) {
        s_.prompter.message(QString::fromUtf8(texts::SAVE_FAILED), PromptIcon::Exclamation);
        return SaveResult::Failed;
    }
    history_->markSaved();
    setModifiedFlag(false);
    return SaveResult::Saved;
}

COrbitDoc::SaveResult COrbitDoc::onFileSaveAs()
{
    if (!databaseDownloaded_ && !fileOpened_) {
        s_.prompter.message(QString::fromUtf8(texts::NOTHING_TO_SAVE));
        return SaveResult::NothingToSave;
    }
    FileDialogRequest request = databaseFileRequest(path_);
    request.defaultSuffix = QString::fromUtf8(texts::FILE_INITIAL_NAME);
    const QString chosen = s_.prompter.saveFileName(request);
    if (chosen.isEmpty()) return SaveResult::Cancelled;
    takeDialogNames(chosen);
    if (s_.db.save(local(chosen)) != 0) {
        s_.prompter.message(QString::fromUtf8(texts::SAVE_FAILED), PromptIcon::Exclamation);
        return SaveResult::Failed;
    }
    fileOpened_ = true;
    databaseDownloaded_ = false;
    history_->markSaved();
    setModifiedFlag(false);
    s_.recent.add(chosen);
    return SaveResult::Saved;
}

void COrbitDoc::onOptions()
{
    OptionsDialog dialog(s_.config, [this] { registerFileType(); });
    if (dialog.exec() != QDialog::Accepted || dialog.nameTable() == s_.db.nameTable()) return;
    s_.db.setNameTable(dialog.nameTable());
    updateAllViews(nullptr);
}

bool COrbitDoc::openDroppedFile(const QString& path)
{
    if (!saveModified() || !loadFile(path)) return false;
    fileOpened_ = true;
    s_.browser.rebuildRequest = true;
    path_ = path;
    fileName_ = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    setTitle(fileName_);
    startHistory();
    setModifiedFlag(false);
    s_.recent.add(path);
    updateAllViews(nullptr);
    return true;
}

void COrbitDoc::acceptDownloadedDatabase()
{
    databaseDownloaded_ = true;
    editDepth_ = 0;
    history_->resetUnsaved();
    setModifiedFlag(true);
    extension_ = QStringLiteral("si");
    fileName_ = QStringLiteral("Channel.si");
    path_.clear();
    title_ = QStringLiteral("Channel");
    deleteContents();
    setTitle(fileName_);
    databaseDownloaded_ = true;
    s_.browser.rebuildRequest = true;
    updateAllViews(nullptr);
}

void COrbitDoc::addView(DocumentView* view)
{
    if (std::find(views_.begin(), views_.end(), view) == views_.end()) views_.push_back(view);
}

void COrbitDoc::removeView(DocumentView* view)
{
    views_.erase(std::remove(views_.begin(), views_.end(), view), views_.end());
}

void COrbitDoc::updateAllViews(DocumentView* sender, int hint)
{
    // A copy: an update may create or destroy views.
    const std::vector<DocumentView*> views = views_;
    for (DocumentView* v : views)
        if (v != sender) v->onUpdate(sender, hint);
}

void COrbitDoc::sendInitialUpdate()
{
    const std::vector<DocumentView*> views = views_;
    for (DocumentView* v : views) v->onInitialUpdate();
}

} // namespace satorix
