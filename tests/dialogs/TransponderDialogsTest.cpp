// The transponder dialogs: the tree's and the list's with their shared field check, and the delete dialog.
#include <QPushButton>

#include "db/DatabaseBuilder.h"
#include "dialogs/ProgramTransponderDialog.h"
#include "dialogs/TransponderDeleteDialog.h"
#include "dialogs/TransponderEditDialog.h"
#include "dialogs/TransponderFieldCheck.h"
#include "tests/dialogs/DialogTestSupport.h"

namespace satorix::test {
namespace {

constexpr int ADD = MODE_ADD_TRANSPONDER, EDIT = MODE_EDIT_TRANSPONDER;
// What the messages call the five fields, in the order the dialogs check them, and their ranges.
const char* const NAMES[] = {"Frequency", "Symbolrate", "Transport Stream ID", "Network ID", "Oryginal Network ID"};
const char* const RANGES[] = {"1000..13000", "1000..50000", "0..65535", "0..65535", "0..65535"};
const char* const FIELDS[] = {"", "symbolRateEdit", "transportStreamIdEdit", "networkIdEdit", "originalNetworkIdEdit"};

class TransponderDialogTest : public DialogTest {
protected:
    const char* field(QDialog* d, int k)
    {
        return k ? FIELDS[k] : d == tree.get() ? "frequencyEdit" : "frequencyCombo";
    }
    // The five fields, with what the first transponder holds but for its frequency.
    void fill(QDialog* d, const char* frequency, const char* symbolRate = "27500")
    {
        const char* texts[] = {frequency, symbolRate, "1", "2", "3"};
        for (int k = 0; k < 5; ++k) setText(d, field(d, k), texts[k]);
    }
    // Satellite id, frequency, polarisation, symbol rate, FEC and TSID of a transponder.
    std::vector<int> stored(int index) const
    {
        const RecordView t = record(db, DBT_TRANSPONDER, index);
        return {t.field[tpf::SAT_ID],      t.field[tpf::FREQUENCY], t.field[tpf::POLARISATION],
                t.field[tpf::SYMBOL_RATE], t.field[tpf::FEC],       t.field[tpf::TSID]};
    }

