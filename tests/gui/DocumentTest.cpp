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
        EXPECT_EQ(parts.extension, c[1]) << c[0];
        EXPECT_EQ(parts.fileName, c[2]) << c[0];
        EXPECT_EQ(parts.title, c[3]) << c[0];
    }
}

class DocumentTest : public ::testing::Test, public AppFixture {};

TEST_F(DocumentTest, FreshStartHasNothingToSaveAndNoPrinting)
{
    ASSERT_TRUE(start());
    EXPECT_EQ(frame().windowTitle(), "Channel - Satorix for HD");
    EXPECT_EQ(doc().fileName(), "Channel.si");
    EXPECT_FALSE(doc().fileOpened());
    EXPECT_FALSE(doc().isModified());
    for (int id : {ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_FILE_PRINT_SETUP, ID_FILE_NEW}) EXPECT_FALSE(enabled(id)) << id;

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
    EXPECT_EQ(req.initialName, "*.si");
    EXPECT_EQ(req.nameFilters, QStringList({"Channel data (*.si)", "All Files (*.*)"}));
    EXPECT_TRUE(req.mustExist);

    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(frame().windowTitle(), "My.Channels - Satorix for HD");
    EXPECT_EQ(doc().fileName(), "My.Channels.si");
    EXPECT_EQ(doc().path(), path);
    EXPECT_TRUE(doc().fileOpened());
    // The document asked for a rebuild and the tree has done it.
    EXPECT_FALSE(app().browser().rebuildRequest);
    EXPECT_EQ(frame().leftView()->rebuildCount(), 1);
    EXPECT_EQ(app().recentFiles().files().value(0), QFileInfo(path).absoluteFilePath());
    frame().updateCommandUi();
    EXPECT_TRUE(frame().action(ID_FILE_MRU_FILE1)->text().endsWith(path));
}

TEST_F(DocumentTest, SaveAfterDownloadAsksForNameOnce)
{
    ASSERT_TRUE(start());
    ASSERT_EQ(app().database().load(writeSample(file("dl-source.si"))), 0);
    doc().acceptDownloadedDatabase();
    EXPECT_EQ(frame().windowTitle(), "Channel.si* - Satorix for HD");
    EXPECT_TRUE(doc().isModified());
    EXPECT_EQ(paneText(ID_INDICATOR_OVR), "OVR");

    prompter.fileNames.push_back(qfile("saved.si"));
    ASSERT_TRUE(trigger(ID_FILE_SAVE));
    ASSERT_EQ(prompter.saveRequests.size(), 1u);
    EXPECT_EQ(prompter.saveRequests[0].initialName, "*.si");
    EXPECT_EQ(QFileInfo(qfile("saved.si")).size(), IMAGE_BYTES);
    EXPECT_EQ(frame().windowTitle(), "saved - Satorix for HD");
    EXPECT_FALSE(doc().databaseDownloaded());
    EXPECT_FALSE(doc().isModified());
    EXPECT_EQ(paneText(ID_INDICATOR_OVR), "");

    // From now on Save writes to the chosen path without asking.
    std::filesystem::remove(file("saved.si"));
    doc().setModifiedFlag(true);
    ASSERT_TRUE(trigger(ID_FILE_SAVE));
    EXPECT_EQ(prompter.saveRequests.size(), 1u);
    EXPECT_EQ(QFileInfo(qfile("saved.si")).size(), IMAGE_BYTES);
    EXPECT_FALSE(doc().isModified());
}

TEST_F(DocumentTest, SaveFailureKeepsModifiedAndCancelledSaveAsChangesNothing)
{
    ASSERT_TRUE(start(sample("a.si")));
    doc().setModifiedFlag(true);
    prompter.fileNames.push_back(qfile("no-such-dir/b.si"));
    ASSERT_TRUE(trigger(ID_FILE_SAVE_AS));
    EXPECT_EQ(prompter.texts(), QStringList({"Error: Save failed!"}));
    EXPECT_EQ(frame().windowTitle(), "b* - Satorix for HD"); // names are taken before saving
    EXPECT_TRUE(doc().isModified());

    prompter.clear();
    ASSERT_TRUE(trigger(ID_FILE_SAVE_AS)); // no name queued: the dialog is cancelled
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(doc().fileName(), "b.si");
    EXPECT_TRUE(doc().isModified());
}

TEST_F(DocumentTest, CommandLineFileOpensOrStartsAnEmptyEditor)
{
    ASSERT_TRUE(start(sample("cmd.line.si")));
    EXPECT_EQ(frame().windowTitle(), "cmd.line - Satorix for HD");
    EXPECT_TRUE(doc().fileOpened());
    EXPECT_FALSE(doc().isModified());
    stop();

    // A damaged file from a file manager: the boxes, then the editor without a database.
    EXPECT_TRUE(start(qfile("gone.si")));
    EXPECT_EQ(prompter.texts(), QStringList({"Open1", "Error: Open failed"}));
    EXPECT_TRUE(frame().isVisible());
    EXPECT_FALSE(doc().fileOpened());
}

TEST_F(DocumentTest, OpenLastEdited)
{
    // Missing file: the box, then an empty, untitled start.
    AppConfig config;
    config.setDefaults();
    config.setOpenLastEdited(true);
    config.setLastPath(file("vanished.si"));
    config.write();
    ASSERT_TRUE(start());
    EXPECT_EQ(prompter.texts(), QStringList({"Open1", "Open last edited failed"}));
    EXPECT_EQ(frame().windowTitle(), "Untitled - Satorix for HD");
    EXPECT_EQ(paneText(ID_INDICATOR_COUNTS), "File not loaded!");
    stop();

    // A file loaded in one run is opened by the next.
    const QString path = sample("last.si");
    ASSERT_TRUE(start(path));
    stop();
    prompter.clear();
    ASSERT_TRUE(start());
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(doc().path(), path);
    EXPECT_EQ(frame().windowTitle(), "last - Satorix for HD");
    EXPECT_EQ(frame().leftView()->rebuildCount(), 1);
}

} // namespace
} // namespace satorix::test
