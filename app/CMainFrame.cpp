#include "app/CMainFrame.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <algorithm>
#include <string>

#include "app/AppConfig.h"
#include "app/AppTexts.h"
#include "app/COrbitDoc.h"
#include "app/RecentFileList.h"
#include "app/ToolPictures.h"
#include "db/ChannelDatabase.h"
#include "dialogs/SplashDialog.h"
#include "gui/BrowserState.h"
#include "gui/CommandIds.h"
#include "views/CLeftView.h"
#include "views/COrbitView.h"
#include "views/ProgramCommands.h"

namespace satorix {

namespace {

// Tool bar pictures, in button order.
enum ToolImage {
    IMG_OPEN,
    IMG_SAVE,
    IMG_PRINT,
    IMG_DELETE,
    IMG_TV,
    IMG_RADIO,
    IMG_TV_RADIO,
    IMG_DOWNLOAD,
    IMG_UPLOAD,
    IMG_UPGRADE,
    IMG_PORT,
    IMG_ABOUT
};
static_assert(IMG_ABOUT + 1 == toolPictures::COUNT);

// The pane's classic width, widened when the desktop's font needs more room for the text.
void fitPane(QLabel* pane, const QString& text, int width)
{
    pane->setMinimumWidth(std::max(width, pane->fontMetrics().horizontalAdvance(text) + 14));
}

QIcon toolIcon(int image) { return toolPictures::icon(image); }

// The theme's copy when the program is installed, else the one it carries, in every size.
QIcon programIcon()
{
    QIcon carried;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        carried.addFile(QStringLiteral(":/satorix/icons/hicolor/%1x%1/apps/satorix.png").arg(size));
    return QIcon::fromTheme(QStringLiteral("satorix"), carried);
}

} // namespace

CMainFrame::CMainFrame(COrbitDoc& doc, AppConfig& config, RecentFileList& recent, const CommandTarget* application,
                       const FrameOptions& options, QWidget* parent)
    : QMainWindow(parent), doc_(doc), config_(config), recent_(recent), application_(application), router_([this] {
          return std::vector<const CommandTarget*>{activeView_, &doc_, this, application_};
      }),
      seenScope_(BrowserState::INITIAL_SCOPE)
{
    setObjectName(QStringLiteral("mainFrame"));
    setWindowIcon(programIcon());
    resize(980, 640);

    createActions();
    createMenus();
    createToolBar();
    createStatusBar();
    registerCommands();
    if (options.showSplash) {
        SplashDialog splash;
        splash.exec();
    }
    createClient();

    connect(&doc_, &COrbitDoc::titleChanged, this, &CMainFrame::updateTitle);
    connect(&doc_, &COrbitDoc::modifiedChanged, this, &CMainFrame::updateTitle);
    updateTitle();
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        for (QWidget* w = now; w; w = w->parentWidget()) {
            if (w == leftView_) return setActiveView(leftView_);
            if (w == orbitView_) return setActiveView(orbitView_);
        }
    });
    // The idle pass runs whenever the event loop is about to wait for more events, and after
    // every command even when the loop never waits (a busy loop, a test driving events).
    idleTimer_.setSingleShot(true);
    idleTimer_.setInterval(0);
    connect(&idleTimer_, &QTimer::timeout, this, &CMainFrame::updateCommandUi);
    connect(&doc_, &COrbitDoc::modifiedChanged, this, &CMainFrame::requestIdleUpdate);
    connect(&doc_, &COrbitDoc::titleChanged, this, &CMainFrame::requestIdleUpdate);
    if (auto* dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &CMainFrame::updateCommandUi);
}

CMainFrame::~CMainFrame()
{
    config_.setLastPath(doc_.database().lastPath());
    config_.write();
}

QAction* CMainFrame::makeAction(int id, const char* name, const QString& text, const QString& prompt, int image)
{
    auto* a = new QAction(text, this);
    a->setObjectName(QString::fromLatin1(name));
    a->setData(id);
    // The string table's "status text\ntool tip" pairs.
    const qsizetype nl = prompt.indexOf(QLatin1Char('\n'));
    a->setStatusTip(nl < 0 ? prompt : prompt.left(nl));
    a->setToolTip(nl < 0 ? prompt : prompt.mid(nl + 1));
    if (image >= 0) a->setIcon(toolIcon(image));
    connect(a, &QAction::triggered, this, [this, id] { runCommand(id); });
    actions_.insert(id, a);
    return a;
}

