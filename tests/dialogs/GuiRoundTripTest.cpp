// Every edit from the tree and list, through the application's dialogs, marks the document; none else.
#include "db/DatabaseCheck.h"
#include "db/Names.h"
#include "dialogs/EditDialogSet.h"
#include "gui/CommandIds.h"
#include "tests/dialogs/DialogTestSupport.h"
#include "tests/views/ViewsFixture.h"
#include "views/CLeftView.h"
#include "views/COrbitView.h"
#include "views/CommandMenu.h"

namespace satorix::test {
namespace {

class GuiRoundTripTest : public ViewsTest {
protected:
    GuiRoundTripTest() { scripted = false; }
    void build(ChannelDatabase& db) override { buildDialogDatabase(db); }
    ChannelDatabase& db() { return app().database(); }
    QStringList thor() { return childTexts({"Satellites", "Thor"}); }
    std::pair<std::vector<std::uint8_t>, QStringList> state()
    {
        return {{db().image(), db().image() + IMAGE_SIZE},
                childTexts({"Favs"}) + childTexts({"Providers"}) + childTexts({"Satellites"}) + thor()};
    }
    // An edit marks the document and is one step that the tree and list follow; anything else changes nothing.
    void step(const char* edit, bool changes)
    {
        SCOPED_TRACE(edit);
        const auto after = state();
        const QStringList shown = names();
        EXPECT_EQ(std::pair(doc().isModified(), after.first == start_.first), std::pair(changes, !changes));
        if (changes) {
            ASSERT_TRUE(trigger(ID_EDIT_UNDO));
            EXPECT_TRUE(state() == start_);
            ASSERT_TRUE(trigger(ID_EDIT_REDO));
            EXPECT_TRUE(state() == after && names() == shown);
        }
        doc().setModifiedFlag(false); // the next edit starts here
        start_ = state();
    }

