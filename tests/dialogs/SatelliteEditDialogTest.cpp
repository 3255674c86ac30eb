// The satellite dialog: how values are shown, the Default button, and the checks of OK.

#include "dialogs/SatelliteEditDialog.h"
#include "db/DatabaseBuilder.h"
#include "dialogs/DialogInput.h"
#include "tests/dialogs/DialogTestSupport.h"

namespace satorix::test {
namespace {

class SatelliteDialogTest : public DialogTest {
protected:
    SatelliteEditDialog* openDialog(const char* name) { return show(d, QString::fromLatin1(name)); }
    QDialog* ok(const char* name, Texts texts) { return okWith(openDialog(name), texts); }
    QComboBox* combo(const char* name) { return child<QComboBox>(d.get(), name); }
    std::vector<int> fields(int index, std::initializer_list<int> which) const
    {
        std::vector<int> out;
        for (int f : which) out.push_back(record(db, DBT_SATELLITE, index).field[static_cast<std::size_t>(f)]);
        return out;
    }

    std::unique_ptr<SatelliteEditDialog> d;
};

TEST_F(SatelliteDialogTest, DefaultFillsFromTheTableFoundByExactName)
{
    // id, position, name, LNB LOs, DiSEqC mode, tone, DiSEqC 1.2, positioner, east/west, DiSEqC 1.1 input
    DatabaseBuilder(db).addSatellite({4, 5, "Terrestrial", 9000, 10600, 0, 1, 1, 0, 'W', 18});
    openDialog("Terrestrial");
    EXPECT_EQ(browser.lastSatelliteName, "Terrestrial");
    const auto defaults = [this](const char* name) {
        setText(d.get(), "nameEdit", QString::fromLatin1(name));
        click(d.get(), "defaultButton");
        return textsOf(d.get(), {"nameEdit", "degreeEdit", "eastWestCombo", "lnbLowCombo", "lnbHighCombo",
                                 "diseqc11Combo", "toneCombo", "positionerEdit", "diseqc12Check"});
    };
    EXPECT_EQ(defaults("Astra 1E-2C"),
              QStringList({"Astra 1E-2C", "19,2", "E", "9750", "10600", "OFF", "AUTO", "2", "off"}));
    EXPECT_EQ(fields(3, {satf::LNB_LOW}), std::vector({9000})); // nothing written before OK
    EXPECT_EQ(defaults("Terrestrial").mid(1, 6), QStringList({"0,0", "E", "5150", "5150", "OFF", "OFF"}));
    combo("eastWestCombo")->setCurrentIndex(1);
    EXPECT_EQ(defaults("Paksat1-C").value(2), "E");

    setText(d.get(), "degreeEdit", "1,5");
    EXPECT_EQ(defaults("astra 1E-2C").value(1), "1,5"); // the name must match exactly
    EXPECT_EQ(lastMessage(), "Cannot find predefined sat parameters.");
}

TEST_F(SatelliteDialogTest, PositionLnbAndDiseqcValuesTypedPickedAndUntouched)
{
    // Positions are shown with a comma and read leniently.
    for (const auto& [tenths, text] : {std::pair{0, "0,0"}, {8, "0,8"}, {192, "19,2"}, {1800, "180,0"}})
        EXPECT_EQ(positionText(tenths), text);
    const std::pair<const char*, int> texts[] = {{"13.0", 130},  {"13,0", 130},  {"13,05", 130}, {"", 0},
                                                 {"-19,2", 192}, {"19,2E", 192}, {"abc", 0},     {" 7", 70}};
    for (const auto& [text, tenths] : texts) EXPECT_EQ(parsePositionText(QString::fromLatin1(text)), tenths) << text;

    EXPECT_EQ(textOf(openDialog("Thor 2,3"), "degreeEdit"), "0,8");
    EXPECT_FALSE(ok("Thor 2,3", {{"degreeEdit", "-13,05E"}})->isVisible());
    EXPECT_EQ(fields(2, {satf::POSITION}), std::vector({130}));

    DatabaseBuilder b(db);
    b.addSatellite({.id = 4, .name = "Odd", .lnbLowLo = 9000, .lnbHighLo = 0});
    openDialog("Odd");
    EXPECT_EQ(std::tuple(combo("lnbLowCombo")->currentIndex(), combo("lnbLowCombo")->count()), std::tuple(0, 8));
    EXPECT_EQ(textsOf(d.get(), {"lnbLowCombo", "lnbHighCombo"}), QStringList({"9000", "0"}));
    clickOk(d.get());
    EXPECT_EQ(fields(3, {satf::LNB_LOW, satf::LNB_HIGH}), std::vector({9000, 0})); // item 0 needs no range check

    for (const auto& [field, text, which] : {std::tuple{"lnbHighCombo", "3349", "Upper"},
                                             {"lnbHighCombo", "14901", "Upper"},
                                             {"lnbLowCombo", "GHz", "Lower"}}) {
        EXPECT_TRUE(ok("Odd", {{field, text}})->isVisible()) << text;
        EXPECT_EQ(lastMessage(), QString("LNB %1 LO Range expected 3350...14900").arg(which)) << text;
    }
    ok("Odd", {{"lnbLowCombo", "-10600"}, {"lnbHighCombo", "14900"}});
    EXPECT_EQ(fields(3, {satf::LNB_LOW, satf::LNB_HIGH}), std::vector({10600, 14900}));
    // DiSEqC inputs above 9 are stored from 16 on.
    openDialog("Odd");
    for (const auto& [c, text] : {std::pair{"lnbHighCombo", "11475"},
                                  {"diseqc11Combo", "11"},
                                  {"diseqcModeCombo", "Tone Burst B"},
                                  {"toneCombo", "ON"}})
        pickText(combo(c), text);
    clickOk(d.get());
    EXPECT_EQ(fields(3, {satf::LNB_HIGH, satf::DISEQC11, satf::DISEQC_MODE, satf::TONE22K}),
              std::vector({11475, 17, 6, 1}));

    b.addSatellite({.id = 5, .name = "P16", .diseqc11Port = 16});
    b.addSatellite({.id = 6, .name = "P22", .diseqc11Port = 22});
    b.addSatellite({.id = 7, .name = "P12", .diseqcMode = 9, .tone22k = 7, .diseqc11Port = 12});
    EXPECT_EQ(std::pair(textOf(openDialog("P16"), "diseqc11Combo"), textOf(openDialog("P22"), "diseqc11Combo")),
              std::pair(QString("10"), QString("16")));
    openDialog("P12");
    for (const char* c : {"diseqc11Combo", "diseqcModeCombo", "toneCombo"})
        EXPECT_EQ(combo(c)->currentIndex(), -1) << c;
    clickOk(d.get());
    EXPECT_EQ(fields(6, {satf::DISEQC11, satf::DISEQC_MODE, satf::TONE22K}), std::vector({12, 9, 7}));
}

TEST_F(SatelliteDialogTest, PositionerChecksAndTheNameWrittenAtOnce)
{
    ok("Astra 1E-2C", {{"nameEdit", "Astra Renamed"}, {"positionerEdit", "201"}});
    EXPECT_EQ(lastMessage(),
              "Your designated value is beyond the limited range,\n please input proper value(28 ~ 200)");
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(browser.lastSatelliteName, "Astra Renamed");
    // Cancelled after a refusal: the name written at once stays, nothing else is stored.
    QTest::keyClick(d.get(), Qt::Key_Escape);
    EXPECT_EQ(std::tuple(d->isVisible(), nameText(record(db, DBT_SATELLITE, 0).name[0]), fields(0, {satf::POSITIONER})),
              std::tuple(false, QString("Astra Renamed"), std::vector({2})));

    ok("Astra Renamed", {{"positionerEdit", "26"}});
    EXPECT_EQ(lastMessage(), "Thor 2,3(26) already exist as given DisEqC 1.2 position!");
    EXPECT_EQ(prompter.messages.back().icon, PromptIcon::Stop);
    for (const char* text : {"abc", "-3"}) EXPECT_TRUE(ok("Astra Renamed", {{"positionerEdit", text}})->isVisible());
    // The satellite's own number needs no search; an empty field clears it.
    for (const auto& [name, text, index, stored] :
         {std::tuple{"Astra Renamed", "200", 0, 200}, {"Hotbird 2-8", "1", 1, 1}, {"Hotbird 2-8", "", 1, 0}}) {
        EXPECT_FALSE(ok(name, {{"positionerEdit", text}})->isVisible()) << text;
        EXPECT_EQ(fields(index, {satf::POSITIONER}), std::vector({stored})) << text;
    }
}

} // namespace
} // namespace satorix::test
