// Title, flags and boxes of the document's file commands.
#include <QAction>
#include <QFileInfo>
#include <filesystem>
#include <gtest/gtest.h>

#include "app/AppConfig.h"
#include "app/COrbitDoc.h"
#include "db/ChannelDatabase.h"
#include "gui/BrowserState.h"
#include "gui/CommandIds.h"
#include "tests/gui/GuiTestSupport.h"
#include "views/CLeftView.h"

namespace satorix::test {
namespace {

constexpr std::int64_t IMAGE_BYTES = 721968;

TEST(PathSplitTest, DotInDirectoryAndLeadingDot)
{
    // path, extension, file name, title
    const char* cases[][4] = {{"/a.b/name", "b/name", "a.b/name", "a"},
                              {"/home/u/my.db.si", "si", "my.db.si", "my"},
                              {"/x/.hidden.si", "si", ".hidden.si", ""},
                              {"/x/plain", "", "plain", "plain"}};
    for (const auto& c : cases) {
        const PathParts parts = COrbitDoc::splitPath(QString::fromLatin1(c[0]));
        EXPECT_EQ(QStringList({parts.extension, parts.fileName, parts.title}), QStringList({c[1], c[2], c[3]})) << c[0];
    }
}

class DocumentTest : public ::testing::Test, public AppFixture {};

TEST_F(DocumentTest, FreshStartHasNothingToSaveAndNoPrinting)
{
    ASSERT_TRUE(start());
    EXPECT_EQ(std::tuple(frame().windowTitle(), doc().fileName(), doc().fileOpened(), doc().isModified()),
              std::tuple(QString("Channel - Satorix for HD"), QString("Channel.si"), false, false));
    for (int id : {ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_FILE_PRINT_SETUP, ID_FILE_NEW})
        EXPECT_FALSE(enabled(id)) << id;

    // Save falls through to Save As, which refuses before any dialog.
    ASSERT_TRUE(trigger(ID_FILE_SAVE));
    ASSERT_TRUE(trigger(ID_FILE_SAVE_AS));
    EXPECT_EQ(prompter.texts(), QStringList({"Nothing to save!", "Nothing to save!"}));
    EXPECT_TRUE(prompter.saveRequests.empty());
}

TEST_F(DocumentTest, OpenSetsNamesFlagsAndRecentFile)
{
    const QString path = sample("My.Channels.si");
    ASSERT_TRUE(start());
    prompter.fileNames.push_back(path);
    ASSERT_TRUE(trigger(ID_FILE_OPEN));

    ASSERT_EQ(prompter.openRequests.size(), 1u);
    const FileDialogRequest& req = prompter.openRequests[0];
    EXPECT_EQ(std::tuple(req.initialName, req.nameFilters, req.mustExist),
              std::tuple(QString("*.si"), QStringList({"Channel data (*.si)", "All Files (*.*)"}), true));
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(QStringList({frame().windowTitle(), doc().fileName(), doc().path()}),
              QStringList({"My.Channels - Satorix for HD", "My.Channels.si", path}));
    // The document asked for a rebuild and the tree has done it.
    EXPECT_EQ(std::tuple(doc().fileOpened(), app().browser().rebuildRequest, frame().leftView()->rebuildCount()),
              std::tuple(true, false, 1));
    EXPECT_EQ(app().recentFiles().files().value(0), QFileInfo(path).absoluteFilePath());
    frame().updateCommandUi();
    EXPECT_TRUE(frame().action(ID_FILE_MRU_FILE1)->text().endsWith(path));
}

TEST_F(DocumentTest, SaveAfterDownloadAsksForNameOnce)
{
    ASSERT_TRUE(start());
    ASSERT_EQ(app().database().load(writeSample(file("dl-source.si"))), 0);
    doc().acceptDownloadedDatabase();
    EXPECT_EQ(std::tuple(frame().windowTitle(), doc().isModified(), paneText(ID_INDICATOR_OVR)),
              std::tuple(QString("Channel.si* - Satorix for HD"), true, QString("OVR")));
    prompter.fileNames.push_back(qfile("saved.si"));
    ASSERT_TRUE(trigger(ID_FILE_SAVE));
    ASSERT_EQ(prompter.saveRequests.size(), 1u);
    EXPECT_EQ(prompter.saveRequests[0].initialName, "*.si");
    EXPECT_EQ(std::tuple(QFileInfo(qfile("saved.si")).size(), frame().windowTitle(), doc().databaseDownloaded(),
                         doc().isModified(), paneText(ID_INDICATOR_OVR)),
              std::tuple(IMAGE_BYTES, QString("saved - Satorix for HD"), false, false, QString()));

    // From now on Save writes to the chosen path without asking.
    std::filesystem::remove(file("saved.si"));
    doc().setModifiedFlag(true);
    ASSERT_TRUE(trigger(ID_FILE_SAVE));
    EXPECT_EQ(std::tuple(prompter.saveRequests.size(), QFileInfo(qfile("saved.si")).size(), doc().isModified()),
              std::tuple(std::size_t(1), IMAGE_BYTES, false));
}

TEST_F(DocumentTest, SaveFailureKeepsModifiedAndCancelledSaveAsChangesNothing)
{
    ASSERT_TRUE(start(sample("a.si")));
    doc().setModifiedFlag(true);
    prompter.fileNames.push_back(qfile("no-such-dir/b.si"));
    ASSERT_TRUE(trigger(ID_FILE_SAVE_AS));
    EXPECT_EQ(frame().windowTitle(), "b* - Satorix for HD"); // names are taken before saving
    ASSERT_TRUE(trigger(ID_FILE_SAVE_AS));                   // no name queued: the dialog is cancelled
    EXPECT_EQ(prompter.texts(), QStringList({"Error: Save failed!"}));
    EXPECT_EQ(std::pair(doc().fileName(), doc().isModified()), std::pair(QString("b.si"), true));
}

TEST_F(DocumentTest, CommandLineFileOrTheLastEditedOneOpens)
{
    ASSERT_TRUE(start(sample("cmd.line.si")));
    EXPECT_EQ(std::tuple(frame().windowTitle(), doc().fileOpened(), doc().isModified()),
              std::tuple(QString("cmd.line - Satorix for HD"), true, false));
    stop();
    // A damaged file from a file manager: the boxes, then the editor without a database.
    EXPECT_TRUE(start(qfile("gone.si")));
    EXPECT_EQ(prompter.texts(), QStringList({"Open1", "Error: Open failed"}));
    EXPECT_EQ(std::pair(frame().isVisible(), doc().fileOpened()), std::pair(true, false));
    stop();
    prompter.clear();

    // Missing file: the box, then an empty, untitled start.
    AppConfig config;
    config.setDefaults();
    config.setOpenLastEdited(true);
    config.setLastPath(file("vanished.si"));
    config.write();
    ASSERT_TRUE(start());
    EXPECT_EQ(prompter.texts(), QStringList({"Open1", "Open last edited failed"}));
    EXPECT_EQ(QStringList({frame().windowTitle(), paneText(ID_INDICATOR_COUNTS)}),
              QStringList({"Untitled - Satorix for HD", "File not loaded!"}));
    stop();

    // A file loaded in one run is opened by the next.
    const QString path = sample("last.si");
    ASSERT_TRUE(start(path));
    stop();
    prompter.clear();
    ASSERT_TRUE(start());
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(std::tuple(doc().path(), frame().windowTitle(), frame().leftView()->rebuildCount()),
              std::tuple(path, QString("last - Satorix for HD"), 1));
}

} // namespace
} // namespace satorix::test
