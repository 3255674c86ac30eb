// The program dialog: loading, the checks of OK in their order, insertion positions, providers
// and favourite lists.
#include <QCheckBox>
#include <QRadioButton>
#include <QTest>
#include <memory>

#include "db/Names.h"
#include "dialogs/DialogInput.h"
#include "dialogs/ProgramEditDialog.h"
#include "tests/dialogs/DialogTestSupport.h"

namespace satorix::test {
namespace {

class ProgramDialogTest : public DialogTest {
protected:
    ProgramEditDialog* openDialog(int programIndex, int mode)
    {
        dialog = std::make_unique<ProgramEditDialog>(db, browser, prompter);
        EXPECT_TRUE(dialog->load(programIndex, mode));
        open(dialog.get());
        return dialog.get();
    }
    QCheckBox* box(const char* name) { return child<QCheckBox>(dialog.get(), name); }
    QComboBox* combo(const char* name) { return child<QComboBox>(dialog.get(), name); }
    bool favourite(int list, int program) const
    {
        std::uint32_t mask = 0;
        db.favouriteMask(program, mask);
        return (mask & scopeFav(list)) != 0;
    }

    std::unique_ptr<ProgramEditDialog> dialog;
};

TEST_F(ProgramDialogTest, EditShowsTheProgramWithoutItsMarker)
{
    ProgramEditDialog* d = openDialog(2, ProgramEditDialog::MODE_EDIT);
    EXPECT_EQ(d->windowTitle(), "Edit program");
    EXPECT_EQ(textOf(d, "nameEdit"), "Marked");
    EXPECT_EQ(textOf(d, "providerCombo"), "Beta");
    EXPECT_EQ(textOf(d, "satelliteCombo"), "Astra 1E-2C");
    EXPECT_EQ(combo("transponderCombo")->count(), 3);
    EXPECT_EQ(textOf(d, "transponderCombo"), "10700");
    EXPECT_EQ(textOf(d, "videoPidEdit"), "101");
    EXPECT_TRUE(box("scpcCheck")->isChecked());
    EXPECT_TRUE(box("scrambledCheck")->isChecked());
    EXPECT_EQ(child<QLineEdit>(d, "serviceIdEdit")->nextInFocusChain(), box("scrambledCheck"));
    EXPECT_EQ(textOf(d, "fav1Name"), "News");
    auto* tv = child<QRadioButton>(d, "tvRadio");
    EXPECT_TRUE(tv->isChecked());
    EXPECT_FALSE(tv->isEnabled());

    // A radio program in a list, without SCPC: empty, disabled PID fields.
    dialog.reset();
    d = openDialog(4, ProgramEditDialog::MODE_EDIT);
    EXPECT_TRUE(box("fav1Check")->isChecked());
    EXPECT_FALSE(box("fav2Check")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(d, "radioRadio")->isChecked());
    EXPECT_EQ(textOf(d, "videoPidEdit"), "");
    EXPECT_FALSE(child<QLineEdit>(d, "videoPidEdit")->isEnabled());
}

TEST_F(ProgramDialogTest, NamesAreCutToTheFieldAndKeepTheMarker)
{
    openDialog(2, ProgramEditDialog::MODE_EDIT);
    EXPECT_EQ(child<QLineEdit>(dialog.get(), "nameEdit")->maxLength(), 20);
    setText(dialog.get(), "nameEdit", "ABCDEFGHIJKLMNOPQRST");
    clickOk(dialog.get());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(programName(db, 2), "\x05" "ABCDEFGHIJKLMN");
    const RecordView p = record(db, DBT_PROGRAM, 2);
    EXPECT_EQ(p.field[progf::FLAGS], FLAG_SCPC | FLAG_SCRAMBLED | 64); // unknown bits pass through
    expectSound();

    openDialog(0, ProgramEditDialog::MODE_EDIT);
    setText(dialog.get(), "nameEdit", "ABCDEFGHIJKLMNOPQRST");
    clickOk(dialog.get());
    EXPECT_EQ(programName(db, 0), "ABCDEFGHIJKLMNO");
    EXPECT_TRUE(prompter.messages.empty());
}

// Every refusal keeps the dialog open with what was typed; the right text comes first.
TEST_F(ProgramDialogTest, PidAndServiceIdBoundaries)
{
    struct Case {
        const char* field;
        const char* text;
        const char* message; // nullptr: accepted
    };
    const char* autoText = "PIDs for SCPC program can not be 'Auto'";
    const Case cases[] = {
        {"videoPidEdit", "16", "Video PID error!\nExpected digit 17..8190"},
        {"videoPidEdit", "8191", "Video PID error!\nExpected digit 17..8190"},
        {"videoPidEdit", "x17", "Video PID error!\nExpected digit 17..8190"},
        {"videoPidEdit", "AuTo", autoText},
        {"videoPidEdit", "automatic", autoText},
        {"videoPidEdit", "Reserved", "PIDs for SCPC program can not be 'Reserved'"},
        {"audioPidEdit", "auto", autoText},
        {"audioPidEdit", "reserved", "Audio PID error!\nExpected digit 17..8190"},
        {"audioPidEdit", "8191", "Audio PID error!\nExpected digit 17..8190"},
        {"pcrPidEdit", "AUTO", autoText},
        {"pcrPidEdit", "reserved", "PCR PID error!\nExpected digit 17..8190"},
        {"pcrPidEdit", "16", "PCR PID error!\nExpected digit 17..8190"},
        {"serviceIdEdit", "-1", "Service ID error!\nExpected digit 0..65535"},
        {"serviceIdEdit", "65536", "Service ID error!\nExpected digit 0..65535"},
        {"serviceIdEdit", "", "Service ID error!\nExpected digit 0..65535"},
        {"videoPidEdit", "17", nullptr},
        {"videoPidEdit", "8190kb", nullptr},
        {"serviceIdEdit", "0", nullptr},
        {"serviceIdEdit", " 65535", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " = " + c.text);
        prompter.clear();
        openDialog(2, ProgramEditDialog::MODE_EDIT);
        setText(dialog.get(), c.field, QString::fromLatin1(c.text));
        clickOk(dialog.get());
        if (c.message) {
            ASSERT_EQ(prompter.messages.size(), 1u);
            EXPECT_EQ(lastMessage(), c.message);
            EXPECT_TRUE(dialog->isVisible());
            EXPECT_EQ(textOf(dialog.get(), c.field), QString::fromLatin1(c.text));
        } else {
            EXPECT_TRUE(prompter.messages.empty());
            EXPECT_FALSE(dialog->isVisible());
        }
    }
    EXPECT_EQ(record(db, DBT_PROGRAM, 2).field[progf::SERVICE_ID], 65535);
    EXPECT_EQ(record(db, DBT_PROGRAM, 2).field[progf::VIDEO_PID], 8190);
    expectSound();
}

TEST_F(ProgramDialogTest, ScpcTextsAndPidsOfANonScpcProgramStayAsStored)
{
    openDialog(2, ProgramEditDialog::MODE_EDIT);
    QCheckBox* scpc = box("scpcCheck");
    QTest::mouseClick(scpc, Qt::LeftButton, {}, QPoint(4, scpc->height() / 2));
    ASSERT_FALSE(scpc->isChecked());
    EXPECT_EQ(textOf(dialog.get(), "audioPidEdit"), "Auto");
    EXPECT_FALSE(child<QLineEdit>(dialog.get(), "audioPidEdit")->isEnabled());
    clickOk(dialog.get());
    const RecordView p = record(db, DBT_PROGRAM, 2);
    EXPECT_EQ(p.field[progf::FLAGS] & FLAG_SCPC, 0);
    EXPECT_EQ(p.field[progf::VIDEO_PID], 101);
    EXPECT_EQ(p.field[progf::PCR_PID], 103);

    openDialog(2, ProgramEditDialog::MODE_EDIT);
    scpc = box("scpcCheck");
    QTest::mouseClick(scpc, Qt::LeftButton, {}, QPoint(4, scpc->height() / 2));
    EXPECT_EQ(textOf(dialog.get(), "videoPidEdit"), "0");
    clickOk(dialog.get());
    EXPECT_EQ(lastMessage(), "Video PID error!\nExpected digit 17..8190");
}

TEST_F(ProgramDialogTest, UnknownProviderIsAppendedOnceEvenWhenALaterCheckRefuses)
{
    openDialog(0, ProgramEditDialog::MODE_EDIT);
    setText(dialog.get(), "providerCombo", "Newcomer with a long name");
    setText(dialog.get(), "serviceIdEdit", "70000");
    clickOk(dialog.get());
    EXPECT_EQ(lastMessage(), "Service ID error!\nExpected digit 0..65535");
    ASSERT_EQ(db.providerCount(), 4);
    EXPECT_EQ(nameText(record(db, DBT_PROVIDER, 3).name[0]), "Newcomer with a");

    setText(dialog.get(), "serviceIdEdit", "7");
    clickOk(dialog.get());
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(db.providerCount(), 4);
    EXPECT_EQ(record(db, DBT_PROGRAM, 0).field[progf::PROVIDER], 3);

    // A known name, marker or not, is found; an empty text is a provider name too.
    openDialog(0, ProgramEditDialog::MODE_EDIT);
    setText(dialog.get(), "providerCombo", "Beta");
    clickOk(dialog.get());
    EXPECT_EQ(record(db, DBT_PROGRAM, 0).field[progf::PROVIDER], 1);
    openDialog(0, ProgramEditDialog::MODE_EDIT);
    setText(dialog.get(), "providerCombo", "");
    clickOk(dialog.get());
    EXPECT_EQ(db.providerCount(), 5);
    EXPECT_EQ(record(db, DBT_PROGRAM, 0).field[progf::PROVIDER], 4);
    expectSound();
}

TEST_F(ProgramDialogTest, AddedProgramsGoToTheirPartOfTheTable)
{
    // TV at a position inside the radio part: first place; favourites follow the move.
    openDialog(5, ProgramEditDialog::MODE_ADD);
    EXPECT_EQ(dialog->windowTitle(), "Add program");
    auto* tv = child<QRadioButton>(dialog.get(), "tvRadio");
    EXPECT_TRUE(tv->isEnabled());
    EXPECT_TRUE(child<QRadioButton>(dialog.get(), "radioRadio")->isChecked()); // position 5 is radio
    EXPECT_EQ(textOf(dialog.get(), "serviceIdEdit"), "0");
    EXPECT_EQ(textOf(dialog.get(), "satelliteCombo"), "Astra 1E-2C"); // the row's satellite
    QTest::mouseClick(tv, Qt::LeftButton, {}, QPoint(4, tv->height() / 2));
    setText(dialog.get(), "nameEdit", "NewTV");
    setText(dialog.get(), "providerCombo", "Gamma");
    clickOk(dialog.get());
    ASSERT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->programIndex(), 0);
    EXPECT_EQ(programName(db, 0), "NewTV");
    EXPECT_EQ(db.tvProgramCount(), 5);
    EXPECT_EQ(db.programCount(), 7);
    EXPECT_EQ(db.pendingInsertKind(), -1);
    EXPECT_TRUE(favourite(0, 1) && favourite(0, 5) && favourite(2, 2)); // renumbered
    EXPECT_FALSE(favourite(0, 0));