    std::unique_ptr<TransponderEditDialog> tree;
    std::unique_ptr<ProgramTransponderDialog> list;
};

TEST_F(TransponderDialogTest, FieldRangesAndBothDialogsCheckEveryFieldInOrderAndFocusTheRefusedOne)
{
    using F = TransponderField;
    const auto refusal = [](int f, const QString& text) {
        return QString("Unknown %1 value: %2!\nYou must enter value %3").arg(NAMES[f], text.left(11), RANGES[f]);
    };
    // value -1: refused, the message naming the text up to its eleventh character
    const std::tuple<F, const char*, int> cases[] = {
        {F::Frequency, "999", -1},       {F::Frequency, "13001", -1},           {F::Frequency, "-5", -1},
        {F::Frequency, "", -1},          {F::Frequency, "000000000011000", -1}, {F::Frequency, "1000", 1000},
        {F::Frequency, "13000", 13000},  {F::Frequency, "11000abc", 11000},     {F::SymbolRate, "999", -1},
        {F::SymbolRate, "50001", -1},    {F::SymbolRate, "50000", 50000},       {F::TransportStreamId, "65536", -1},
        {F::TransportStreamId, "0", 0},  {F::NetworkId, "70000", -1},           {F::NetworkId, "65535", 65535},
        {F::OriginalNetworkId, "x", -1}, {F::OriginalNetworkId, "-1", -1}};
    for (const auto& [which, text, expected] : cases) {
        SCOPED_TRACE(text);
        prompter.clear();
        std::int32_t value = -7;
        EXPECT_EQ(checkTransponderField(which, QString::fromLatin1(text), prompter, value), expected >= 0);
        EXPECT_EQ(value, expected >= 0 ? expected : -7);
        EXPECT_EQ(prompter.texts(), expected >= 0 ? QStringList() : QStringList({refusal(int(which), text)}));
        for (const auto& m : prompter.messages) EXPECT_EQ(m.icon, PromptIcon::Stop);
    }

    for (const bool fromTree : {true, false}) {
        for (int bad = 0; bad < 5; ++bad) {
            SCOPED_TRACE(std::string(fromTree ? "tree " : "list ") + NAMES[bad]);
            prompter.clear();
            QDialog* d = fromTree ? static_cast<QDialog*>(show(tree, 3, EDIT)) : show(list, 3, EDIT);
            fill(d, "11000");
            for (int k = bad; k < 5; ++k) setText(d, field(d, k), "x");
            clickOk(d);
            EXPECT_EQ(std::pair(prompter.texts(), d->isVisible()), std::pair(QStringList({refusal(bad, "x")}), true));
            auto* refused = child<QWidget>(d, field(d, bad));
            EXPECT_TRUE(d->focusWidget() == refused || d->focusWidget()->parent() == refused);
            auto* combo = qobject_cast<QComboBox*>(refused);
            EXPECT_EQ((combo ? combo->lineEdit() : qobject_cast<QLineEdit*>(refused))->selectedText(), "x");
        }
        QDialog* d = fromTree ? static_cast<QDialog*>(tree.get()) : list.get();
        fill(d, fromTree ? "13000" : "1000", "50000");
        clickOk(d);
        EXPECT_EQ(std::pair(stored(3)[1], stored(3)[3]), std::pair(fromTree ? 13000 : 1000, 50000));
    }
}

TEST_F(TransponderDialogTest, TreeAndListDialogsEditAndAdd)
{
    browser.lastTransponderFrequency = 1234;
    TransponderEditDialog* d = show(tree, 0, EDIT, "10700(H)", "");
    EXPECT_EQ(std::tuple(d->windowTitle(), browser.lastTransponderFrequency,
                         child<QLineEdit>(d, "satelliteEdit")->isEnabled()),
              std::tuple(QString("Edit transponder"), -1, false));
    EXPECT_EQ(textsOf(d, {"satelliteEdit", "frequencyEdit", "fec3"}), QStringList({"Astra 1E-2C", "10700", "on"}));

    okWith(d, {{"frequencyEdit", "10800"}, {"symbolRateEdit", "50001"}});
    EXPECT_EQ(std::pair(d->isVisible(), browser.lastTransponderFrequency), std::pair(true, 10800));
    setText(d, "frequencyEdit", "1");
    setText(d, "transportStreamIdEdit", "9");
    click(d, "restoreButton");
    EXPECT_EQ(textsOf(d, {"frequencyEdit", "symbolRateEdit", "transportStreamIdEdit"}),
              QStringList({"10800", "27500", "1"}));
    d->reject();
    EXPECT_EQ(std::pair(browser.lastTransponderFrequency, stored(0)[1]), std::pair(-1, 10700));

    // findTransponder gives 1 for both 11000 nodes; the caret after an equal node is index 2.
    EXPECT_EQ(show(tree, 1, EDIT, "11000(V)", "10700(H)")->transponderIndex(), 1);
    EXPECT_EQ((d = show(tree, 1, EDIT, "11000(H)", "11000(V)"))->transponderIndex(), 2);
    // Its FEC (4) has no button: none is checked, and it is stored unchanged.
    EXPECT_EQ(textsOf(d, {"pol0", "fec0", "fec1", "fec2", "fec3", "fec5", "fec7"}),
              QStringList({"on"}) + QStringList(6, "off"));
    click(d, "pol1");
    okWith(d, {{"symbolRateEdit", "30000"}});
    EXPECT_EQ(std::pair(d->isVisible(), d->polarisation()), std::pair(false, 1));
    EXPECT_EQ(stored(2), std::vector({1, 11000, 1, 30000, 4, 0}));
    EXPECT_TRUE(stored(1)[3] == 22000 && db.computeCrc() == db.storedCrc());

    d = show(tree, 3, ADD);
    EXPECT_EQ(std::pair(d->windowTitle(), child<QPushButton>(d, "restoreButton")->isEnabled()),
              std::pair(QString("Add transponder"), false));
    EXPECT_EQ(textsOf(d, {"satelliteEdit", "frequencyEdit", "pol0", "fec0"}),
              QStringList({"Thor 2,3", "", "on", "on"}));
    for (const auto& [open, frequency] : {std::pair{false, 11500}, {true, -10}}) {
        fill(d = show(tree, 3, ADD), "11500");
        clickOk(d);
        EXPECT_EQ(std::tuple(d->isVisible(), browser.lastTransponderFrequency, db.transponderCount(),
                             db.findTransponder(3, 11500)),
                  std::tuple(open, frequency, 6, 5));
    }
    EXPECT_EQ(lastMessage(), "Transponder with entered values exist");
    d->reject();
    EXPECT_EQ(browser.lastTransponderFrequency, -1);

    // The list's dialog: program 1 is on transponder 1 (11000 V); transponder 2 has the same frequency.
    ProgramTransponderDialog* p = show(list, 1, EDIT);
    auto* frequency = child<QComboBox>(p, "frequencyCombo");
    EXPECT_EQ(std::tuple(p->windowTitle(), frequency->count(), frequency->currentIndex()),
              std::tuple(QString("Edit transponder"), 3, 2));
    EXPECT_EQ(textsOf(p, {"satelliteCombo", "symbolRateEdit"}), QStringList({"Astra 1E-2C", "22000"}));
    pickText(frequency, "10700");
    EXPECT_EQ(std::pair(frequency->currentIndex(), textsOf(p, {"frequencyCombo", "transportStreamIdEdit", "fec3"})),
              std::pair(2, QStringList({"10700", "1", "on"})));
    okWith(p, {{"frequencyCombo", "10900"}});
    EXPECT_EQ(std::tuple(p->isVisible(), stored(0)[1], stored(2)), // the template's values
              std::tuple(false, 10700, std::vector({1, 10900, 0, 27500, 3, 1})));

    for (const bool again : {false, true}) {
        p = show(list, 0, ADD);
        auto* frequency = child<QComboBox>(p, "frequencyCombo");
        EXPECT_EQ(std::tuple(p->windowTitle(), frequency->currentIndex(), textOf(p, "pol0")),
                  std::tuple(QString("Add transponder"), -1, QString("on")));
        pickText(child<QComboBox>(p, "satelliteCombo"), "Hotbird 2-8");
        EXPECT_EQ(frequency->count(), again ? 3 : 2);
        fill(p, "11200"); // equal to transponder 3 but for its polarisation; the second time a duplicate
        clickOk(p);
        ASSERT_EQ(std::pair(p->isVisible(), db.transponderCount()), std::pair(again, 7));
        // After the equal frequency on the same satellite; the one behind moves up.
        EXPECT_EQ(std::pair(stored(4), stored(5)[1]), std::pair(std::vector({2, 11200, 0, 27500, 0, 1}), 12000));
    }
    EXPECT_EQ(lastMessage(), "Transponder with entered values exist");
}

TEST_F(TransponderDialogTest, DeletePreselectsAsksAndDeletesTheProgramsFirst)
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