void CMainFrame::createActions()
{
    using KS = QKeySequence;
    makeAction(ID_FILE_NEW, "actionFileNew", QStringLiteral("&New"), QStringLiteral("Create a new document\nNew"));
    makeAction(ID_FILE_OPEN, "actionFileOpen", QStringLiteral("&Open..."),
               QStringLiteral("Open an existing document\nOpen"), IMG_OPEN)
        ->setShortcut(KS(Qt::CTRL | Qt::Key_O));
    makeAction(ID_FILE_SAVE, "actionFileSave", QStringLiteral("&Save"),
               QStringLiteral("Save the active document\nSave"), IMG_SAVE)
        ->setShortcut(KS(Qt::CTRL | Qt::Key_S));
    makeAction(ID_FILE_SAVE_AS, "actionFileSaveAs", QStringLiteral("Save &As..."),
               QStringLiteral("Save the active document with a new name\nSave As"))
        ->setShortcut(KS(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    makeAction(ID_FILE_PRINT, "actionFilePrint", QStringLiteral("&Print..."),
               QStringLiteral("Print the active document\nPrint"), IMG_PRINT)
        ->setShortcut(KS(Qt::CTRL | Qt::Key_P));
    makeAction(ID_FILE_PRINT_PREVIEW, "actionFilePrintPreview", QStringLiteral("Print Pre&view"),
               QStringLiteral("Display full pages\nPrint Preview"));
    makeAction(ID_FILE_PRINT_SETUP, "actionFilePrintSetup", QStringLiteral("P&rint Setup..."),
               QStringLiteral("Change the printer and printing options\nPrint Setup"));
    makeAction(ID_APP_EXIT, "actionAppExit", QStringLiteral("E&xit"),
               QStringLiteral("Quit the application; prompts to save documents\nExit"))
        ->setShortcut(KS(Qt::CTRL | Qt::Key_Q));

    makeAction(ID_EDIT_FIND, "actionEditFind", QStringLiteral("&Find"), QStringLiteral("Find the specified text\nFind"))
        ->setShortcut(KS(Qt::CTRL | Qt::Key_F));
    makeAction(ID_EDIT_UNDO, "actionEditUndo", QStringLiteral("&Undo"), QStringLiteral("Undo the last action\nUndo"))
        ->setShortcut(KS(Qt::CTRL | Qt::Key_Z));
    makeAction(ID_EDIT_REDO, "actionEditRedo", QStringLiteral("&Redo"),
               QStringLiteral("Redo the last undone action\nRedo"))
        ->setShortcuts({KS(Qt::CTRL | Qt::Key_Y), KS(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    // Sort, moves, bulk edits, duplicates: the texts the list's own menu shows too.
    const auto toolAction = [this](const CommandText& c) {
        const QString text = QString::fromLatin1(c.text).section(QLatin1Char('\t'), 0, 0);
        return makeAction(c.id, ("actionTool" + std::to_string(c.id)).c_str(), text,
                          QString(text).remove(QLatin1Char('&')));
    };
    for (const CommandText& c : kSortCommands) toolAction(c);
    for (const CommandText& c : kRowCommands) toolAction(c);
    actions_.value(ID_MOVE_UP)->setShortcut(KS(Qt::CTRL | Qt::Key_Up));
    actions_.value(ID_MOVE_DOWN)->setShortcut(KS(Qt::CTRL | Qt::Key_Down));
    for (int l = 0; l < FAV_LISTS; ++l) {
        toolAction({ID_FAV_ADD_FIRST + l, "List"});
        toolAction({ID_FAV_REMOVE_FIRST + l, "List"});
    }
    makeAction(ID_FILE_EXPORT, "actionFileExport", QStringLiteral("&Export..."),
               QStringLiteral("Write the programs to a spreadsheet (CSV) or JSON file\nExport"));
    makeAction(ID_FILE_IMPORT, "actionFileImport", QStringLiteral("&Import..."),
               QStringLiteral("Take order, names and favourite lists from a spreadsheet (CSV)\nImport"));
    makeAction(ID_FILE_APPLY_REFERENCE, "actionFileApplyReference", QStringLiteral("Apply &Reference..."),
               QStringLiteral("Put the programs in the order of another database\nApply Reference"));
    makeAction(ID_FIND_DUPLICATES, "actionFindDuplicates", QStringLiteral("Find &Duplicates..."),
               QStringLiteral("Find programs that are there twice\nFind Duplicates"));
    makeAction(ID_EDIT_CUT, "actionEditCut", QStringLiteral("Cu&t"),
               QStringLiteral("Cut the selection and put it on the Clipboard\nCut"))
        ->setShortcuts({KS(Qt::CTRL | Qt::Key_X), KS(Qt::SHIFT | Qt::Key_Delete)});
    makeAction(ID_EDIT_COPY, "actionEditCopy", QStringLiteral("&Copy"),
               QStringLiteral("Copy the selection and put it on the Clipboard\nCopy"))
        ->setShortcuts({KS(Qt::CTRL | Qt::Key_C), KS(Qt::CTRL | Qt::Key_Insert)});
    makeAction(ID_EDIT_PASTE, "actionEditPaste", QStringLiteral("&Paste"),
               QStringLiteral("Insert Clipboard contents\nPaste"))
        ->setShortcuts({KS(Qt::CTRL | Qt::Key_V), KS(Qt::SHIFT | Qt::Key_Insert)});
    makeAction(ID_PROGRAM_DELETE, "actionDelete", QStringLiteral("&Delete"),
               QStringLiteral("Delete the selected programs\nDelete"), IMG_DELETE)
        ->setShortcut(KS(Qt::Key_Delete));

    makeAction(ID_VIEW_TOOLBAR, "actionViewToolbar", QStringLiteral("&Toolbar"),
               QStringLiteral("Show or hide the toolbar\nToggle ToolBar"))
        ->setCheckable(true);
    makeAction(ID_VIEW_STATUS_BAR, "actionViewStatusBar", QStringLiteral("&Status Bar"),
               QStringLiteral("Show or hide the status bar\nToggle StatusBar"))
        ->setCheckable(true);
    addAction(makeAction(ID_NEXT_PANE, "actionNextPane", QStringLiteral("Next Pane"),
                         QStringLiteral("Switch to the next window pane\nNext Pane")));
    actions_.value(ID_NEXT_PANE)->setShortcut(KS(Qt::Key_F6));
    addAction(makeAction(ID_PREV_PANE, "actionPrevPane", QStringLiteral("Previous Pane"),
                         QStringLiteral("Switch back to the previous window pane\nPrevious Pane")));
    actions_.value(ID_PREV_PANE)->setShortcut(KS(Qt::SHIFT | Qt::Key_F6));

    makeAction(ID_SHOW_TV, "actionShowTv", QStringLiteral("TV programs only"),
               QStringLiteral("Show TV programs only\nTV programs only"), IMG_TV)
        ->setCheckable(true);
    makeAction(ID_SHOW_RADIO, "actionShowRadio", QStringLiteral("Radio programs only"),
               QStringLiteral("Show radio programs only\nRadio programs only"), IMG_RADIO)
        ->setCheckable(true);
    makeAction(ID_SHOW_TV_RADIO, "actionShowTvRadio", QStringLiteral("TV and radio programs"),
               QStringLiteral("Show TV and radio programs\nTV and radio programs"), IMG_TV_RADIO)
        ->setCheckable(true);

    makeAction(ID_STB_DOWNLOAD, "actionDownload", QStringLiteral("&Download database"),
               QStringLiteral("Load database from Set Top Box to PC."), IMG_DOWNLOAD);
    makeAction(ID_STB_UPLOAD, "actionUpload", QStringLiteral("&Upload database"),
               QStringLiteral("Load database from PC to Set Top Box."), IMG_UPLOAD);
    makeAction(ID_STB_UPGRADE, "actionUpgrade", QStringLiteral("Software &upgrade"),
               QStringLiteral("Soft Upgrade from PC DLP File."), IMG_UPGRADE);
    makeAction(ID_TOOLBAR_PORT, "actionToolbarPort", QStringLiteral("Port settings"),
               QStringLiteral("Config RS232 Port."), IMG_PORT);
    makeAction(ID_SETTINGS_PORT, "actionSettingsPort", QStringLiteral("&Port"), QStringLiteral("Config RS232 Port."));
    makeAction(ID_SETTINGS_OPTIONS, "actionSettingsOptions", QStringLiteral("&Options"),
               QStringLiteral("Change the program's options\nOptions"));
    makeAction(ID_APP_ABOUT, "actionAppAbout", QStringLiteral("&About Satorix Editor"),
               QStringLiteral("Display program information, version number and copyright\nAbout"), IMG_ABOUT);

    for (int i = 0; i < RecentFileList::SIZE; ++i) {
        QAction* a = makeAction(ID_FILE_MRU_FILE1 + i, "", QString(), QStringLiteral("Open this document"));
        a->setObjectName(QStringLiteral("actionRecentFile%1").arg(i + 1));
        a->setVisible(false);
        recentActions_.push_back(a);
    }
    recentPlaceholder_ = new QAction(QStringLiteral("Recent File"), this);
    recentPlaceholder_->setObjectName(QStringLiteral("actionRecentFile"));
    recentPlaceholder_->setEnabled(false);
}

void CMainFrame::createMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("menuFile"));
    for (int id : {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS}) file->addAction(actions_.value(id));
    file->addSeparator();
    for (int id : {ID_FILE_EXPORT, ID_FILE_IMPORT, ID_FILE_APPLY_REFERENCE}) file->addAction(actions_.value(id));
    file->addSeparator();
    for (int id : {ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_FILE_PRINT_SETUP}) file->addAction(actions_.value(id));
    file->addSeparator();
    file->addAction(recentPlaceholder_);
    for (QAction* a : recentActions_) file->addAction(a);
    file->addSeparator();
    file->addAction(actions_.value(ID_APP_EXIT));

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("menuEdit"));
    edit->addAction(actions_.value(ID_EDIT_FIND));
    edit->addAction(actions_.value(ID_EDIT_UNDO));
    edit->addAction(actions_.value(ID_EDIT_REDO));
    edit->addSeparator();
    for (int id : {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_PROGRAM_DELETE}) edit->addAction(actions_.value(id));
    edit->addSeparator();
    QMenu* sort = edit->addMenu(QString::fromLatin1(SORT_MENU));
    sort->setObjectName(QStringLiteral("menuEditSort"));
    for (const CommandText& c : kSortCommands) sort->addAction(actions_.value(c.id));
    edit->addAction(actions_.value(ID_FIND_DUPLICATES));
    edit->addSeparator();
    for (const CommandText& c : kRowCommands) edit->addAction(actions_.value(c.id));
    QMenu* addTo = edit->addMenu(QString::fromLatin1(ADD_TO_LIST_MENU));
    addTo->setObjectName(QStringLiteral("menuEditAddToList"));
    QMenu* removeFrom = edit->addMenu(QString::fromLatin1(REMOVE_FROM_LIST_MENU));
    removeFrom->setObjectName(QStringLiteral("menuEditRemoveFromList"));
    for (int l = 0; l < FAV_LISTS; ++l) {
        addTo->addAction(actions_.value(ID_FAV_ADD_FIRST + l));
        removeFrom->addAction(actions_.value(ID_FAV_REMOVE_FIRST + l));
    }

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("menuView"));
    view->addAction(actions_.value(ID_VIEW_TOOLBAR));
    view->addAction(actions_.value(ID_VIEW_STATUS_BAR));

    QMenu* settings = menuBar()->addMenu(QStringLiteral("&Settings"));
    settings->setObjectName(QStringLiteral("menuSettings"));
    settings->addAction(actions_.value(ID_SETTINGS_PORT));
    settings->addAction(actions_.value(ID_SETTINGS_OPTIONS));

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("menuHelp"));
    help->addAction(actions_.value(ID_APP_ABOUT));
}

