// The transponder delete dialog: preselection, the question, and deleting the programs first.

#include "dialogs/TransponderDeleteDialog.h"
#include "db/DatabaseBuilder.h"
#include "tests/dialogs/DialogTestSupport.h"

namespace satorix::test {
namespace {

TEST_F(DialogTest, TransponderDeletePreselectsAsksAndDeletesTheProgramsFirst)
{
    std::unique_ptr<TransponderDeleteDialog> d;
    const auto run = [&](int transponder, int frequency, PromptAnswer answer, const char* shown) {
        browser.lastTransponderFrequency = frequency;
        show(d, transponder);
        EXPECT_EQ(std::pair(browser.lastTransponderFrequency, textOf(d.get(), "transponderCombo")),
                  std::pair(-1, QString(shown)));
        prompter.answers.push_back(answer);
        clickOk(d.get());
        EXPECT_EQ(d->result(), QDialog::Accepted); // No too ends the dialog with OK
    };
    // Two 11000 transponders: the one right-clicked is preselected, and the items tell them apart.
    run(2, 11000, PromptAnswer::No, "11000(H) 27500");
    auto* transponders = child<QComboBox>(d.get(), "transponderCombo");
    EXPECT_EQ(std::tuple(transponders->currentIndex(), transponders->itemText(1), browser.lastTransponderFrequency,
                         db.transponderCount()),
              std::tuple(2, QString("11000(V) 22000"), -1, 5));
    run(4, 12000, PromptAnswer::Yes, "12000(V) 27500"); // no program uses it
    EXPECT_EQ(std::tuple(browser.lastTransponderFrequency, db.transponderCount(), db.programCount()),
              std::tuple(12000, 4, 6));

    // Programs 0, 1 (right behind), 2 and 4 use transponder 0.
    DatabaseBuilder(db).addRadioProgram({.name = "R3", .transponder = 3});
    db.raw().setU16(DatabaseImage::programOffset(1) + layout::prog::TRANSPONDER, 0);
    prompter.clear();
    run(0, 10700, PromptAnswer::Yes, "10700(H) 27500");
    auto* satellite = child<QComboBox>(d.get(), "satelliteCombo");
    EXPECT_EQ(std::tuple(satellite->isEnabled(), satellite->currentText(), d->windowTitle()),
              std::tuple(false, QString("Astra 1E-2C"), QString("Transponder Delete")));
    EXPECT_EQ(prompter.texts(),
              QStringList({"Do you realy want to delete transponder 10700 (MHz)\nfrom satellite: Astra 1E-2C"}));
    EXPECT_EQ(prompter.messages.back().buttons, PromptButtons::YesNo);
    EXPECT_EQ(
        std::vector({browser.lastTransponderFrequency, db.programCount(), db.tvProgramCount(), db.transponderCount(),
                     record(db, DBT_PROGRAM, 0).field[progf::TRANSPONDER], db.favCount(0)}),
        std::vector({10700, 3, 1, 3, 2, 0})); // indices behind the deleted one moved down
    EXPECT_EQ(std::pair(programName(db, 0), db.computeCrc()), std::pair(std::string("Four"), db.storedCrc()));
}

} // namespace
} // namespace satorix::test