    // Radio at a position inside the TV part: first radio place.
    openDialog(1, ProgramEditDialog::MODE_ADD);
    auto* radio = child<QRadioButton>(dialog.get(), "radioRadio");
    QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(4, radio->height() / 2));
    setText(dialog.get(), "nameEdit", "NewRadio");
    box("fav3Check")->setChecked(true);
    clickOk(dialog.get());
    EXPECT_EQ(dialog->programIndex(), 5);
    EXPECT_EQ(programName(db, 5), "NewRadio");
    EXPECT_EQ(db.tvProgramCount(), 5);
    EXPECT_TRUE(favourite(2, 5));
    expectSound();
}

TEST_F(ProgramDialogTest, ListFilterFixesTheKindOfANewProgram)
{
    browser.setFilter(SCOPE_RADIO);
    openDialog(-1, ProgramEditDialog::MODE_ADD);
    auto* radio = child<QRadioButton>(dialog.get(), "radioRadio");
    EXPECT_TRUE(radio->isChecked());
    EXPECT_FALSE(radio->isEnabled());
    EXPECT_EQ(combo("satelliteCombo")->currentIndex(), -1); // no row, no satellite
    EXPECT_EQ(combo("transponderCombo")->count(), 0);
    setText(dialog.get(), "providerCombo", "Alpha");
    clickOk(dialog.get());
    EXPECT_EQ(dialog->programIndex(), 4);
    EXPECT_EQ(db.tvProgramCount(), 4);
    EXPECT_EQ(record(db, DBT_PROGRAM, 4).field[progf::TRANSPONDER], 0); // no transponder chosen: the loaded 0

    browser.setFilter(SCOPE_TV);
    openDialog(-1, ProgramEditDialog::MODE_ADD);
    EXPECT_TRUE(child<QRadioButton>(dialog.get(), "tvRadio")->isChecked());
    EXPECT_FALSE(child<QRadioButton>(dialog.get(), "tvRadio")->isEnabled());
    expectSound();
}

