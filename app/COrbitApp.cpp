#include "app/COrbitApp.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPixmap>
#include <QWindow>

#include "app/CMainFrame.h"
#include "app/UserFolders.h"
#include "app/WindowLayout.h"
#include "dialogs/AboutDialog.h"
#include "dialogs/EditDialogSet.h"
#include "gui/CommandIds.h"
#include "gui/Prompter.h"
#include "views/CLeftView.h"
#include "views/COrbitView.h"

// The pictures live in this static library; without an explicit reference the linker would drop them.
static void initSatorixResources() { Q_INIT_RESOURCE(satorix); }

namespace satorix {

namespace {

PromptIcon promptIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Exclamation: return PromptIcon::Exclamation;
    case MessageIcon::Stop: return PromptIcon::Stop;
    case MessageIcon::Information: return PromptIcon::Information;
    case MessageIcon::Question: return PromptIcon::Question;
    case MessageIcon::None: break;
    }
    return PromptIcon::None;
}

} // namespace

COrbitApp::COrbitApp(Prompter& prompter, AppOptions options) : prompter_(prompter), options_(std::move(options))
{
    initSatorixResources();
    // Never the current directory: a start from the desktop menu would drop it into the home folder.
    db_.setListingPath(QFile::encodeName(userFolders::listingFile()).toStdString());
    db_.setNotifier([this](const std::string& text, MessageIcon icon) {
        prompter_.message(QString::fromStdString(text), promptIcon(icon));
    });

    commands_.on(ID_APP_ABOUT, [this] { onAppAbout(); })
        .on(ID_APP_EXIT,
            [this] {
                if (frame_) frame_->close();
            })
        .onUpdate(ID_FILE_NEW, [](CommandUi& ui) { ui.enabled = false; });
    for (int i = 0; i < RecentFileList::SIZE; ++i) commands_.on(ID_FILE_MRU_FILE1 + i, [this, i] { onRecentFile(i); });
}

COrbitApp::~COrbitApp() { exitInstance(); }

bool COrbitApp::initInstance(const QString& fileToOpen)
{
    recent_.load();
    doc_ = std::make_unique<COrbitDoc>(DocServices{db_, config_, browser_, prompter_, recent_}, options_.registration);
    frame_ = std::make_unique<CMainFrame>(*doc_, config_, recent_, this, FrameOptions{options_.showSplash});
    dialogs_ = std::make_unique<EditDialogSet>(db_, browser_, prompter_);
    frame_->leftView()->setEditDialogs(dialogs_.get());
    frame_->orbitView()->setEditDialogs(dialogs_.get());
    if (fileToOpen.isEmpty()) {
        doc_->onNewDocument();
    } else if (doc_->onOpenDocument(fileToOpen)) {
        doc_->setTitle(QFileInfo(fileToOpen).completeBaseName());
        recent_.add(fileToOpen);
    } else {
        // A damaged file opened from a file manager must not make the program vanish.
        doc_->onNewDocument();
    }
    doc_->sendInitialUpdate();
    if (options_.rememberLayout) WindowLayout::restore(*frame_);
    frame_->setAcceptDrops(true);
    frame_->show();
    return true;
}

void COrbitApp::exitInstance()
{
    if (frame_ && options_.rememberLayout) WindowLayout::save(*frame_);
    frame_.reset();
    doc_.reset();
    db_.clipboard().clear();
}

bool COrbitApp::openDocumentFile(const QString& path)
{
    if (!doc_ || !doc_->saveModified()) return false;
    return openAfterAsking(path);
}

bool COrbitApp::openAfterAsking(const QString& path)
{
    if (!doc_->onOpenDocument(path)) return false;
    doc_->setTitle(QFileInfo(path).completeBaseName());
    recent_.add(path);
    doc_->sendInitialUpdate();
    return true;
}

void COrbitApp::onRecentFile(int index)
{
    if (index < 0 || index >= recent_.files().size()) return;
    const QString path = recent_.files().at(index);
    if (!doc_ || !doc_->saveModified()) return;
    // A file that can no longer be opened leaves the list.
    if (!openAfterAsking(path)) recent_.remove(index);
}

void COrbitApp::onAppAbout()
{
    AboutDialog about(&prompter_, frame_.get());
    about.exec();
}

bool COrbitApp::saveScreenshot(const QString& path)
{
    if (!frame_) return false;
    frame_->show();
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 3000 && !(frame_->windowHandle() && frame_->windowHandle()->isExposed()))
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    frame_->updateCommandUi();
    QApplication::processEvents();
    return frame_->grab().save(path, "PNG");
}

} // namespace satorix
