// The main frame: layout, the TV/radio filter, dropped files, closing and recent files.
#include <QAction>
#include <QFileInfo>
#include <QLabel>
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
        QList<QUrl> urls;
        for (const QString& p : paths) urls << QUrl::fromLocalFile(p);
        data.setUrls(urls);
        const QPoint at = frame().rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&frame(), &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&frame(), &dropped);
    }
    QWidget* toolButton(int id) { return frame().toolBar()->widgetForAction(frame().action(id)); }
};

TEST_F(FrameTest, LayoutToolBarOrderAndSplitter)
{
    ASSERT_TRUE(start());
    QStringList order;
    for (QAction* a : frame().toolBar()->actions()) order << (a->isSeparator() ? "|" : QString::number(a->data().toInt()));
    EXPECT_EQ(order.join(' '), "57601 57603 | 57607 | 32815 | 32773 32774 32772 | 32806 32808 32809 32810 | 57664");
    EXPECT_EQ(frame().action(ID_STB_DOWNLOAD)->statusTip(), "Load database from Set Top Box to PC.");
    EXPECT_EQ(frame().action(ID_TOOLBAR_PORT)->toolTip(), "Config RS232 Port.");
    const QIcon icon = frame().action(ID_FILE_OPEN)->icon();
    EXPECT_FALSE(icon.pixmap(30, QIcon::Normal).toImage() == icon.pixmap(30, QIcon::Active).toImage());
    EXPECT_FALSE(icon.pixmap(30, QIcon::Normal).toImage() == icon.pixmap(30, QIcon::Disabled).toImage());

    auto* splitter = frame().findChild<QSplitter*>("splitter");
    ASSERT_NE(splitter, nullptr);
    EXPECT_EQ(splitter->widget(0), frame().leftView());
    EXPECT_EQ(splitter->widget(1), frame().orbitView());
    EXPECT_EQ(frame().activeView(), frame().leftView());
    EXPECT_EQ(frame().action(ID_EDIT_PASTE)->shortcuts().size(), 2);
}

TEST_F(FrameTest, FilterButtonsRefillTheListOnceWhenIdle)
{
    ASSERT_TRUE(start(QString::fromStdString(writeSample(file("f.si")))));
    QTRY_VERIFY(frame().action(ID_SHOW_TV_RADIO)->isChecked());
    COrbitView* list = frame().orbitView();
    const int fills = list->fillCount();

    QTest::mouseClick(toolButton(ID_SHOW_TV), Qt::LeftButton);
    EXPECT_EQ(app().browser().scope(), SCOPE_TV | SCOPE_PROGRAMS);
    EXPECT_EQ(list->fillCount(), fills); // the command itself does not refresh
    QTRY_COMPARE(list->fillCount(), fills + 1);
    EXPECT_TRUE(frame().action(ID_SHOW_TV)->isChecked());
    EXPECT_FALSE(frame().action(ID_SHOW_RADIO)->isChecked());
    EXPECT_FALSE(frame().action(ID_SHOW_TV_RADIO)->isChecked());
    EXPECT_EQ(frame().seenScope(), SCOPE_TV | SCOPE_PROGRAMS);

    QTest::mouseClick(toolButton(ID_SHOW_TV), Qt::LeftButton);
    frame().updateCommandUi();
    frame().updateCommandUi();
    EXPECT_EQ(list->fillCount(), fills + 1);
    EXPECT_TRUE(frame().action(ID_SHOW_TV)->isChecked());

    // Other scope bits survive the filter.
    app().browser().setScope(SCOPE_TV | scopeFav(2));
    frame().updateCommandUi();
    EXPECT_EQ(list->fillCount(), fills + 2);
    QTest::mouseClick(toolButton(ID_SHOW_RADIO), Qt::LeftButton);
    EXPECT_EQ(app().browser().scope(), SCOPE_RADIO | scopeFav(2));
    QTRY_COMPARE(list->fillCount(), fills + 3);
    EXPECT_TRUE(frame().action(ID_SHOW_RADIO)->isChecked());
    EXPECT_FALSE(frame().action(ID_SHOW_TV)->isChecked());
}