TEST_F(ProgramDialogTest, TreeSelectionPreselectsANewProgramsCombos)
{
    browser.parentText = "Hotbird 2-8";
    browser.selectedText = "12000(V)";
    openDialog(0, ProgramEditDialog::MODE_ADD);
    EXPECT_EQ(textOf(dialog.get(), "satelliteCombo"), "Hotbird 2-8");
    EXPECT_EQ(textOf(dialog.get(), "transponderCombo"), "12000");
    setText(dialog.get(), "providerCombo", "Alpha");
    clickOk(dialog.get());
    EXPECT_EQ(record(db, DBT_PROGRAM, 0).field[progf::TRANSPONDER], 4);

    browser.parentText = "Providers";
    browser.selectedText = "Gamma";
    openDialog(0, ProgramEditDialog::MODE_ADD);
    EXPECT_EQ(textOf(dialog.get(), "providerCombo"), "Gamma");

    // A satellite without transponders: empty combo, the first one after picking another.
    browser.parentText = "Satellites";
    browser.selectedText = "Thor 2,3";
    openDialog(0, ProgramEditDialog::MODE_ADD);
    EXPECT_EQ(textOf(dialog.get(), "satelliteCombo"), "Thor 2,3");
    EXPECT_EQ(combo("transponderCombo")->count(), 0);
    pickText(combo("satelliteCombo"), "Hotbird 2-8");
    EXPECT_EQ(textOf(dialog.get(), "transponderCombo"), "11200");

    // Favourite lists and texts that match nothing leave the choice alone.
    browser.parentText = "Favs";
    browser.selectedText = "News";
    openDialog(4, ProgramEditDialog::MODE_ADD);
    EXPECT_EQ(textOf(dialog.get(), "satelliteCombo"), "Hotbird 2-8");
    EXPECT_EQ(textOf(dialog.get(), "providerCombo"), "");
    expectSound();
}

