// The satellite dialog: how values are shown, the Default button, and the checks of OK.
#include <QCheckBox>
#include <QTest>
#include <memory>

#include "db/DatabaseBuilder.h"
#include "dialogs/DialogInput.h"
#include "dialogs/SatelliteEditDialog.h"
#include "tests/dialogs/DialogTestSupport.h"

namespace satorix::test {
namespace {

class SatelliteDialogTest : public DialogTest {
protected:
    SatelliteEditDialog* openDialog(const char* name)
    {
        dialog = std::make_unique<SatelliteEditDialog>(db, browser, prompter);
        EXPECT_TRUE(dialog->load(QString::fromLatin1(name)));
        open(dialog.get());
        return dialog.get();
    }
    QComboBox* combo(const char* name) { return child<QComboBox>(dialog.get(), name); }
    RecordView satellite(int index) const { return record(db, DBT_SATELLITE, index); }
    std::vector<int> fields(int index, std::initializer_list<int> which) const
    {
        std::vector<int> out;
        for (int f : which) out.push_back(satellite(index).field[static_cast<std::size_t>(f)]);
        return out;
    }
    int addSatellite(const SatelliteFields& fields) { return DatabaseBuilder(db).addSatellite(fields); }

    std::unique_ptr<SatelliteEditDialog> dialog;
};

TEST(PositionTextTest, ShownWithACommaAndReadLeniently)
{
    for (const auto& [tenths, text] : {std::pair{0, "0,0"}, {8, "0,8"}, {192, "19,2"}, {1800, "180,0"}})
        EXPECT_EQ(positionText(tenths), text);
    const std::pair<const char*, int> texts[] = {{"13.0", 130},  {"13,0", 130},  {"13,05", 130}, {"", 0},
                                                 {"-19,2", 192}, {"19,2E", 192}, {"abc", 0},     {" 7", 70}};
    for (const auto& [text, tenths] : texts) EXPECT_EQ(parsePositionText(QString::fromLatin1(text)), tenths) << text;
}

TEST_F(SatelliteDialogTest, PositionShownAndStored)
{
    EXPECT_EQ(textOf(openDialog("Thor 2,3"), "degreeEdit"), "0,8");
    setText(dialog.get(), "degreeEdit", "-13,05E");
    clickOk(dialog.get());
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(satellite(2).field[satf::POSITION], 130);
}

TEST_F(SatelliteDialogTest, DefaultFillsFromTheTableFoundByExactName)
{
    addSatellite({.id = 4,
                  .position = 5,
                  .name = "Terrestrial",
                  .lnbLowLo = 9000,
                  .tone22k = 1,
                  .diseqc12 = 1,
                  .eastWest = 'W',
                  .diseqc11Port = 18});
    SatelliteEditDialog* d = openDialog("Terrestrial");
    const auto defaults = [d](const char* name) {
        setText(d, "nameEdit", QString::fromLatin1(name));
        clickButton(d, "defaultButton");
        return textsOf(d, {"nameEdit", "degreeEdit", "eastWestCombo", "lnbLowCombo", "lnbHighCombo", "diseqc11Combo",
                           "toneCombo", "positionerEdit"});
    };
    EXPECT_EQ(defaults("Astra 1E-2C"), QStringList({"Astra 1E-2C", "19,2", "E", "9750", "10600", "OFF", "AUTO", "2"}));
    EXPECT_FALSE(child<QCheckBox>(d, "diseqc12Check")->isChecked());
    EXPECT_EQ(satellite(3).field[satf::LNB_LOW], 9000); // nothing written before OK
    EXPECT_EQ(defaults("Terrestrial").mid(1, 6), QStringList({"0,0", "E", "5150", "5150", "OFF", "OFF"}));
    combo("eastWestCombo")->setCurrentIndex(1);
    EXPECT_EQ(defaults("Paksat1-C").value(2), "E");

    setText(d, "degreeEdit", "1,5");
    EXPECT_EQ(defaults("astra 1E-2C").value(1), "1,5"); // the name must match exactly
    EXPECT_EQ(lastMessage(), "Cannot find predefined sat parameters.");
}

TEST_F(SatelliteDialogTest, LnbValuesTypedPickedAndUntouched)
{
    addSatellite({.id = 4, .name = "Odd", .lnbLowLo = 9000, .lnbHighLo = 0});
    SatelliteEditDialog* d = openDialog("Odd");
    EXPECT_EQ(std::tuple(combo("lnbLowCombo")->currentIndex(), combo("lnbLowCombo")->count()), std::tuple(0, 8));
    EXPECT_EQ(textsOf(d, {"lnbLowCombo", "lnbHighCombo"}), QStringList({"9000", "0"}));
    clickOk(d);
    EXPECT_EQ(fields(3, {satf::LNB_LOW, satf::LNB_HIGH}), std::vector<int>({9000, 0})); // item 0 needs no range check

    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"lnbHighCombo", "3349", "LNB Upper LO Range expected 3350...14900"},
        {"lnbHighCombo", "14901", "LNB Upper LO Range expected 3350...14900"},
        {"lnbLowCombo", "GHz", "LNB Lower LO Range expected 3350...14900"},
    };
    for (const auto& [field, text, message] : cases) {
        setText(openDialog("Odd"), field, QString::fromLatin1(text));
        clickOk(dialog.get());
        EXPECT_EQ(lastMessage(), message) << field << " " << text;
        EXPECT_TRUE(dialog->isVisible());
    }
    setText(openDialog("Odd"), "lnbLowCombo", "-10600");
    setText(dialog.get(), "lnbHighCombo", "14900");
    clickOk(dialog.get());
    EXPECT_EQ(fields(3, {satf::LNB_LOW, satf::LNB_HIGH}), std::vector<int>({10600, 14900}));
    openDialog("Odd");
    pickText(combo("lnbHighCombo"), "11475");
    clickOk(dialog.get());
    EXPECT_EQ(satellite(3).field[satf::LNB_HIGH], 11475);
}