void CMainFrame::createToolBar()
{
    toolBar_ = addToolBar(QStringLiteral("Standard"));
    toolBar_->setObjectName(QStringLiteral("toolBar"));
    toolBar_->setIconSize(QSize(TOOLBAR_IMAGE, TOOLBAR_IMAGE));
    toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolBar_->setMovable(true);
    toolBar_->setFloatable(true);
    toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
    const int order[] = {ID_FILE_OPEN,
                         ID_FILE_SAVE,
                         0,
                         ID_FILE_PRINT,
                         0,
                         ID_PROGRAM_DELETE,
                         0,
                         ID_SHOW_TV,
                         ID_SHOW_RADIO,
                         ID_SHOW_TV_RADIO,
                         0,
                         ID_STB_DOWNLOAD,
                         ID_STB_UPLOAD,
                         ID_STB_UPGRADE,
                         ID_TOOLBAR_PORT,
                         0,
                         ID_APP_ABOUT};
    for (int id : order) {
        if (id == 0)
            toolBar_->addSeparator();
        else
            toolBar_->addAction(actions_.value(id));
    }
}

void CMainFrame::createStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("statusBar"));
    struct Pane {
        int id;
        const char* name;
        QString text;
    };
    // No caps, num or scroll lock panes: the lock keys' state is not known here, so they would
    // only ever stand blank.
    const Pane panes[] = {
        {ID_INDICATOR_OVR, "paneOvr", QStringLiteral("OVR")},
        {ID_INDICATOR_COUNTS, "paneCounts", QString::fromUtf8(texts::COUNTS_INITIAL)},
    };
    for (const Pane& p : panes) {
        auto* label = new QLabel(bar);
        label->setObjectName(QString::fromLatin1(p.name));
        label->setAlignment(Qt::AlignCenter);
        label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        // An indicator keeps its width when it goes blank, as the old panes did.
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(p.text) + 12);
        label->setText(p.id == ID_INDICATOR_COUNTS ? p.text : QString());
        bar->addPermanentWidget(label);
        panes_.insert(p.id, label);
        paneTexts_.insert(p.id, p.text);
    }
    // Started by scripts/run with stbsim behind COM1: nobody should take it for a real receiver.
    if (qEnvironmentVariableIntValue("SATORIX_SIMULATED_COM1") != 0) {
        auto* note = new QLabel(QStringLiteral("COM1: simulated receiver"), bar);
        note->setObjectName(QStringLiteral("paneSimulatedReceiver"));
        note->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        bar->insertPermanentWidget(0, note);
    }
    bar->showMessage(QStringLiteral("Ready"));
}