    std::pair<std::vector<std::uint8_t>, QStringList> start_;
};

TEST_F(GuiRoundTripTest, EveryEditMarksTheDocumentAndDoesWhatItSays)
{
    start_ = state();
    for (const auto& [path, to, changes] : {std::tuple{QStringList{"Providers", "Alpha"}, "Альфа", true},
                                            {QStringList{"Satellites", "Thor 2,3"}, "Thor", true},
                                            {QStringList{"Favs", "News"}, "Latest", true},
                                            {QStringList{"Favs", "Latest"}, "Latest", false}}) {
        tree().labelEdit(node(path), QString::fromUtf8(to));
        step(to, changes);
    }
    EXPECT_EQ(std::string(boundedName(record(db(), DBT_PROVIDER, 0).name[0])), "\x01\xB0\xDB\xEC\xE4\xD0");
    EXPECT_EQ(childTexts({"Providers"}).front(), "Альфа");

    for (const bool ok : {true, false}) {
        onModal([ok](QDialog* d) {
            if (ok)
                okWith(d, {{"positionerEdit", "30"}});
            else
                d->reject();
        });
        clickNode({"Satellites", "Thor"}, Qt::LeftButton, true);
        EXPECT_EQ(record(db(), DBT_SATELLITE, 2).field[satf::POSITIONER], 30);
        step("satellite dialog", ok);
    }

    clickNode({"Satellites", "Thor", "Empty"}, Qt::RightButton);
    onModal([](QDialog* d) {
        for (const char* id : {"transportStreamIdEdit", "networkIdEdit", "originalNetworkIdEdit"}) setText(d, id, "5");
        okWith(d, {{"frequencyEdit", "11700"}, {"symbolRateEdit", "27500"}, {"pol1", "on"}});
    });
    choose(tree().transponderMenu(), ID_TRANSPONDER_ADD);
    EXPECT_EQ(std::pair(thor(), db().findTransponder(3, 11700)), std::pair(QStringList({"11700(V)"}), 5));
    step("add transponder", true);

    for (const bool ok : {true, false}) {
        clickNode({"Satellites", "Thor", ok ? "11700(V)" : "11710(V)"}, Qt::RightButton);
        onModal([ok](QDialog* d) {
            setText(d, "frequencyEdit", ok ? "11710" : "11720");
            ok ? clickOk(d) : d->reject();
        });
        choose(tree().transponderMenu(), ID_TRANSPONDER_EDIT);
        EXPECT_EQ(thor(), QStringList({"11710(V)"}));
        step("edit transponder", ok);
    }

    clickNode({"Satellites", "Thor", "11710(V)"});
    clickRow(0, Qt::RightButton);
    onModal([](QDialog* d) {
        EXPECT_EQ(textOf(d, "transponderCombo"), "11710");
        okWith(d, {{"nameEdit", "Round"}, {"providerCombo", "Gamma"}, {"fav3Check", "on"}});
    });
    choose(list().programMenu(), ID_PROGRAM_ADD);
    EXPECT_EQ(std::tuple(programName(db(), 0), names(), db().favCount(2)),
              std::tuple(std::string("Round"), QStringList({"Round"}), 2));
    step("add program", true);

    onModal([](QDialog* d) { okWith(d, {{"nameEdit", "Round Two"}, {"lockedCheck", "on"}}); });
    QTest::mouseDClick(list().viewport(), Qt::LeftButton, {}, rowPoint(0));
    EXPECT_EQ(names(), QStringList({"Round Two"}));
    EXPECT_NE(record(db(), DBT_PROGRAM, 0).field[progf::FLAGS] & FLAG_LOCKED, 0);
    step("edit program", true);

    // The program's transponder, as the list opens it; no menu offers it.
    EditDialogSet dialogs(db(), browser(), prompter);
    onModal([](QDialog* d) { okWith(d, {{"symbolRateEdit", "30000"}}); });
    doc().edit(QStringLiteral("Edit transponder"),
               [&] { EXPECT_TRUE(dialogs.editProgramTransponder(nullptr, 0, MODE_EDIT_TRANSPONDER)); });
    EXPECT_EQ(record(db(), DBT_TRANSPONDER, 5).field[tpf::SYMBOL_RATE], 30000);
    step("program's transponder", true);

    clickNode({"Satellites", "Thor", "11710(V)"}, Qt::RightButton);
    prompter.answers.push_back(PromptAnswer::Yes);
    onModal([](QDialog* d) { clickOk(d); });
    choose(tree().transponderMenu(), ID_TRANSPONDER_DELETE);
    EXPECT_EQ(std::tuple(thor(), db().programCount(), db().favCount(2)), std::tuple(QStringList({"Empty"}), 6, 1));
    step("delete transponder with its program", true);

    const std::tuple<const char*, QStringList, int, int, bool> commands[] = {
        {"cut", {"Satellites"}, 1, ID_EDIT_CUT, true},
        {"paste", {}, 0, ID_EDIT_PASTE, true},
        {"copy", {}, 0, ID_EDIT_COPY, false},
        {"delete", {}, 2, ID_PROGRAM_DELETE, true},
        {"cut from a favourite list", {"Favs", "Latest"}, 0, ID_EDIT_CUT, true},
        {"paste into a favourite list", {}, 0, ID_EDIT_PASTE, true},
        {"delete from a favourite list", {}, 0, ID_PROGRAM_DELETE, true}};
    for (const auto& [edit, open, row, id, changes] : commands) {
        if (!open.isEmpty()) openNode(open);
        clickRow(row);
        focusList();
        EXPECT_TRUE(trigger(id)) << edit;
        step(edit, changes);
    }

    openNode({"Satellites"});
    clickRow(1);
    QTest::mousePress(list().viewport(), Qt::LeftButton, {}, rowPoint(1));
    QTest::mouseMove(list().viewport(), rowPoint(1) + QPoint(0, 12));
    QTest::mouseRelease(list().viewport(), Qt::LeftButton, {}, rowPoint(0));
    step("drop", true);
    EXPECT_EQ(checkDatabase(db()), std::vector<std::string>{});
}

} // namespace
} // namespace satorix::test
