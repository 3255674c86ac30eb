#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "gui/CommandMap.h"
#include "gui/Document.h"
#include "gui/Prompter.h"

namespace satorix {

class AppConfig;
class BrowserState;
class ChannelDatabase;
class DocumentView;
class EditHistory;
class ExchangeCommands;
class ImageDelta;
class RecentFileList;
class TransferCommands;

// The long-lived objects the document works on; all owned by the application.
struct DocServices {
    ChannelDatabase& db;
    AppConfig& config;
    BrowserState& browser;
    Prompter& prompter;
    RecentFileList& recent;
};

struct RegistrationOptions {
    bool enabled = true;
    QString programPath;       // the running program when empty
    bool refreshCaches = true; // rebuild the desktop's MIME and application caches after a change
};

// A database path taken apart the way the document's fields hold it.
struct PathParts {
    QString extension;
    QString fileName;
    QString title;
};

// Stands for the one channel database: it holds its file's names, the modified flag and how the
// database arrived (opened from a file or downloaded), and runs the file commands.
class COrbitDoc : public QObject, public CommandTarget, public Document {
    Q_OBJECT
public:
    // Reads the configuration, reopens the last edited database when asked to and registers the file type.
    COrbitDoc(const DocServices& services, const RegistrationOptions& registration, QObject* parent = nullptr);
    ~COrbitDoc() override;

    static PathParts splitPath(const QString& path);

    // --- fields ---
    const QString& titleField() const { return title_; }
    const QString& extension() const { return extension_; }
    const QString& path() const { return path_; }
    const QString& fileName() const { return fileName_; }
    const QString& title() const { return shownTitle_; }
    void setTitle(const QString& title);

    bool isModified() const override { return modified_; }
    void setModifiedFlag(bool modified = true) override;
    bool fileOpened() const { return fileOpened_; }
    void setFileOpened(bool on) { fileOpened_ = on; }
    bool databaseDownloaded() const { return databaseDownloaded_; }
    void setDatabaseDownloaded(bool on) { databaseDownloaded_ = on; }

    ChannelDatabase& database() const override { return s_.db; }
    BrowserState& browser() const override { return s_.browser; }
    Prompter& prompter() const override { return s_.prompter; }
    AppConfig& config() const { return s_.config; }

    // --- framework steps ---
    void deleteContents();
    void onNewDocument();
    bool onOpenDocument(const QString& path);
    // Asks "... not saved! Save it now?" when modified; Yes saves. False when the command that
    // asked must stop: the user cancelled, or the save was cancelled or failed.
    bool saveModified();

    // Every change of the database goes through here: when the change altered the image, the CRC
    // is recomputed, the change becomes one step of the history and the document is modified.
    bool edit(const QString& step, const std::function<void()>& change) override;
    void beginEdit() override;
    bool endEdit(const QString& step) override;
    EditHistory& history() const { return *history_; }

    // --- commands ---
    enum class SaveResult { Saved, Cancelled, Failed, NothingToSave };
    void onFileOpen();
    SaveResult onFileSave();
    SaveResult onFileSaveAs();
    void onOptions();
    // Edit > Find Duplicates: the dialog, then the checked programs deleted as one step.
    void findDuplicates();
    // A database file dropped on the main window; true when it loaded.
    bool openDroppedFile(const QString& path);
    // After a successful download: the database is new, unnamed and modified.
    void acceptDownloadedDatabase();
    // Download, upload, software upgrade and port settings.
    TransferCommands& transfers() const { return *transfers_; }

    // --- views ---
    void addView(DocumentView* view) override;
    void removeView(DocumentView* view) override;
    const std::vector<DocumentView*>& views() const { return views_; }
    void updateAllViews(DocumentView* sender, int hint = 0) override;
    void sendInitialUpdate();

    const CommandMap& commands() const override { return commands_; }

signals:
    void titleChanged(const QString& title);
    void modifiedChanged(bool modified);

private:
    void openLastEdited();
    // Loads into the database; on failure nothing of the document or the database has changed.
    bool loadFile(const QString& path);
    void takeDialogNames(const QString& path);
    void registerFileType();
    // After an undo or a redo: the tree is built again when names or nodes changed, then every view
    // shows the result.
    void historyApplied(const ImageDelta& delta);
    // A database that was loaded or created: a history of its own, starting at the saved state.
    void startHistory();

    DocServices s_;
    RegistrationOptions registration_;
    CommandMap commands_;
    std::unique_ptr<TransferCommands> transfers_;
    std::unique_ptr<ExchangeCommands> exchange_;
    EditHistory* history_ = nullptr;
    std::vector<DocumentView*> views_;

    QString title_;
    QString extension_;
    QString path_;
    QString fileName_;
    QString shownTitle_;
    bool modified_ = false;
    bool fileOpened_ = false;
    bool databaseDownloaded_ = false;
    int editDepth_ = 0;
};

} // namespace satorix