void CMainFrame::createClient()
{
    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->setObjectName(QStringLiteral("splitter"));
    splitter_->setChildrenCollapsible(false);
    leftView_ = new CLeftView(doc_, splitter_);
    orbitView_ = new COrbitView(doc_, splitter_);
    leftView_->setMinimumSize(30, 30);
    orbitView_->setMinimumSize(30, 30);
    splitter_->addWidget(leftView_);
    splitter_->addWidget(orbitView_);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({INITIAL_PANE_SIZE, width() - INITIAL_PANE_SIZE});
    setCentralWidget(splitter_);
    activeView_ = leftView_;
}

void CMainFrame::registerCommands()
{
    commands_
        .on(
            ID_SHOW_TV_RADIO, [this] { doc_.browser().setFilter(SCOPE_TV_RADIO); },
            [this](CommandUi& ui) { updateFilterButton(SCOPE_TV_RADIO, ui); })
        .on(
            ID_SHOW_TV, [this] { doc_.browser().setFilter(SCOPE_TV); },
            [this](CommandUi& ui) { updateFilterButton(SCOPE_TV, ui); })
        .on(
            ID_SHOW_RADIO, [this] { doc_.browser().setFilter(SCOPE_RADIO); },
            [this](CommandUi& ui) { updateFilterButton(SCOPE_RADIO, ui); })
        .on(
            ID_VIEW_TOOLBAR, [this] { toolBar_->setVisible(!toolBar_->isVisible()); },
            [this](CommandUi& ui) { ui.checked = toolBar_->isVisible(); })
        .on(
            ID_VIEW_STATUS_BAR, [this] { statusBar()->setVisible(!statusBar()->isVisible()); },
            [this](CommandUi& ui) { ui.checked = statusBar()->isVisible(); })
        .on(ID_EDIT_FIND, [this] { orbitView_->startFind(); })
        .on(ID_NEXT_PANE, [this] { switchPane(); })
        .on(ID_PREV_PANE, [this] { switchPane(); })
        .onUpdate(ID_INDICATOR_OVR, [this](CommandUi& ui) { ui.enabled = doc_.isModified(); })
        .onUpdate(ID_INDICATOR_COUNTS, [this](CommandUi& ui) {
            QLabel* counts = panes_.value(ID_INDICATOR_COUNTS);
            if (doc_.fileOpened() || doc_.databaseDownloaded()) {
                int tv = 0;
                int all = 0;
                doc_.database().getCount(DBT_TV_PROGRAMS, tv);
                doc_.database().getCount(DBT_PROGRAM, all);
                ui.text = QString::fromUtf8(texts::COUNTS).arg(tv).arg(all - tv);
                fitPane(counts, *ui.text, 100);
            } else {
                ui.text = QString::fromUtf8(texts::FILE_NOT_LOADED);
                fitPane(counts, *ui.text, 70);
            }
        });
}