TEST_F(FrameTest, DropAsksLikeOpenAndFailedLoadsLeaveEverythingAsItWas)
{
    const QString first = QString::fromStdString(writeSample(file("one.si"), 1));
    const QString second = QString::fromStdString(writeSample(file("two.si"), 2));
    ASSERT_TRUE(start(first));
    doc().setModifiedFlag(true);
    prompter.answers.push_back(PromptAnswer::Cancel);
    drop({second, first});
    EXPECT_EQ(prompter.texts(), QStringList({"one.si not saved!\nSave it now?"}));
    EXPECT_EQ(doc().path(), first);
    EXPECT_TRUE(doc().isModified());

    prompter.clear();
    prompter.answers.push_back(PromptAnswer::No);
    drop({second, first}); // the first file dropped is opened
    EXPECT_EQ(frame().windowTitle(), "two.si - Satorix for HD");
    EXPECT_EQ(doc().path(), second);
    EXPECT_FALSE(doc().isModified());
    EXPECT_EQ(app().recentFiles().files().value(0), second);
    EXPECT_EQ(app().database().lastPath(), second.toStdString());

    // Whatever way a bad file arrives, the database, the names, the flag and the list stay.
    writeFile(file("short.si"), std::string(26, 'x'));
    const std::vector<std::uint8_t> image(app().database().image(), app().database().image() + 721968);
    const int rows = frame().orbitView()->listModel().rowCount();
    const struct {
        const char* how;
        std::function<void()> load;
        QStringList texts;
    } failures[] = {
        {"drop", [&] { drop({qfile("short.si")}); }, {"Error: Open failed2", "Error: Open failed"}},
        {"open short", [&] { prompter.fileNames.push_back(qfile("short.si")); trigger(ID_FILE_OPEN); },
         {"Error: Open failed2", "Error: Open failed"}},
        {"open missing", [&] { prompter.fileNames.push_back(qfile("gone.si")); trigger(ID_FILE_OPEN); },
         {"Open1", "Error: Open failed"}},
    };
    for (const auto& f : failures) {
        doc().setModifiedFlag(true);
        prompter.clear();
        prompter.answers.push_back(PromptAnswer::No);
        f.load();
        EXPECT_EQ(prompter.texts().mid(1), f.texts) << f.how;
        EXPECT_EQ(frame().windowTitle(), "two.si* - Satorix for HD") << f.how;
        EXPECT_EQ(doc().path(), second) << f.how;
        EXPECT_TRUE(doc().isModified()) << f.how;
        EXPECT_EQ(app().database().lastPath(), second.toStdString()) << f.how;
        EXPECT_TRUE(std::equal(image.begin(), image.end(), app().database().image())) << f.how;
        EXPECT_EQ(frame().orbitView()->listModel().rowCount(), rows) << f.how;
    }
}

TEST_F(FrameTest, SaveThatDoesNotHappenStopsTheCommandThatAsked)
{
    const QString path = QString::fromStdString(writeSample(file("keep.si"), 1));
    const QString other = QString::fromStdString(writeSample(file("other.si"), 2));
    const struct {
        const char* command;
        std::function<bool()> run; // true when the command went on
    } commands[] = {
        {"open", [&] { prompter.fileNames.push_back(other); trigger(ID_FILE_OPEN); return doc().path() == other; }},
        {"drop", [&] { drop({other}); return doc().path() == other; }},
        {"exit", [&] { return frame().close(); }},
    };
    for (const bool cancelledSaveAs : {false, true}) {
        for (const auto& c : commands) {
            ASSERT_TRUE(start(path));
            doc().setModifiedFlag(true);
            prompter.clear();
            prompter.fileNames.clear(); // what a stopped Open did not take
            if (cancelledSaveAs) {
                doc().setDatabaseDownloaded(true); // Save asks for a name, and the user cancels
                prompter.fileNames.push_back(QString());
            } else {
                std::filesystem::remove(file("keep.si"));
                std::filesystem::create_directory(file("keep.si")); // the save fails
            }
            prompter.answers.push_back(PromptAnswer::Yes);
            EXPECT_FALSE(c.run()) << c.command << (cancelledSaveAs ? " after a cancelled Save As" : " after a failed save");
            EXPECT_TRUE(doc().isModified()) << c.command;
            EXPECT_TRUE(frame().isVisible()) << c.command;
            stop();
            std::filesystem::remove(file("keep.si"));
            writeSample(file("keep.si"), 1);
        }
    }

    // With nothing to save the question cannot be answered by saving: Exit goes on.
    ASSERT_TRUE(start());
    doc().setModifiedFlag(true);
    prompter.clear();
    prompter.answers.push_back(PromptAnswer::Yes);
    EXPECT_TRUE(frame().close());
    EXPECT_EQ(prompter.texts(), QStringList({"Channel.si not saved!\nSave it now?", "Nothing to save!"}));
}