TEST_F(ProgramDialogTest, FavouriteBoxesSetTheMemberships)
{
    openDialog(0, ProgramEditDialog::MODE_EDIT);
    box("fav1Check")->setChecked(false);
    box("fav3Check")->setChecked(true);
    box("fav9Check")->setChecked(true);
    clickOk(dialog.get());
    EXPECT_FALSE(favourite(0, 0));
    EXPECT_TRUE(favourite(2, 0));
    EXPECT_TRUE(favourite(8, 0));
    EXPECT_TRUE(favourite(0, 4));
    EXPECT_EQ(db.computeCrc(), db.storedCrc());
    expectSound();
}

TEST_F(ProgramDialogTest, FailedReadsStopLoadingWithTheirCode)
{
    ProgramEditDialog d(db, browser, prompter);
    EXPECT_FALSE(d.load(6, ProgramEditDialog::MODE_EDIT));
    EXPECT_EQ(lastMessage(), "Error: 501->(-3)");
    db.raw().setU16(DatabaseImage::programOffset(0) + layout::prog::PROVIDER, 9);
    EXPECT_FALSE(d.load(0, ProgramEditDialog::MODE_EDIT));
    EXPECT_EQ(lastMessage(), "Error: 503->(-3)");
}

} // namespace
} // namespace satorix::test
