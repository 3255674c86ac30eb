// The main frame: layout, the TV/radio filter, dropped files, closing and recent files.
#include <QAction>
#include <QFileInfo>
#include <QMimeData>
#include <QSplitter>
#include <QTest>
#include <QToolBar>
#include <QUrl>
#include <filesystem>
#include <gtest/gtest.h>

#include "app/COrbitDoc.h"
#include "db/ChannelDatabase.h"
#include "gui/BrowserState.h"
#include "gui/CommandIds.h"
#include "tests/gui/GuiTestSupport.h"
#include "views/CLeftView.h"
#include "views/COrbitView.h"

namespace satorix::test {
namespace {

class FrameTest : public ::testing::Test, public AppFixture {
protected:
    void drop(const QStringList& paths)
    {
        QMimeData data;
        for (const QString& p : paths) data.setUrls(data.urls() << QUrl::fromLocalFile(p));
        const QPoint at = frame().rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&frame(), &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&frame(), &dropped);
    }
    void click(int id) { QTest::mouseClick(frame().toolBar()->widgetForAction(frame().action(id)), Qt::LeftButton); }
};

TEST_F(FrameTest, LayoutToolBarOrderSplitterAndPanes)
{
    ASSERT_TRUE(start());
    QStringList order;
    for (QAction* a : frame().toolBar()->actions())
        order << (a->isSeparator() ? "|" : QString::number(a->data().toInt()));
    EXPECT_EQ(order.join(' '), "57601 57603 | 57607 | 32815 | 32773 32774 32772 | 32806 32808 32809 32810 | 57664");
    const QIcon icon = frame().action(ID_FILE_OPEN)->icon();
    EXPECT_FALSE(icon.pixmap(30, QIcon::Normal).toImage() == icon.pixmap(30, QIcon::Active).toImage());
    EXPECT_FALSE(icon.pixmap(30, QIcon::Normal).toImage() == icon.pixmap(30, QIcon::Disabled).toImage());

    auto* splitter = frame().findChild<QSplitter*>("splitter");
    ASSERT_NE(splitter, nullptr);
    EXPECT_EQ(QList<QWidget*>({splitter->widget(0), splitter->widget(1)}),
              QList<QWidget*>({frame().leftView(), frame().orbitView()}));
    EXPECT_EQ(frame().action(ID_EDIT_PASTE)->shortcuts().size(), 2);
    // The active view starts on the tree and follows the pane keys.
    QList<DocumentView*> active = {frame().activeView()};
    for (int id : {ID_NEXT_PANE, ID_PREV_PANE}) active << (trigger(id) ? frame().activeView() : nullptr);
    EXPECT_EQ(active, QList<DocumentView*>({frame().leftView(), frame().orbitView(), frame().leftView()}));
}

TEST_F(FrameTest, FilterButtonsRefillTheListOnceWhenIdle)
{
    ASSERT_TRUE(start(sample("f.si")));
    ASSERT_TRUE(waitFor([&] { return frame().action(ID_SHOW_TV_RADIO)->isChecked(); }));
    COrbitView* list = frame().orbitView();
    const int fills = list->fillCount();

    const auto checked = [this] {
        QList<bool> on;
        for (int id : {ID_SHOW_TV_RADIO, ID_SHOW_TV, ID_SHOW_RADIO}) on << frame().action(id)->isChecked();
        return on;
    };
    click(ID_SHOW_TV);
    EXPECT_EQ(app().browser().scope(), SCOPE_TV | SCOPE_PROGRAMS);
    EXPECT_EQ(list->fillCount(), fills); // the command itself does not refresh
    ASSERT_TRUE(waitFor([&] { return list->fillCount() == fills + 1; }));
    EXPECT_EQ(checked(), QList<bool>({false, true, false}));

    // The same filter again: the idle passes refill nothing.
    click(ID_SHOW_TV);
    frame().updateCommandUi();
    frame().updateCommandUi();
    EXPECT_EQ(list->fillCount(), fills + 1);

    // Other scope bits survive the filter.
    app().browser().setScope(SCOPE_TV | scopeFav(2));
    frame().updateCommandUi();
    EXPECT_EQ(list->fillCount(), fills + 2);
    click(ID_SHOW_RADIO);
    EXPECT_EQ(app().browser().scope(), SCOPE_RADIO | scopeFav(2));
    ASSERT_TRUE(waitFor([&] { return list->fillCount() == fills + 3; }));
    EXPECT_EQ(checked(), QList<bool>({false, false, true}));
}

// Open, drop and Exit ask alike about unsaved changes; only a save that happened lets them go on.
TEST_F(FrameTest, UnsavedChangesQuestionForEveryCommandAndAnswer)
{
    const QString other = sample("other.si", 2);
    enum Save { Works, Fails, NameCancelled };
    const struct {
        PromptAnswer answer;
        Save save;
        bool goesOn;
        const char* message; // after the question
    } answers[] = {
        {PromptAnswer::Cancel, Works, false, ""},      {PromptAnswer::No, Works, true, ""},
        {PromptAnswer::Yes, Works, true, ""},          {PromptAnswer::Yes, Fails, false, "Error: Save failed!"},
        {PromptAnswer::Yes, NameCancelled, false, ""},
    };
    const struct {
        const char* name;
        std::function<bool()> run; // true when the command went on
    } commands[] = {
        {"open",
         [&] {
             prompter.fileNames.push_back(other);
             trigger(ID_FILE_OPEN);
             return doc().path() == other;
         }},
        {"drop",
         [&] {
             drop({other, qfile("keep.si")});
             return doc().path() == other;
         }}, // the first one opens
        {"exit", [&] { return frame().close(); }},
    };
    for (const auto& c : commands) {
        for (const auto& a : answers) {
            SCOPED_TRACE(std::string(c.name) + " answer " + std::to_string(int(a.answer)) + " save " +
                         std::to_string(a.save));
            ASSERT_TRUE(start(sample("keep.si")));
            doc().setModifiedFlag(true);
            std::filesystem::remove(file("keep.si"));
            if (a.save == Fails) std::filesystem::create_directory(file("keep.si"));
            if (a.save == NameCancelled) {
                doc().setDatabaseDownloaded(true); // Save asks for a name, and the user cancels
                prompter.fileNames.push_back(QString());
            }
            prompter.clear();
            prompter.answers.push_back(a.answer);
            EXPECT_EQ(c.run(), a.goesOn);
            ASSERT_FALSE(prompter.messages.empty());
            EXPECT_EQ(std::tuple(prompter.messages[0].text, prompter.messages[0].buttons, prompter.messages[0].icon),
                      std::tuple(QString("keep.si not saved!\nSave it now?"), PromptButtons::YesNoCancel,
                                 PromptIcon::Question));
            EXPECT_EQ(prompter.texts().value(1), a.message);
            EXPECT_EQ(QFileInfo(qfile("keep.si")).isFile(), a.answer == PromptAnswer::Yes && a.save == Works);
            if (!a.goesOn || c.name != std::string("exit")) {
                EXPECT_EQ(
                    std::tuple(doc().isModified(), frame().isVisible(), a.goesOn || prompter.openRequests.empty()),
                    std::tuple(!a.goesOn, true, true));
            }
            stop();
            std::filesystem::remove_all(file("keep.si"));
            prompter.fileNames.clear(); // what a stopped Open did not take
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

TEST_F(FrameTest, FailedLoadsLeaveEverythingAsItWas)
{
    const QString path = sample("two.si", 2);
    ASSERT_TRUE(start());
    drop({path});
    EXPECT_EQ(frame().windowTitle(), "two.si - Satorix for HD"); // a dropped file keeps its extension
    writeFile(file("short.si"), std::string(26, 'x'));
    const std::vector<std::uint8_t> image(app().database().image(), app().database().image() + 721968);
    const int rows = frame().orbitView()->listModel().rowCount();
    const struct {
        const char* how;
        std::function<void()> load;
        QStringList texts;
    } failures[] = {
        {"drop", [&] { drop({qfile("short.si")}); }, {"Error: Open failed2", "Error: Open failed"}},
        {"open short",
         [&] {
             prompter.fileNames.push_back(qfile("short.si"));
             trigger(ID_FILE_OPEN);
         },
         {"Error: Open failed2", "Error: Open failed"}},
        {"open missing",
         [&] {
             prompter.fileNames.push_back(qfile("gone.si"));
             trigger(ID_FILE_OPEN);
         },
         {"Open1", "Error: Open failed"}},
    };
    for (const auto& f : failures) {
        doc().setModifiedFlag(true);
        prompter.clear();
        prompter.answers.push_back(PromptAnswer::No);
        f.load();
        SCOPED_TRACE(f.how);
        EXPECT_EQ(prompter.texts().mid(1), f.texts);
        EXPECT_EQ(std::tuple(frame().windowTitle(), doc().path(), doc().isModified(), app().database().lastPath(),
                             frame().orbitView()->listModel().rowCount()),
                  std::tuple(QString("two.si* - Satorix for HD"), path, true, path.toStdString(), rows));
        EXPECT_TRUE(std::equal(image.begin(), image.end(), app().database().image()));
    }
}

TEST_F(FrameTest, RecentFilesReopenAndOneThatVanishedLeavesTheList)
{
    const QString a = sample("ra.si", 1);
    const QString b = sample("rb.si", 2);
    ASSERT_TRUE(start(a));
    drop({b});
    EXPECT_EQ(std::pair(app().recentFiles().files().value(0), app().database().lastPath()),
              std::pair(b, b.toStdString()));
    frame().updateCommandUi();
    EXPECT_TRUE(frame().action(ID_FILE_MRU_FILE1 + 1)->isVisible() &&
                frame().action(ID_FILE_MRU_FILE1 + 1)->text().endsWith(a));

    ASSERT_TRUE(trigger(ID_FILE_MRU_FILE1 + 1));
    EXPECT_EQ(QStringList({frame().windowTitle(), app().recentFiles().files().value(0)}),
              QStringList({"ra - Satorix for HD", a}));

    std::filesystem::remove(file("rb.si"));
    prompter.clear();
    ASSERT_TRUE(trigger(ID_FILE_MRU_FILE1 + 1));
    EXPECT_EQ(prompter.texts() + app().recentFiles().files(), QStringList({"Open1", "Error: Open failed", a}));
    frame().updateCommandUi();
    EXPECT_FALSE(frame().action(ID_FILE_MRU_FILE1 + 1)->isVisible());
}

} // namespace
} // namespace satorix::test