void CMainFrame::updateFilterButton(std::uint32_t bit, CommandUi& ui)
{
    if (!orbitView_) {
        ui.enabled = false;
        return;
    }
    const std::uint32_t scope = doc_.browser().scope();
    ui.checked = (scope & bit) != 0;
    if (scope != seenScope_) {
        seenScope_ = scope;
        doc_.updateAllViews(nullptr);
    }
}

bool CMainFrame::runCommand(int id)
{
    const bool handled = router_.run(id);
    requestIdleUpdate();
    return handled;
}

void CMainFrame::requestIdleUpdate()
{
    if (!idleTimer_.isActive()) idleTimer_.start();
}

void CMainFrame::updateCommandUi()
{
    // An update may refill a view, which may spin the event loop; one pass at a time.
    if (updating_) return;
    updating_ = true;
    if (recent_.revision() != recentRevision_) refreshRecentFiles();
    for (auto it = actions_.cbegin(); it != actions_.cend(); ++it) {
        const CommandUi ui = router_.state(it.key());
        QAction* a = it.value();
        a->setEnabled(ui.enabled);
        if (ui.checked) {
            a->setCheckable(true);
            a->setChecked(*ui.checked);
        }
        if (ui.text) a->setText(*ui.text);
    }
    for (auto it = panes_.cbegin(); it != panes_.cend(); ++it) {
        const CommandUi ui = router_.state(it.key());
        const QString text = ui.enabled ? ui.text.value_or(paneTexts_.value(it.key())) : QString();
        if (it.value()->text() != text) it.value()->setText(text);
    }
    updating_ = false;
}