TEST_F(SatelliteDialogTest, DiseqcInputsAboveNineAreStoredFromSixteen)
{
    addSatellite({.id = 4, .name = "P16", .diseqc11Port = 16});
    addSatellite({.id = 5, .name = "P22", .diseqc11Port = 22});
    addSatellite({.id = 6, .name = "P12", .diseqcMode = 9, .tone22k = 7, .diseqc11Port = 12});
    EXPECT_EQ(textOf(openDialog("P16"), "diseqc11Combo"), "10");
    EXPECT_EQ(textOf(openDialog("P22"), "diseqc11Combo"), "16");
    SatelliteEditDialog* d = openDialog("P12");
    for (const char* c : {"diseqc11Combo", "diseqcModeCombo", "toneCombo"})
        EXPECT_EQ(combo(c)->currentIndex(), -1) << c;
    clickOk(d);
    EXPECT_EQ(fields(5, {satf::DISEQC11, satf::DISEQC_MODE, satf::TONE22K}), std::vector<int>({12, 9, 7}));

    openDialog("P12");
    pickText(combo("diseqc11Combo"), "11");
    pickText(combo("diseqcModeCombo"), "Tone Burst B");
    pickText(combo("toneCombo"), "ON");
    clickOk(dialog.get());
    EXPECT_EQ(fields(5, {satf::DISEQC11, satf::DISEQC_MODE, satf::TONE22K}), std::vector<int>({17, 6, 1}));
}

TEST_F(SatelliteDialogTest, PositionerChecksAndTheNameWrittenAtOnce)
{
    SatelliteEditDialog* d = openDialog("Astra 1E-2C");
    EXPECT_EQ(browser.lastSatelliteName, "Astra 1E-2C");
    setText(d, "nameEdit", "Astra Renamed");
    setText(d, "positionerEdit", "201");
    clickOk(d);
    EXPECT_EQ(lastMessage(),
              "Your designated value is beyond the limited range,\n please input proper value(28 ~ 200)");
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(browser.lastSatelliteName, "Astra Renamed");
    // Cancelled after a refusal: the name written at once stays, nothing else is stored.
    QTest::keyClick(d, Qt::Key_Escape);
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(std::tuple(nameText(satellite(0).name[0]), satellite(0).field[satf::POSITIONER]),
              std::tuple(QString("Astra Renamed"), 2));

    d = openDialog("Astra Renamed");
    setText(d, "positionerEdit", "26");
    clickOk(d);
    EXPECT_EQ(lastMessage(), "Thor 2,3(26) already exist as given DisEqC 1.2 position!");
    EXPECT_EQ(prompter.messages.back().icon, PromptIcon::Stop);

    for (const char* text : {"abc", "-3"}) {
        setText(d, "positionerEdit", QString::fromLatin1(text));
        clickOk(d);
        EXPECT_TRUE(d->isVisible()) << text;
    }
    // The satellite's own number needs no search; an empty field clears it.
    for (const auto& [name, text, index, stored] :
         {std::tuple{"Astra Renamed", "200", 0, 200}, {"Hotbird 2-8", "1", 1, 1}, {"Hotbird 2-8", "", 1, 0}}) {
        setText(openDialog(name), "positionerEdit", text);
        clickOk(dialog.get());
        EXPECT_FALSE(dialog->isVisible()) << text;
        EXPECT_EQ(satellite(index).field[satf::POSITIONER], stored) << text;
    }
}

} // namespace
} // namespace satorix::test
