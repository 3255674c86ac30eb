#pragma once

#include <QHash>
#include <QMainWindow>
#include <QTimer>
#include <cstdint>
#include <vector>

#include "gui/CommandHost.h"
#include "gui/CommandMap.h"
#include "gui/CommandRouter.h"

class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QToolBar;

namespace satorix {

class AppConfig;
class BrowserState;
class ChannelDatabase;
class CLeftView;
class COrbitDoc;
class COrbitView;
class DocumentView;
class RecentFileList;

struct FrameOptions {
    bool showSplash = true;
};

// The program's only top-level window: menu, tool bar, status bar and the splitter with the tree
// and the program list. It routes every command id, refreshes command states when the program
// goes idle, accepts dropped database files and writes the configuration when it goes away.
class CMainFrame : public QMainWindow, public CommandTarget, public CommandHost {
    Q_OBJECT
public:
    static constexpr int TOOLBAR_IMAGE = 30;
    static constexpr int INITIAL_PANE_SIZE = 100;

    CMainFrame(COrbitDoc& doc, AppConfig& config, RecentFileList& recent, const CommandTarget* application,
               const FrameOptions& options, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Runs a command id through the active view, the document, the frame and the application.
    bool runCommand(int id) override;
    // The state the routing gives a command now (the views' popup menus ask it when they open).
    CommandUi commandState(int id) const override { return router_.state(id); }
    // The idle pass: enables, checks and labels every action and status pane.
    void updateCommandUi();
    // Runs the idle pass once the events now queued have been handled.
    void requestIdleUpdate();

    QAction* action(int id) const { return actions_.value(id); }
    QLabel* pane(int id) const { return panes_.value(id); }
    QToolBar* toolBar() const { return toolBar_; }
    CLeftView* leftView() const { return leftView_; }
    COrbitView* orbitView() const { return orbitView_; }
    DocumentView* activeView() const { return activeView_; }
    void setActiveView(DocumentView* view) override;
    // The frame's copy of the last list scope it has seen.
    std::uint32_t seenScope() const { return seenScope_; }
    // Fills the File menu's recent entries from the list.
    void refreshRecentFiles();

    const CommandMap& commands() const override { return commands_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QAction* makeAction(int id, const char* name, const QString& text, const QString& prompt, int image = -1);
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    void createClient();
    void registerCommands();
    void updateFilterButton(std::uint32_t bit, CommandUi& ui);
    void updateTitle();
    void switchPane();

    COrbitDoc& doc_;
    AppConfig& config_;
    RecentFileList& recent_;
    const CommandTarget* application_;
    CommandRouter router_;
    CommandMap commands_;

    QHash<int, QAction*> actions_;
    QHash<int, QLabel*> panes_;
    QHash<int, QString> paneTexts_;
    std::vector<QAction*> recentActions_;
    QAction* recentPlaceholder_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QSplitter* splitter_ = nullptr;
    CLeftView* leftView_ = nullptr;
    COrbitView* orbitView_ = nullptr;
    DocumentView* activeView_ = nullptr;
    std::uint32_t seenScope_;
    int recentRevision_ = -1;
    bool updating_ = false;
    QTimer idleTimer_;
};

} // namespace satorix
