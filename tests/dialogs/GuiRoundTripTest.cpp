// The editing round trip from the editor's own tree and list, with the dialogs the application
// hands to the views: transponder added on an empty satellite, a program added on it in
// favourite list 3, edited, the transponder deleted with it; the saved file is sound.
#include <QAction>
#include <functional>
#include <QCheckBox>
#include <QRadioButton>
#include <QTest>

#include "db/DatabaseCheck.h"
#include "gui/BrowserState.h"
#include "gui/CommandIds.h"
#include "tests/dialogs/DialogTestSupport.h"
#include "tests/views/ViewsFixture.h"
#include "views/CLeftView.h"
#include "views/COrbitView.h"
#include "views/CommandMenu.h"

namespace satorix::test {
namespace {

// The views' own helpers, on the dialog database and with the dialogs the application hands them.
class GuiRoundTripTest : public ViewsTest {
protected:
    void SetUp() override
    {
        ChannelDatabase db;
        db.setListingPath({});
        buildDialogDatabase(db);
        ASSERT_EQ(db.save(file("trip.si")), 0);
        ASSERT_TRUE(start(qfile("trip.si")));
        frame().resize(900, 600);
        QTRY_VERIFY(frame().isVisible());
    }
    // Opens the menu as the user does and picks the command, whose dialog onModal then drives.
    void choose(QMenu* menu, int id)
    {
        QTRY_VERIFY(menu->isVisible());
        QAction* a = menuEntry(menu, id);
        ASSERT_TRUE(a && a->isEnabled()) << id;
        a->trigger();
        menu->close();
    }
};

TEST_F(GuiRoundTripTest, TransponderProgramFavouriteEditAndDelete)
{
    ChannelDatabase& db = app().database();
    clickNode({"Satellites", "Thor 2,3", "Empty"}, Qt::RightButton);
    onModal([](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Add transponder");
        setText(d, "frequencyEdit", "11700");
        setText(d, "symbolRateEdit", "27500");
        setText(d, "transportStreamIdEdit", "5");
        setText(d, "networkIdEdit", "6");
        setText(d, "originalNetworkIdEdit", "7");
        child<QRadioButton>(d, "pol1")->setChecked(true);
        clickOk(d);
    });
    choose(tree().transponderMenu(), ID_TRANSPONDER_ADD);
    EXPECT_EQ(childTexts({"Satellites", "Thor 2,3"}), QStringList({"11700(V)"}));
    ASSERT_EQ(db.findTransponder(3, 11700), 5);

    clickNode({"Satellites", "Thor 2,3", "11700(V)"}, Qt::RightButton);
    onModal([](QDialog* d) {
        setText(d, "frequencyEdit", "11710");
        clickOk(d);
    });
    choose(tree().transponderMenu(), ID_TRANSPONDER_EDIT);
    EXPECT_EQ(childTexts({"Satellites", "Thor 2,3"}), QStringList({"11710(V)"}));

    clickNode({"Satellites", "Thor 2,3", "11710(V)"});
    clickRow(0, Qt::RightButton);
    onModal([](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Add program");
        EXPECT_EQ(textOf(d, "transponderCombo"), "11710");
        setText(d, "nameEdit", "Round");
        setText(d, "providerCombo", "Alpha");
        child<QCheckBox>(d, "fav3Check")->setChecked(true);
        clickOk(d);
    });
    choose(list().programMenu(), ID_PROGRAM_ADD);
    QTRY_COMPARE(list().model()->index(0, 1).data().toString(), QString("Round"));
    EXPECT_EQ(programName(db, 0), "Round");
    EXPECT_EQ(list().model()->index(0, 9).data().toString(), QString("  3      "));

    onModal([](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Edit program");
        setText(d, "nameEdit", "Round Two");
        clickOk(d);
    });
    QTest::mouseDClick(list().viewport(), Qt::LeftButton, {}, rowPoint(0));
    QTRY_COMPARE(list().model()->index(0, 1).data().toString(), QString("Round Two"));

    clickNode({"Satellites", "Thor 2,3", "11710(V)"}, Qt::RightButton);
    prompter.answers.push_back(PromptAnswer::Yes);
    onModal([](QDialog* d) { clickOk(d); });
    choose(tree().transponderMenu(), ID_TRANSPONDER_DELETE);
    EXPECT_EQ(childTexts({"Satellites", "Thor 2,3"}), QStringList({"Empty"}));
    EXPECT_EQ(db.programCount(), 6);
    EXPECT_EQ(db.favCount(2), 1);

    ASSERT_EQ(db.save(file("out.si")), 0);
    ChannelDatabase saved;
    saved.setListingPath({});
    ASSERT_EQ(saved.load(file("out.si")), 0);
    EXPECT_EQ(checkDatabase(saved), std::vector<std::string>{});
}

// Every command that edits marks the document, so that Exit and Open ask before the edit is lost;
// one that changed nothing leaves it alone.
TEST_F(GuiRoundTripTest, EveryEditMarksTheDocument)
{
    // The frame's idle pass refills the list after a change of scope: rows are selected after it.
    const auto openNode = [this](const QStringList& path) {
        clickNode(path);
        frame().updateCommandUi();
    };
    const auto command = [this](int id) {
        list().setFocus(Qt::OtherFocusReason);
        frame().setActiveView(&list());
        EXPECT_TRUE(trigger(id)) << id;
    };
    const auto rename = [this](const QStringList& path, const char* to) {
        tree().labelEdit(node(path), QString::fromLatin1(to));
    };
    const struct {
        const char* edit;
        std::function<void()> run;
        bool changes;
    } edits[] = {
        {"rename provider", [&] { rename({"Providers", "Alpha"}, "Alpha2"); }, true},
        {"rename satellite", [&] { rename({"Satellites", "Thor 2,3"}, "Thor"); }, true},
        {"rename favourite list", [&] { rename({"Favs", "News"}, "Latest"); }, true},
        {"rename to the same name", [&] { rename({"Favs", "Latest"}, "Latest"); }, false},
        {"satellite dialog", [&] {
             onModal([](QDialog* d) { setText(d, "positionerEdit", "30"); clickOk(d); });
             doubleClickNode({"Satellites", "Thor"});
         }, true},
        {"satellite dialog cancelled", [&] {
             onModal([](QDialog* d) { d->reject(); });
             doubleClickNode({"Satellites", "Thor"});
         }, false},
        {"add transponder", [&] {
             clickNode({"Satellites", "Thor", "Empty"}, Qt::RightButton);
             onModal([](QDialog* d) {
                 for (const char* f : {"transportStreamIdEdit", "networkIdEdit", "originalNetworkIdEdit"}) setText(d, f, "5");
                 setText(d, "frequencyEdit", "11700");
                 setText(d, "symbolRateEdit", "27500");
                 clickOk(d);
             });
             choose(tree().transponderMenu(), ID_TRANSPONDER_ADD);
         }, true},
        {"edit transponder", [&] {
             clickNode({"Satellites", "Thor", "11700(H)"}, Qt::RightButton);
             onModal([](QDialog* d) { setText(d, "frequencyEdit", "11710"); clickOk(d); });
             choose(tree().transponderMenu(), ID_TRANSPONDER_EDIT);
         }, true},
        {"add program", [&] {
             clickNode({"Satellites", "Thor", "11710(H)"});
             clickRow(0, Qt::RightButton);
             onModal([](QDialog* d) { setText(d, "nameEdit", "New"); clickOk(d); });
             choose(list().programMenu(), ID_PROGRAM_ADD);
         }, true},
        {"edit program", [&] {
             onModal([](QDialog* d) { setText(d, "nameEdit", "Newer"); clickOk(d); });
             QTest::mouseDClick(list().viewport(), Qt::LeftButton, {}, rowPoint(0));
         }, true},
        {"cut", [&] { openNode({"Satellites"}); clickRow(1); command(ID_EDIT_CUT); }, true},
        {"paste", [&] { clickRow(0); command(ID_EDIT_PASTE); }, true},
        {"copy", [&] { clickRow(0); command(ID_EDIT_COPY); }, false},
        {"delete", [&] { clickRow(2); command(ID_PROGRAM_DELETE); }, true},
        {"cut from a favourite list", [&] { openNode({"Favs", "Latest"}); clickRow(0); command(ID_EDIT_CUT); }, true},
        {"paste into a favourite list", [&] { clickRow(0); command(ID_EDIT_PASTE); }, true},
        {"delete from a favourite list", [&] { clickRow(0); command(ID_PROGRAM_DELETE); }, true},
        {"drop", [&] {
             openNode({"Satellites"});
             clickRow(1);
             const QPoint from = rowPoint(1), to = rowPoint(0);
             QTest::mousePress(list().viewport(), Qt::LeftButton, {}, from);
             QTest::mouseMove(list().viewport(), from + QPoint(0, 12));
             QTest::mouseMove(list().viewport(), to);
             QTest::mouseRelease(list().viewport(), Qt::LeftButton, {}, to);
         }, true},
        {"delete transponder", [&] {
             clickNode({"Satellites", "Hotbird 2-8", "12000(V)"}, Qt::RightButton);
             prompter.answers.push_back(PromptAnswer::Yes);
             onModal([](QDialog* d) { clickOk(d); });
             choose(tree().transponderMenu(), ID_TRANSPONDER_DELETE);
         }, true},
    };
    for (const auto& e : edits) {
        doc().setModifiedFlag(false);
        e.run();
        EXPECT_EQ(doc().isModified(), e.changes) << e.edit;
    }
    EXPECT_EQ(checkDatabase(app().database()), std::vector<std::string>{});
}

} // namespace
} // namespace satorix::test
