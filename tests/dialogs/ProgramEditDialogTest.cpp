// The program dialog: loading, the checks of OK in order, insertion places, providers and lists.
#include <QAbstractButton>

#include "db/Names.h"
#include "dialogs/DialogInput.h"
#include "dialogs/EditDialogSet.h"
#include "dialogs/ProgramEditDialog.h"
#include "tests/dialogs/DialogTestSupport.h"

namespace satorix::test {
namespace {

constexpr int ADD = ProgramEditDialog::MODE_ADD, EDIT = ProgramEditDialog::MODE_EDIT;

class ProgramDialogTest : public DialogTest {
protected:
    QDialog* openDialog(int index, int mode = EDIT) { return show(d, index, mode); }
    QDialog* edit(int index, Texts texts) { return okWith(openDialog(index), texts); }
    QAbstractButton* button(const char* name) { return child<QAbstractButton>(d.get(), name); }
    int field(int index, int f) const { return record(db, DBT_PROGRAM, index).field[f]; }
    std::uint32_t lists(int program) const // the favourite lists holding it, as scope bits
    {
        std::uint32_t mask = 0;
        return db.favouriteMask(program, mask) == 0 ? mask : ~0u;
    }

    std::unique_ptr<ProgramEditDialog> d;
};

TEST_F(ProgramDialogTest, EditShowsTheProgramAndStoresNamesFlagsFavouritesAndProviders)
{
    EXPECT_EQ(openDialog(2)->windowTitle(), "Edit program");
    EXPECT_EQ(textsOf(d.get(), {"nameEdit", "providerCombo", "satelliteCombo", "transponderCombo", "videoPidEdit",
                                "fav1Name", "scpcCheck", "scrambledCheck", "tvRadio"}),
              QStringList({"Marked", "Beta", "Astra 1E-2C", "10700", "101", "News", "on", "on", "on"}));
    EXPECT_EQ(child<QLineEdit>(d.get(), "serviceIdEdit")->nextInFocusChain(), button("scrambledCheck"));
    EXPECT_EQ(std::tuple(child<QComboBox>(d.get(), "transponderCombo")->count(), button("tvRadio")->isEnabled(),
                         child<QLineEdit>(d.get(), "nameEdit")->maxLength()),
              std::tuple(3, false, 20));
    // A radio program in a list, without SCPC: empty, disabled PID fields.
    EXPECT_EQ(textsOf(openDialog(4), {"fav1Check", "fav2Check", "radioRadio", "videoPidEdit"}),
              QStringList({"on", "off", "on", ""}));
    EXPECT_FALSE(child<QLineEdit>(d.get(), "videoPidEdit")->isEnabled());

    edit(2, {{"nameEdit", "ABCDEFGHIJKLMNOPQRST"}});
    // A typed name takes the shortest bytes: no table byte where the default table holds it.
    EXPECT_EQ(programName(db, 2), "ABCDEFGHIJKLMNO");
    edit(2, {{"nameEdit", "Привет"}});
    EXPECT_EQ(programName(db, 2), "\x01\xBF\xE0\xD8\xD2\xD5\xE2");
    EXPECT_EQ(field(2, progf::FLAGS), FLAG_SCPC | FLAG_SCRAMBLED | 64); // unknown bits pass through

    edit(0, {{"fav1Check", "off"}, {"fav3Check", "on"}, {"fav9Check", "on"}});
    EXPECT_EQ(std::pair(lists(0), lists(4)), std::pair(scopeFav(2) | scopeFav(8), scopeFav(0)));
    EXPECT_TRUE(prompter.messages.empty() && db.computeCrc() == db.storedCrc());

    // An unknown provider is appended once, even when a later check refuses.
    edit(0, {{"providerCombo", "Newcomer with a long name"}, {"serviceIdEdit", "70000"}});
    EXPECT_EQ(lastMessage(), "Service ID error!\nExpected digit 0..65535");
    EXPECT_EQ(nameText(record(db, DBT_PROVIDER, 3).name[0]), "Newcomer with a");
    EXPECT_FALSE(okWith(d.get(), {{"serviceIdEdit", "7"}})->isVisible());
    // A known name, marker or not, is found; an empty text is a provider name too.
    for (const auto& [text, count, index] : {std::tuple{"", 4, 3}, {"Beta", 4, 1}, {"", 5, 4}}) {
        if (*text || count == 5) edit(0, {{"providerCombo", text}});
        EXPECT_EQ(std::tuple(db.providerCount(), field(0, progf::PROVIDER)), std::tuple(count, index)) << text;
    }

    // Failed reads stop loading with their code.
    checkSound = false;
    prompter.clear();
    EXPECT_FALSE(d->load(6, EDIT));
    db.raw().setU16(DatabaseImage::programOffset(0) + layout::prog::PROVIDER, 9);
    EXPECT_FALSE(d->load(0, EDIT));
    EXPECT_EQ(prompter.texts(), QStringList({"Error: 501->(-3)", "Error: 503->(-3)"}));
}

// Every refusal keeps the dialog open with what was typed; the right text comes first.
TEST_F(ProgramDialogTest, PidAndServiceIdBoundariesAndScpc)
{
    const char* autoText = "PIDs for SCPC program can not be 'Auto'";
    const char* reserved = "PIDs for SCPC program can not be 'Reserved'";
    const char* video = "Video PID error!\nExpected digit 17..8190";
    const char* audio = "Audio PID error!\nExpected digit 17..8190";
    const char* pcr = "PCR PID error!\nExpected digit 17..8190";
    const char* service = "Service ID error!\nExpected digit 0..65535";
    // field, text, message (nullptr: accepted)
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"videoPid", "16", video},           {"videoPid", "8191", video},        {"videoPid", "x17", video},
        {"videoPid", "automatic", autoText}, {"videoPid", "Reserved", reserved}, {"audioPid", "auto", autoText},
        {"audioPid", "reserved", audio},     {"pcrPid", "AUTO", autoText},       {"pcrPid", "16", pcr},
        {"serviceId", "-1", service},        {"serviceId", "65536", service},    {"serviceId", "", service},
        {"videoPid", "17", nullptr},         {"videoPid", "8190kb", nullptr},    {"serviceId", "0", nullptr},
        {"serviceId", " 65535", nullptr}};
    for (const auto& [name, text, message] : cases) {
        const std::string widget = std::string(name) + "Edit";
        prompter.clear();
        edit(2, {{widget.c_str(), text}});
        EXPECT_EQ(std::tuple(prompter.texts(), d->isVisible(), textOf(d.get(), widget.c_str())),
                  std::tuple(message ? QStringList({message}) : QStringList(), message != nullptr, QString(text)))
            << widget << " = " << text;
    }
    EXPECT_EQ(std::pair(field(2, progf::SERVICE_ID), field(2, progf::VIDEO_PID)), std::pair(65535, 8190));

