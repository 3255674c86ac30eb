// The editing round trip from the editor's own tree and list, with the dialogs the application
// hands to the views: transponder added on an empty satellite, a program added on it in
// favourite list 3, edited, the transponder deleted with it; the saved file is sound.
#include <QAction>
#include <QCheckBox>
#include <QRadioButton>
#include <QTest>

#include "app/CommandIds.h"
#include "db/DatabaseCheck.h"
#include "views/BrowserState.h"
#include "views/CLeftView.h"
#include "views/COrbitView.h"
#include "views/CommandMenu.h"
#include "tests/dialogs/DialogTestSupport.h"
#include "tests/views/ViewsFixture.h"

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

} // namespace
} // namespace satorix::test
