// The dialogs as the views open them (modal, through EditDialogSet) that the editor's own round
// trip does not reach: a program's transponder, the satellite, a cancelled dialog.
#include <QCheckBox>

#include "dialogs/EditDialogSet.h"
#include "tests/dialogs/DialogTestSupport.h"

namespace satorix::test {
namespace {

TEST_F(DialogTest, ModalDialogsOfTheViews)
{
    EditDialogSet dialogs(db, browser, prompter);

    onModal([](QDialog* d) {
        setText(d, "nameEdit", "Round Two");
        child<QCheckBox>(d, "lockedCheck")->setChecked(true);
        clickOk(d);
    });
    int edited = -1;
    ASSERT_TRUE(dialogs.editProgram(nullptr, 3, 8, edited));
    EXPECT_EQ(edited, 3);
    EXPECT_NE(record(db, DBT_PROGRAM, 3).field[progf::FLAGS] & FLAG_LOCKED, 0);

    onModal([](QDialog* d) {
        setText(d, "symbolRateEdit", "30000");
        clickOk(d);
    });
    ASSERT_TRUE(dialogs.editProgramTransponder(nullptr, 3, 2));
    EXPECT_EQ(record(db, DBT_TRANSPONDER, 3).field[tpf::SYMBOL_RATE], 30000);

    onModal([](QDialog* d) {
        clickButton(d, "defaultButton");
        setText(d, "nameEdit", "Thor renamed");
        clickOk(d);
    });
    dialogs.editSatellite(nullptr, QStringLiteral("Thor 2,3"));
    EXPECT_EQ(browser.lastSatelliteName, "Thor renamed");
    EXPECT_EQ(record(db, DBT_SATELLITE, 2).field[satf::POSITION], 8); // 0.8 W from the table

    // A cancelled dialog reports a negative frequency and leaves the database alone.
    const std::vector<std::uint8_t> before(db.image(), db.image() + IMAGE_SIZE);
    int polarisation = -1;
    onModal([](QDialog* d) { d->reject(); });
    EXPECT_EQ(dialogs.editTransponder(nullptr, 2, 0, polarisation), -1);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), db.image()));
    expectSound();
    EXPECT_TRUE(prompter.messages.empty());
}

} // namespace
} // namespace satorix::test
