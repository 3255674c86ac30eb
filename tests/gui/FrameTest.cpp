// The main frame and the document: layout, filter, the file commands, drops, closing and recent files.

#include "gui/BrowserState.h"
#include "tests/gui/GuiTestSupport.h"
#include "views/CLeftView.h"
#include "views/COrbitView.h"

namespace satorix::test {
namespace {

class FrameTest : public ::testing::Test, public AppFixture {
protected:
    // Drops files on the frame; true when the first one is then the open document.
    bool drop(const QStringList& paths)
    {
        QMimeData data;
        for (const QString& p : paths) data.setUrls(data.urls() << QUrl::fromLocalFile(p));
        QDragEnterEvent enter(frame().rect().center(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&frame(), &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent dropped(frame().rect().center(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&frame(), &dropped);
        return doc().path() == paths.value(0);
    }
    void click(int id) { QTest::mouseClick(frame().toolBar()->widgetForAction(frame().action(id)), Qt::LeftButton); }
};

TEST_F(FrameTest, FilterButtonsRefillTheListOnceWhenIdle)
{
    ASSERT_TRUE(start(sample("f.si")));
    ASSERT_TRUE(waitFor([&] { return frame().action(ID_SHOW_TV_RADIO)->isChecked(); }));
    COrbitView* list = frame().orbitView();
    const int fills = list->fillCount();

    // A filter button: the new scope at once, one refill on the next idle pass.
    const auto show = [&](int id, std::uint32_t scope, int refills, const QList<bool>& checked) {
        click(id);
        EXPECT_EQ(std::pair(app().browser().scope(), list->fillCount()), std::pair(scope, fills + refills - 1));
        ASSERT_TRUE(waitFor([&] { return list->fillCount() == fills + refills; }));
        QList<bool> on;
        for (int b : {ID_SHOW_TV_RADIO, ID_SHOW_TV, ID_SHOW_RADIO}) on << frame().action(b)->isChecked();
        EXPECT_EQ(on, checked);
    };
    show(ID_SHOW_TV, SCOPE_TV | SCOPE_PROGRAMS, 1, {false, true, false});

    // The same filter again: the idle pass refills nothing.
    click(ID_SHOW_TV);
    frame().updateCommandUi();
    EXPECT_EQ(list->fillCount(), fills + 1);

    // Other scope bits survive the filter.
    app().browser().setScope(SCOPE_TV | scopeFav(2));
    frame().updateCommandUi();
    EXPECT_EQ(list->fillCount(), fills + 2);
    show(ID_SHOW_RADIO, SCOPE_RADIO | scopeFav(2), 3, {false, false, true});
}

// Open, drop and Exit ask alike about unsaved changes; only a save that happened lets them go on.
TEST_F(FrameTest, UnsavedChangesQuestionForEveryCommandAndAnswer)
{
    const QString other = sample("other.si", 2);
    enum Save { Works, Fails, NameCancelled };
    // The answer, how the save goes, whether the command goes on, the box after the question.
    const std::tuple<PromptAnswer, Save, bool, const char*> answers[] = {
        {PromptAnswer::Cancel, Works, false, ""},      {PromptAnswer::No, Works, true, ""},
        {PromptAnswer::Yes, Works, true, ""},          {PromptAnswer::Yes, Fails, false, "Error: Save failed!"},
        {PromptAnswer::Yes, NameCancelled, false, ""},
    };
    const QStringList dropped = {other, qfile("keep.si")}; // the first one opens
    const std::pair<const char*, std::function<bool()>> commands[] = {
        {"open", [&] { return trigger(ID_FILE_OPEN) && doc().path() == other; }},
        {"drop", [&] { return drop(dropped); }},
        {"exit", [&] { return frame().close(); }}};
    for (const auto& [name, run] : commands) {
        for (const auto& [answer, save, goesOn, message] : answers) {
            SCOPED_TRACE(testing::Message() << name << " answer " << int(answer) << " save " << save);
            ASSERT_TRUE(start(sample("keep.si")));
            doc().setModifiedFlag(true);
            std::filesystem::remove(file("keep.si"));
            if (save == Fails) std::filesystem::create_directory(file("keep.si"));
            if (save == NameCancelled) doc().setDatabaseDownloaded(true); // Save asks for a name
            prompter.fileNames = {save == NameCancelled ? QString() : other, other};
            prompter.clear();
            prompter.answers.push_back(answer);
            EXPECT_EQ(run(), goesOn);
            ASSERT_FALSE(prompter.messages.empty());
            EXPECT_EQ(std::tuple(prompter.messages[0].text, prompter.messages[0].buttons, prompter.messages[0].icon,
                                 prompter.texts().value(1)),
                      std::tuple(QString("keep.si not saved!\nSave it now?"), PromptButtons::YesNoCancel,
                                 PromptIcon::Question, QString(message)));
            EXPECT_EQ(QFileInfo(qfile("keep.si")).isFile(), answer == PromptAnswer::Yes && save == Works);
            if (!goesOn || name != std::string("exit")) {
                EXPECT_EQ(std::tuple(doc().isModified(), frame().isVisible(), goesOn || prompter.openRequests.empty()),
                          std::tuple(!goesOn, true, true));
            }
            stop();
            std::filesystem::remove_all(file("keep.si"));
        }
    }

    // Unmodified, Exit asks nothing; with nothing to save, Yes cannot save and Exit goes on.
    ASSERT_TRUE(start(other));
    prompter.clear();
    EXPECT_TRUE(frame().close() && prompter.messages.empty());
    stop();
    ASSERT_TRUE(start());
    doc().setModifiedFlag(true);
    prompter.answers.push_back(PromptAnswer::Yes);
    EXPECT_TRUE(frame().close());
    EXPECT_EQ(prompter.texts(), QStringList({"Channel.si not saved!\nSave it now?", "Nothing to save!"}));
}

TEST_F(FrameTest, FailedLoadsLeaveEverythingAsItWasAndRecentFilesReopen)
{
    const QString a = sample("ra.si", 1), path = sample("two.si", 2);
    ASSERT_TRUE(start(a));
    drop({path});
    // A dropped file keeps its extension.
    EXPECT_EQ(std::tuple(frame().windowTitle(), app().recentFiles().files().value(0), app().database().lastPath()),
              std::tuple(QString("two.si - Satorix for HD"), path, path.toStdString()));
    writeFile(file("short.si"), std::string(26, 'x'));
    const std::vector<std::uint8_t> image(app().database().image(), app().database().image() + IMAGE_SIZE);
    const int rows = frame().orbitView()->listModel().rowCount();
    // Dropped, opened, and opened when gone.
    const std::pair<QString, QStringList> failures[] = {
        {QString(), {"Error: Open failed2", "Error: Open failed"}},
        {qfile("short.si"), {"Error: Open failed2", "Error: Open failed"}},
        {qfile("gone.si"), {"Open1", "Error: Open failed"}}};
    for (const auto& [name, texts] : failures) {
        SCOPED_TRACE(name.toStdString());
        doc().setModifiedFlag(true);
        prompter.clear();
        prompter.answers.push_back(PromptAnswer::No);
        prompter.fileNames = {name};
        name.isEmpty() ? drop({qfile("short.si")}) : trigger(ID_FILE_OPEN);
        EXPECT_EQ(std::tuple(prompter.texts().mid(1), frame().windowTitle(), doc().path(), doc().isModified(),
                             app().database().lastPath(), frame().orbitView()->listModel().rowCount(),
                             std::equal(image.begin(), image.end(), app().database().image())),
                  std::tuple(texts, QString("two.si* - Satorix for HD"), path, true, path.toStdString(), rows, true));
    }

    // The older recent file opens; one that vanished leaves the list.
    EXPECT_TRUE(enabled(ID_FILE_MRU_FILE1 + 1) && frame().action(ID_FILE_MRU_FILE1 + 1)->isVisible() &&
                frame().action(ID_FILE_MRU_FILE1 + 1)->text().endsWith(a));
    prompter.answers.push_back(PromptAnswer::No);
    ASSERT_TRUE(trigger(ID_FILE_MRU_FILE1 + 1));
    EXPECT_EQ(QStringList({frame().windowTitle(), app().recentFiles().files().value(0)}),
              QStringList({"ra - Satorix for HD", a}));
    std::filesystem::remove(file("two.si"));
    prompter.clear();
    ASSERT_TRUE(trigger(ID_FILE_MRU_FILE1 + 1));
    EXPECT_EQ(prompter.texts() + app().recentFiles().files(), QStringList({"Open1", "Error: Open failed", a}));
    frame().updateCommandUi();
    EXPECT_FALSE(frame().action(ID_FILE_MRU_FILE1 + 1)->isVisible());
}

TEST(PathSplitTest, DotInDirectoryAndLeadingDot)
{
    // path, extension, file name, title
    for (const QStringList& c : {QStringList{"/a.b/name", "b/name", "a.b/name", "a"},
                                 {"/home/u/my.db.si", "si", "my.db.si", "my"},
                                 {"/x/.hidden.si", "si", ".hidden.si", ""},
                                 {"/x/plain", "", "plain", "plain"}}) {
        const PathParts parts = COrbitDoc::splitPath(c[0]);
        EXPECT_EQ(QStringList({c[0], parts.extension, parts.fileName, parts.title}), c);
    }
}

TEST_F(FrameTest, FreshStartLayoutThenOpenDownloadAndSaveSetNamesFlagsAndRecentFile)
{
    ASSERT_TRUE(start());
    QStringList order;
    for (QAction* a : frame().toolBar()->actions())
        order << (a->isSeparator() ? "|" : QString::number(a->data().toInt()));
    EXPECT_EQ(order.join(' '), "57601 57603 | 57607 | 32815 | 32773 32774 32772 | 32806 32808 32809 32810 | 57664");
    const auto icon = [this](QIcon::Mode m) { return frame().action(ID_FILE_OPEN)->icon().pixmap(30, m).toImage(); };
    EXPECT_TRUE(icon(QIcon::Normal) != icon(QIcon::Active) && icon(QIcon::Normal) != icon(QIcon::Disabled));

    auto* splitter = frame().findChild<QSplitter*>("splitter");
    EXPECT_TRUE(splitter && splitter->widget(0) == frame().leftView() && splitter->widget(1) == frame().orbitView());
    EXPECT_EQ(frame().action(ID_EDIT_PASTE)->shortcuts().size(), 2);
    // The active view starts on the tree and follows the pane keys.
    QList<DocumentView*> active = {frame().activeView()};
    for (int id : {ID_NEXT_PANE, ID_PREV_PANE}) active << (trigger(id) ? frame().activeView() : nullptr);
    EXPECT_EQ(active, QList<DocumentView*>({frame().leftView(), frame().orbitView(), frame().leftView()}));

    EXPECT_EQ(std::tuple(frame().windowTitle(), doc().fileName(), doc().fileOpened(), doc().isModified()),
              std::tuple(QString("Channel - Satorix for HD"), QString("Channel.si"), false, false));
    for (int id : {ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_FILE_PRINT_SETUP, ID_FILE_NEW})
        EXPECT_FALSE(enabled(id)) << id;

    const QString path = sample("My.Channels.si");
    prompter.fileNames = {path};
    ASSERT_TRUE(trigger(ID_FILE_OPEN));
    ASSERT_EQ(std::pair(prompter.openRequests.size(), prompter.messages.size()),
              std::pair(std::size_t(1), std::size_t(0)));
    const FileDialogRequest& req = prompter.openRequests[0];
    EXPECT_EQ(std::tuple(req.initialName, req.nameFilters, req.mustExist),
              std::tuple(QString("*.si"), QStringList({"Channel data (*.si)", "All Files (*.*)"}), true));
    EXPECT_EQ(
        QStringList({frame().windowTitle(), doc().fileName(), doc().path(), app().recentFiles().files().value(0)}),
        QStringList({"My.Channels - Satorix for HD", "My.Channels.si", path, QFileInfo(path).absoluteFilePath()}));
    // The document asked for a rebuild and the tree has done it.
    EXPECT_EQ(std::tuple(doc().fileOpened(), app().browser().rebuildRequest, frame().leftView()->rebuildCount()),
              std::tuple(true, false, 1));
    EXPECT_TRUE(enabled(ID_FILE_MRU_FILE1) && frame().action(ID_FILE_MRU_FILE1)->text().endsWith(path));

    // A download replaces it: Save then asks for a name, once.
    ASSERT_EQ(app().database().load(sample("dl-source.si").toStdString()), 0);
    doc().acceptDownloadedDatabase();
    prompter.fileNames.push_back(qfile("saved.si"));
    ASSERT_TRUE(trigger(ID_FILE_SAVE));
    ASSERT_EQ(prompter.saveRequests.size(), 1u);
    EXPECT_EQ(
        std::tuple(prompter.saveRequests[0].initialName, QFileInfo(qfile("saved.si")).size(), frame().windowTitle(),
                   doc().databaseDownloaded(), doc().isModified(), paneText(ID_INDICATOR_OVR)),
        std::tuple(QString("*.si"), qint64(IMAGE_SIZE), QString("saved - Satorix for HD"), false, false, QString()));

    // From now on Save writes to the chosen path without asking.
    std::filesystem::remove(file("saved.si"));
    doc().setModifiedFlag(true);
    ASSERT_TRUE(trigger(ID_FILE_SAVE));
    EXPECT_EQ(std::tuple(prompter.saveRequests.size(), QFileInfo(qfile("saved.si")).size(), doc().isModified()),
              std::tuple(std::size_t(1), qint64(IMAGE_SIZE), false));

    doc().setModifiedFlag(true);
    prompter.fileNames.push_back(qfile("no-such-dir/b.si"));
    ASSERT_TRUE(trigger(ID_FILE_SAVE_AS));
    EXPECT_EQ(frame().windowTitle(), "b* - Satorix for HD"); // names are taken before saving
    ASSERT_TRUE(trigger(ID_FILE_SAVE_AS));                   // no name queued: the dialog is cancelled
    EXPECT_EQ(std::tuple(prompter.texts(), doc().fileName(), doc().isModified()),
              std::tuple(QStringList({"Error: Save failed!"}), QString("b.si"), true));
}

TEST_F(FrameTest, CommandLineFileOrTheLastEditedOneOpens)
{
    // A damaged file from a file manager: the boxes, then the editor without a database.
    EXPECT_TRUE(start(qfile("gone.si")));
    EXPECT_EQ(std::tuple(prompter.texts(), frame().isVisible(), doc().fileOpened()),
              std::tuple(QStringList({"Open1", "Error: Open failed"}), true, false));
    stop();
    prompter.clear();

    ASSERT_TRUE(start(sample("cmd.line.si")));
    EXPECT_EQ(std::tuple(frame().windowTitle(), doc().fileOpened(), doc().isModified()),
              std::tuple(QString("cmd.line - Satorix for HD"), true, false));
    stop();
    const QString path = sample("last.si");
    ASSERT_TRUE(start(path));
    app().config().setOpenLastEdited(true);
    stop();
    // The file loaded in one run is opened by the next...
    ASSERT_TRUE(start());
    EXPECT_EQ(
        std::tuple(prompter.messages.size(), doc().path(), frame().windowTitle(), frame().leftView()->rebuildCount()),
        std::tuple(std::size_t(0), path, QString("last - Satorix for HD"), 1));
    stop();
    // ... unless it went: the box, then an empty, untitled start.
    std::filesystem::remove(path.toStdString());
    ASSERT_TRUE(start());
    EXPECT_EQ(prompter.texts() + QStringList({frame().windowTitle(), paneText(ID_INDICATOR_COUNTS)}),
              QStringList({"Open1", "Open last edited failed", "Untitled - Satorix for HD", "File not loaded!"}));
}

} // namespace
} // namespace satorix::test
