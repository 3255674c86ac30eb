// The transponder delete dialog: preselection, the question, and deleting the programs first.
#include <QDialogButtonBox>
#include <QPushButton>
#include <memory>

#include "db/DatabaseBuilder.h"
#include "dialogs/TransponderDeleteDialog.h"
#include "tests/dialogs/DialogTestSupport.h"

namespace satorix::test {
namespace {

class DeleteDialogTest : public DialogTest {
protected:
    TransponderDeleteDialog* openDialog(int transponder, int frequency)
    {
        browser.lastTransponderFrequency = frequency;
        dialog = std::make_unique<TransponderDeleteDialog>(db, browser, prompter);
        EXPECT_TRUE(dialog->load(transponder));
        open(dialog.get());
        return dialog.get();
    }
    int programsOn(int transponder) const
    {
        int n = 0;
        for (int i = 0; i < db.programCount(); ++i) n += record(db, DBT_PROGRAM, i).field[progf::TRANSPONDER] == transponder;
        return n;
    }

    std::unique_ptr<TransponderDeleteDialog> dialog;
};

TEST_F(DeleteDialogTest, YesDeletesEveryProgramOnTheTransponderThenTheTransponder)
{
    // Programs 0, 2 (not adjacent) and 4 use transponder 0; one more right behind program 0.
    DatabaseBuilder(db).addRadioProgram({.name = "R3", .transponder = 3});
    db.raw().setU16(DatabaseImage::programOffset(1) + layout::prog::TRANSPONDER, 0);
    db.raw().setU16(DatabaseImage::programOffset(3) + layout::prog::TRANSPONDER, 4);
    ASSERT_EQ(programsOn(0), 4);

    TransponderDeleteDialog* d = openDialog(0, 10700);
    EXPECT_EQ(browser.lastTransponderFrequency, -1);
    auto* satellite = child<QComboBox>(d, "satelliteCombo");
    EXPECT_FALSE(satellite->isEnabled());
    EXPECT_EQ(satellite->currentText(), "Astra 1E-2C");
    EXPECT_EQ(textOf(d, "transponderCombo"), "10700(H) 27500");
    EXPECT_EQ(d->windowTitle(), "Transponder Delete");

    prompter.answers.push_back(PromptAnswer::Yes);
    clickOk(d);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(lastMessage(), "Do you realy want to delete transponder 10700 (MHz)\nfrom satellite: Astra 1E-2C");
    EXPECT_EQ(prompter.messages.back().buttons, PromptButtons::YesNo);
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(browser.lastTransponderFrequency, 10700);
    EXPECT_EQ(db.programCount(), 3);
    EXPECT_EQ(db.tvProgramCount(), 1);
    EXPECT_EQ(programName(db, 0), "Four");
    EXPECT_EQ(db.transponderCount(), 4);
    EXPECT_EQ(record(db, DBT_PROGRAM, 0).field[progf::TRANSPONDER], 3); // indices behind the deleted one moved down
    EXPECT_EQ(db.favCount(0), 0);
    EXPECT_EQ(db.computeCrc(), db.storedCrc());
}

TEST_F(DeleteDialogTest, PreselectionNoAndAnUnusedTransponder)
{
    // Two 11000 transponders: the one right-clicked is preselected, and the items tell them apart.
    TransponderDeleteDialog* d = openDialog(2, 11000);
    auto* transponders = child<QComboBox>(d, "transponderCombo");
    EXPECT_EQ(transponders->currentIndex(), 2);
    EXPECT_EQ(transponders->itemText(1), "11000(V) 22000");
    EXPECT_EQ(transponders->itemText(2), "11000(H) 27500");
    // No deletes nothing, yet the dialog ends with OK.
    prompter.answers.push_back(PromptAnswer::No);
    clickOk(d);
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(browser.lastTransponderFrequency, -1);
    EXPECT_EQ(db.transponderCount(), 5);

    d = openDialog(4, 12000);
    EXPECT_EQ(textOf(d, "transponderCombo"), "12000(V) 27500");
    prompter.answers.push_back(PromptAnswer::Yes);
    clickOk(d);
    EXPECT_EQ(browser.lastTransponderFrequency, 12000);
    EXPECT_EQ(db.transponderCount(), 4);
    EXPECT_EQ(db.programCount(), 6);
}

} // namespace
} // namespace satorix::test
