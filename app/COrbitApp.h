#pragma once

#include <QString>
#include <memory>

#include "app/AppConfig.h"
#include "app/COrbitDoc.h"
#include "app/RecentFileList.h"
#include "db/ChannelDatabase.h"
#include "gui/BrowserState.h"
#include "gui/CommandMap.h"

namespace satorix {

class CMainFrame;
class EditDialogs;
class Prompter;

struct AppOptions {
    bool showSplash = true;
    // Window geometry, splitter and column widths from and to the profile.
    bool rememberLayout = true;
    RegistrationOptions registration;
};

// The application: owns the database, the configuration, the browsing state, the document and
// the main frame, and handles the commands that belong to no document (About, Exit, recent files).
// It is not the QApplication, so a test can build and throw away as many as it likes.
class COrbitApp : public CommandTarget {
public:
    static constexpr const char* ORGANISATION = "Satorix";
    static constexpr const char* APPLICATION = "Satorix Editor";

    explicit COrbitApp(Prompter& prompter, AppOptions options = {});
    ~COrbitApp() override;
    COrbitApp(const COrbitApp&) = delete;
    COrbitApp& operator=(const COrbitApp&) = delete;

    // Builds the document and the frame, opens fileToOpen (if any) and shows the window.
    // A file that cannot be opened leaves the editor empty; the window shows all the same.
    bool initInstance(const QString& fileToOpen = {});
    // Destroys the frame (which writes the configuration) and frees the program clipboard.
    void exitInstance();

    // Opening through the framework: command line and recent-file list.
    bool openDocumentFile(const QString& path);
    // The same once the unsaved-changes question has been answered.
    bool openAfterAsking(const QString& path);
    void onAppAbout();
    void onRecentFile(int index);

    // Shows the window, lets it settle and writes a PNG of it.
    bool saveScreenshot(const QString& path);

    ChannelDatabase& database() { return db_; }
    AppConfig& config() { return config_; }
    BrowserState& browser() { return browser_; }
    RecentFileList& recentFiles() { return recent_; }
    Prompter& prompter() { return prompter_; }
    COrbitDoc* document() const { return doc_.get(); }
    CMainFrame* frame() const { return frame_.get(); }

    const CommandMap& commands() const override { return commands_; }

private:
    Prompter& prompter_;
    AppOptions options_;
    ChannelDatabase db_;
    AppConfig config_;
    BrowserState browser_;
    RecentFileList recent_;
    CommandMap commands_;
    std::unique_ptr<COrbitDoc> doc_;
    std::unique_ptr<EditDialogs> dialogs_;
    std::unique_ptr<CMainFrame> frame_;
};

} // namespace satorix