void CMainFrame::setActiveView(DocumentView* view)
{
    if (view) activeView_ = view;
}

void CMainFrame::switchPane()
{
    DocumentView* next = activeView_ == leftView_ ? static_cast<DocumentView*>(orbitView_) : leftView_;
    setActiveView(next);
    next->widget()->setFocus(Qt::ShortcutFocusReason);
}

void CMainFrame::refreshRecentFiles()
{
    recentRevision_ = recent_.revision();
    const QStringList& files = recent_.files();
    for (int i = 0; i < static_cast<int>(recentActions_.size()); ++i) {
        QAction* a = recentActions_[static_cast<std::size_t>(i)];
        if (i < files.size()) {
            QString shown = files.at(i);
            shown.replace(QLatin1Char('&'), QLatin1String("&&"));
            a->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
            a->setVisible(true);
        } else {
            a->setVisible(false);
        }
    }
    recentPlaceholder_->setVisible(files.isEmpty());
}

void CMainFrame::updateTitle()
{
    const QString title = doc_.title();
    const QString app = QString::fromUtf8(texts::APP_TITLE);
    // Unsaved changes show in the title as on any Linux desktop, besides "OVR".
    const QString mark = doc_.isModified() ? QStringLiteral("*") : QString();
    setWindowTitle(title.isEmpty() ? app + mark : title + mark + QStringLiteral(" - ") + app);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!doc_.saveModified()) {
        event->ignore();
        return;
    }
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls() && !event->mimeData()->urls().isEmpty() &&
        event->mimeData()->urls().constFirst().isLocalFile())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.constFirst().isLocalFile()) return;
    event->acceptProposedAction();
    doc_.openDroppedFile(urls.constFirst().toLocalFile());
}

} // namespace satorix