    // Without SCPC the PIDs read "Auto" and stay as stored; SCPC clicked again offers 0, which is refused.
    click(openDialog(2), "scpcCheck");
    EXPECT_EQ(textsOf(d.get(), {"scpcCheck", "audioPidEdit"}), QStringList({"off", "Auto"}));
    EXPECT_FALSE(child<QLineEdit>(d.get(), "audioPidEdit")->isEnabled());
    clickOk(d.get());
    EXPECT_EQ(std::vector({field(2, progf::FLAGS) & FLAG_SCPC, field(2, progf::VIDEO_PID), field(2, progf::PCR_PID)}),
              std::vector({0, 8190, 103}));

    click(openDialog(2), "scpcCheck");
    EXPECT_EQ(textOf(d.get(), "videoPidEdit"), "0");
    clickOk(d.get());
    EXPECT_EQ(lastMessage(), video);
}

TEST_F(ProgramDialogTest, AddedProgramsGoToTheirPartOfTheTable)
{
    // TV at a position inside the radio part: first place; favourites follow the move.
    EXPECT_EQ(openDialog(5, ADD)->windowTitle(), "Add program");
    EXPECT_EQ(textsOf(d.get(), {"serviceIdEdit", "satelliteCombo", "radioRadio"}),
              QStringList({"0", "Astra 1E-2C", "on"}));
    click(d.get(), "tvRadio");
    okWith(d.get(), {{"nameEdit", "NewTV"}, {"providerCombo", "Gamma"}});
    EXPECT_EQ(
        std::tuple(d->isVisible(), d->programIndex(), programName(db, 0), db.tvProgramCount(), db.pendingInsertKind()),
        std::tuple(false, 0, std::string("NewTV"), 5, -1));
    EXPECT_EQ(std::vector({lists(0), lists(1), lists(2), lists(5)}),
              std::vector({0u, scopeFav(0), scopeFav(2), scopeFav(0)})); // renumbered

    // Radio at a position inside the TV part: first radio place.
    click(openDialog(1, ADD), "radioRadio");
    okWith(d.get(), {{"nameEdit", "NewRadio"}, {"fav3Check", "on"}});
    EXPECT_EQ(std::tuple(d->programIndex(), programName(db, 5), db.tvProgramCount(), lists(5)),
              std::tuple(5, std::string("NewRadio"), 5, scopeFav(2)));

    // The list's filter fixes the kind.
    for (const auto& [filter, name] : {std::pair{SCOPE_TV, "tvRadio"}, {SCOPE_RADIO, "radioRadio"}}) {
        browser.setFilter(filter);
        openDialog(-1, ADD);
        EXPECT_EQ(std::pair(textOf(d.get(), name), button(name)->isEnabled()), std::pair(QString("on"), false));
    }
    EXPECT_EQ(child<QComboBox>(d.get(), "satelliteCombo")->currentIndex(), -1); // no row, no satellite
    okWith(d.get(), {{"providerCombo", "Alpha"}});
    // No transponder chosen: the loaded 0.
    EXPECT_EQ(std::vector({d->programIndex(), db.tvProgramCount(), field(5, progf::TRANSPONDER)}),
              std::vector({5, 5, 0}));

    // Opened modally for the views, which learn where the program went to know which half shows it.
    EditDialogSet dialogs(db, browser, prompter);
    onModal([](QDialog* d) { clickOk(d); });
    int stored = -1;
    ASSERT_TRUE(dialogs.editProgram(nullptr, -1, ADD, stored));
    EXPECT_EQ(stored, 5); // the first radio place
}

