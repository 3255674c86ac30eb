// The editing round trip through the dialogs as the views open them (modal, through EditDialogs):
// a transponder, a program on it in a favourite list, its edit, the satellite, the delete; the
// saved file is sound, CRC included.
#include <QCheckBox>
#include <QRadioButton>

#include "db/DatabaseCheck.h"
#include "dialogs/EditDialogSet.h"
#include "tests/dialogs/DialogTestSupport.h"
#include "tests/support/TempDir.h"

namespace satorix::test {
namespace {

TEST_F(DialogTest, EditingRoundTripThroughTheModalDialogs)
{
    EditDialogSet dialogs(db, browser, prompter);

    onModal([](QDialog* d) {
        setText(d, "frequencyEdit", "11700");
        setText(d, "symbolRateEdit", "27500");
        setText(d, "transportStreamIdEdit", "5");
        setText(d, "networkIdEdit", "6");
        setText(d, "originalNetworkIdEdit", "7");
        child<QRadioButton>(d, "pol1")->setChecked(true);
        clickOk(d);
    });
    int polarisation = -1;
    ASSERT_EQ(dialogs.editTransponder(nullptr, 1, 3, polarisation), 11700);
    EXPECT_EQ(polarisation, 1);
    const int transponder = db.findTransponder(3, 11700);
    ASSERT_EQ(transponder, 5);

    // The list of the new transponder is empty: the add comes without a program index.
    browser.parentText = "Thor 2,3";
    browser.selectedText = "11700(V)";
    onModal([](QDialog* d) {
        EXPECT_EQ(textOf(d, "transponderCombo"), "11700");
        setText(d, "nameEdit", "Round");
        setText(d, "providerCombo", "Alpha");
        child<QCheckBox>(d, "fav3Check")->setChecked(true);
        clickOk(d);
    });
    int added = -1;
    ASSERT_TRUE(dialogs.editProgram(nullptr, -1, 4, added));
    EXPECT_EQ(added, 0);
    EXPECT_EQ(programName(db, 0), "Round");
    EXPECT_EQ(record(db, DBT_PROGRAM, 0).field[2], transponder);

    onModal([](QDialog* d) {
        EXPECT_TRUE(child<QCheckBox>(d, "fav3Check")->isChecked());
        setText(d, "nameEdit", "Round Two");
        child<QCheckBox>(d, "lockedCheck")->setChecked(true);
        clickOk(d);
    });
    int edited = -1;
    ASSERT_TRUE(dialogs.editProgram(nullptr, added, 8, edited));
    EXPECT_EQ(edited, 0);
    EXPECT_EQ(record(db, DBT_PROGRAM, 0).field[6], FLAG_LOCKED);

    onModal([](QDialog* d) {
        setText(d, "symbolRateEdit", "30000");
        clickOk(d);
    });
    ASSERT_TRUE(dialogs.editProgramTransponder(nullptr, 0, 2));
    EXPECT_EQ(record(db, DBT_TRANSPONDER, transponder).field[8], 30000);

    onModal([](QDialog* d) {
        clickButton(d, "defaultButton");
        setText(d, "nameEdit", "Thor renamed");
        clickOk(d);
    });
    dialogs.editSatellite(nullptr, QStringLiteral("Thor 2,3"));
    EXPECT_EQ(browser.lastSatelliteName, "Thor renamed");
    EXPECT_EQ(record(db, DBT_SATELLITE, 2).field[1], 8); // 0.8 W from the table

    browser.lastTransponderFrequency = 11700;
    prompter.answers.push_back(PromptAnswer::Yes);
    onModal([](QDialog* d) { clickOk(d); });
    EXPECT_EQ(dialogs.deleteTransponder(nullptr, transponder), 11700);
    EXPECT_EQ(db.transponderCount(), 5);
    EXPECT_EQ(db.programCount(), 6);
    EXPECT_EQ(db.favCount(2), 1);

    // A cancelled dialog reports a negative frequency and leaves the database alone.
    onModal([](QDialog* d) { d->reject(); });
    EXPECT_EQ(dialogs.editTransponder(nullptr, 2, 0, polarisation), -1);

    TempDir dir;
    ASSERT_EQ(db.save(dir.file("trip.si")), 0);
    ChannelDatabase reloaded;
    reloaded.setListingPath({});
    ASSERT_EQ(reloaded.load(dir.file("trip.si")), 0);
    EXPECT_EQ(checkDatabase(reloaded), std::vector<std::string>{});
    EXPECT_EQ(prompter.messages.size(), 1u); // the delete question only
}

} // namespace
} // namespace satorix::test