TEST_F(FrameTest, CloseWithUnsavedChangesEachAnswer)
{
    const QString path = QString::fromStdString(writeSample(file("close.si")));
    ASSERT_TRUE(start(path));
    const QString question = "close.si not saved!\nSave it now?";

    doc().setModifiedFlag(true);
    prompter.answers.push_back(PromptAnswer::Cancel);
    EXPECT_FALSE(frame().close());
    EXPECT_TRUE(frame().isVisible());
    EXPECT_EQ(prompter.texts(), QStringList({question}));

    // Yes, but the save cannot happen: the window stays.
    std::filesystem::remove(file("close.si"));
    std::filesystem::create_directory(file("close.si"));
    prompter.clear();
    prompter.answers.push_back(PromptAnswer::Yes);
    EXPECT_FALSE(frame().close());
    EXPECT_EQ(prompter.texts(), QStringList({question, "Error: Save failed!"}));
    std::filesystem::remove(file("close.si"));

    // Yes saves, then closes.
    prompter.clear();
    prompter.answers.push_back(PromptAnswer::Yes);
    EXPECT_TRUE(frame().close());
    EXPECT_EQ(QFileInfo(path).size(), 721968);
    stop();

    // No closes without saving; unmodified closes without asking.
    ASSERT_TRUE(start(path));
    std::filesystem::remove(file("close.si"));
    doc().setModifiedFlag(true);
    prompter.clear();
    prompter.answers.push_back(PromptAnswer::No);
    EXPECT_TRUE(frame().close());
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_EQ(prompter.messages.size(), 1u);
    stop();

    writeSample(file("close.si"));
    ASSERT_TRUE(start(path));
    prompter.clear();
    EXPECT_TRUE(frame().close());
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(FrameTest, RecentFileThatVanishedLeavesTheList)
{
    const QString a = QString::fromStdString(writeSample(file("ra.si"), 1));
    const QString b = QString::fromStdString(writeSample(file("rb.si"), 2));
    ASSERT_TRUE(start(a));
    drop({b});
    frame().updateCommandUi();
    ASSERT_TRUE(frame().action(ID_FILE_MRU_FILE1 + 1)->isVisible());
    EXPECT_TRUE(frame().action(ID_FILE_MRU_FILE1 + 1)->text().endsWith(a));

    ASSERT_TRUE(trigger(ID_FILE_MRU_FILE1 + 1));
    EXPECT_EQ(frame().windowTitle(), "ra - Satorix for HD");
    EXPECT_EQ(app().recentFiles().files().value(0), a);

    std::filesystem::remove(file("rb.si"));
    prompter.clear();
    ASSERT_TRUE(trigger(ID_FILE_MRU_FILE1 + 1));
    EXPECT_EQ(prompter.texts(), QStringList({"Open1", "Error: Open failed"}));
    EXPECT_EQ(app().recentFiles().files(), QStringList({a}));
    frame().updateCommandUi();
    EXPECT_FALSE(frame().action(ID_FILE_MRU_FILE1 + 1)->isVisible());
}

TEST_F(FrameTest, NextPaneMovesTheActiveView)
{
    ASSERT_TRUE(start());
    frame().activateWindow();
    ASSERT_TRUE(trigger(ID_NEXT_PANE));
    EXPECT_EQ(frame().activeView(), frame().orbitView());
    ASSERT_TRUE(trigger(ID_PREV_PANE));
    EXPECT_EQ(frame().activeView(), frame().leftView());
}

} // namespace
} // namespace satorix::test