TEST_F(ProgramDialogTest, TreeSelectionPreselectsANewProgramsCombos)
{
    // parent and selected node; satellite, transponder and provider shown
    const std::tuple<const char*, const char*, QStringList> cases[] = {
        {"Hotbird 2-8", "12000(V)", {"Hotbird 2-8", "12000", ""}},
        {"Providers", "Gamma", {"Astra 1E-2C", "10700", "Gamma"}},
        {"Satellites", "Thor 2,3", {"Thor 2,3", "", ""}}, // no transponders
        {"Favs", "News", {"Astra 1E-2C", "10700", ""}}};  // lists leave the choice alone
    for (const auto& [parent, selected, shown] : cases) {
        browser.parentText = parent;
        browser.selectedText = selected;
        EXPECT_EQ(textsOf(openDialog(0, ADD), {"satelliteCombo", "transponderCombo", "providerCombo"}), shown)
            << selected;
    }
    // Another satellite picked: its first transponder, which OK stores.
    pickText(child<QComboBox>(d.get(), "satelliteCombo"), "Hotbird 2-8");
    EXPECT_EQ(textOf(d.get(), "transponderCombo"), "11200");
    okWith(d.get(), {{"providerCombo", "Alpha"}});
    EXPECT_EQ(field(0, progf::TRANSPONDER), 3);
}

} // namespace
} // namespace satorix::test
