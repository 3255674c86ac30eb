// Every edit from the tree and list, through the application's dialogs, marks the document; none else.
#include <QAction>
#include <QCheckBox>
#include <QRadioButton>
#include <QTest>
#include <functional>

#include "db/DatabaseCheck.h"
#include "db/Names.h"
#include "dialogs/EditDialogSet.h"
#include "gui/BrowserState.h"
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
    void SetUp() override
    {
        ChannelDatabase db;
        db.setListingPath({});
        buildDialogDatabase(db);
        ASSERT_EQ(db.save(file("trip.si")), 0);
        ASSERT_TRUE(start(qfile("trip.si")));
        frame().resize(900, 600);
        ASSERT_TRUE(waitFor([this] { return frame().isVisible(); }));
    }
    void command(int id)
    {
        list().setFocus(Qt::OtherFocusReason);
        frame().setActiveView(&list());
        EXPECT_TRUE(trigger(id)) << id;
    }
    void rename(const QStringList& path, const char* to) { tree().labelEdit(node(path), QString::fromUtf8(to)); }
    QStringList thor() { return childTexts({"Satellites", "Thor"}); }
};

TEST_F(GuiRoundTripTest, EveryEditMarksTheDocumentAndDoesWhatItSays)
{
    ChannelDatabase& db = app().database();
    std::vector<std::uint8_t> before;
    const struct {
        const char* edit;
        std::function<void()> run;
        bool changes;
        std::function<void()> check;
    } edits[] = {
        {"rename provider",
         [&] {
             rename({"Providers", "Alpha"}, "Альфа");
         },
         true,
         [&] {
             EXPECT_EQ(std::string(boundedName(record(db, DBT_PROVIDER, 0).name[0])), "\x01\xB0\xDB\xEC\xE4\xD0");
             EXPECT_EQ(childTexts({"Providers"}).front(), "Альфа");
         }},
        {"rename satellite",
         [&] {
             rename({"Satellites", "Thor 2,3"}, "Thor");
         },
         true,
         {}},
        {"rename favourite list",
         [&] {
             rename({"Favs", "News"}, "Latest");
         },
         true,
         {}},
        {"rename to the same name",
         [&] {
             rename({"Favs", "Latest"}, "Latest");
         },
         false,
         {}},
        {"satellite dialog",
         [&] {
             onModal([](QDialog* d) {
                 setText(d, "positionerEdit", "30");
                 clickOk(d);
             });
             doubleClickNode({"Satellites", "Thor"});
         },
         true, [&] { EXPECT_EQ(record(db, DBT_SATELLITE, 2).field[satf::POSITIONER], 30); }},
        {"satellite dialog cancelled",
         [&] {
             onModal([](QDialog* d) { d->reject(); });
             doubleClickNode({"Satellites", "Thor"});
         },
         false,
         {}},
        {"add transponder",
         [&] {
             clickNode({"Satellites", "Thor", "Empty"}, Qt::RightButton);
             onModal([](QDialog* d) {
                 for (auto [f, t] : {std::pair{"transportStreamIdEdit", "5"},
                                     {"networkIdEdit", "5"},
                                     {"originalNetworkIdEdit", "5"},
                                     {"frequencyEdit", "11700"},
                                     {"symbolRateEdit", "27500"}})
                     setText(d, f, t);
                 child<QRadioButton>(d, "pol1")->setChecked(true);
                 clickOk(d);
             });
             choose(tree().transponderMenu(), ID_TRANSPONDER_ADD);
         },
         true,
         [&] { EXPECT_EQ(std::pair(thor(), db.findTransponder(3, 11700)), std::pair(QStringList({"11700(V)"}), 5)); }},
        {"edit transponder",
         [&] {
             clickNode({"Satellites", "Thor", "11700(V)"}, Qt::RightButton);
             onModal([](QDialog* d) {
                 setText(d, "frequencyEdit", "11710");
                 clickOk(d);
             });
             choose(tree().transponderMenu(), ID_TRANSPONDER_EDIT);
         },
         true, [&] { EXPECT_EQ(thor(), QStringList({"11710(V)"})); }},
        {"transponder dialog cancelled",
         [&] {
             before.assign(db.image(), db.image() + IMAGE_SIZE);
             clickNode({"Satellites", "Thor", "11710(V)"}, Qt::RightButton);
             onModal([](QDialog* d) {
                 setText(d, "frequencyEdit", "11720");
                 d->reject();
             });
             choose(tree().transponderMenu(), ID_TRANSPONDER_EDIT);
         },
         false,
         [&] {
             EXPECT_TRUE(std::equal(before.begin(), before.end(), db.image()));
             EXPECT_EQ(thor(), QStringList({"11710(V)"}));
         }},
        {"add program",
         [&] {
             clickNode({"Satellites", "Thor", "11710(V)"});
             clickRow(0, Qt::RightButton);
             onModal([](QDialog* d) {
                 EXPECT_EQ(textOf(d, "transponderCombo"), "11710");
                 setText(d, "nameEdit", "Round");
                 setText(d, "providerCombo", "Gamma");
                 child<QCheckBox>(d, "fav3Check")->setChecked(true);
                 clickOk(d);
             });
             choose(list().programMenu(), ID_PROGRAM_ADD);
         },
         true,
         [&] {
             EXPECT_EQ(std::tuple(programName(db, 0), names(), db.favCount(2)),
                       std::tuple(std::string("Round"), QStringList({"Round"}), 2));
         }},
        {"edit program",
         [&] {
             onModal([](QDialog* d) {
                 setText(d, "nameEdit", "Round Two");
                 child<QCheckBox>(d, "lockedCheck")->setChecked(true);
                 clickOk(d);
             });
             QTest::mouseDClick(list().viewport(), Qt::LeftButton, {}, rowPoint(0));
         },
         true,
         [&] {
             EXPECT_EQ(names(), QStringList({"Round Two"}));
             EXPECT_NE(record(db, DBT_PROGRAM, 0).field[progf::FLAGS] & FLAG_LOCKED, 0);
         }},
        {"program's transponder",
         [&] { // as the list opens it; no menu offers it
             EditDialogSet dialogs(db, browser(), prompter);
             onModal([](QDialog* d) {
                 setText(d, "symbolRateEdit", "30000");
                 clickOk(d);
             });
             doc().edit(QStringLiteral("Edit transponder"),
                        [&] { EXPECT_TRUE(dialogs.editProgramTransponder(nullptr, 0, MODE_EDIT_TRANSPONDER)); });
         },
         true, [&] { EXPECT_EQ(record(db, DBT_TRANSPONDER, 5).field[tpf::SYMBOL_RATE], 30000); }},
        {"delete transponder with its program",
         [&] {
             clickNode({"Satellites", "Thor", "11710(V)"}, Qt::RightButton);
             prompter.answers.push_back(PromptAnswer::Yes);
             onModal([](QDialog* d) { clickOk(d); });
             choose(tree().transponderMenu(), ID_TRANSPONDER_DELETE);
         },
         true,
         [&] {
             EXPECT_EQ(std::tuple(thor(), db.programCount(), db.favCount(2)), std::tuple(QStringList({"Empty"}), 6, 1));
         }},
        {"cut",
         [&] {
             openNode({"Satellites"});
             clickRow(1);
             command(ID_EDIT_CUT);
         },
         true,
         {}},
        {"paste",
         [&] {
             clickRow(0);
             command(ID_EDIT_PASTE);
         },
         true,
         {}},
        {"copy",
         [&] {
             clickRow(0);
             command(ID_EDIT_COPY);
         },
         false,
         {}},
        {"delete",
         [&] {
             clickRow(2);
             command(ID_PROGRAM_DELETE);
         },
         true,
         {}},
        {"cut from a favourite list",
         [&] {
             openNode({"Favs", "Latest"});
             clickRow(0);
             command(ID_EDIT_CUT);
         },
         true,
         {}},
        {"paste into a favourite list",
         [&] {
             clickRow(0);
             command(ID_EDIT_PASTE);
         },
         true,
         {}},
        {"delete from a favourite list",
         [&] {
             clickRow(0);
             command(ID_PROGRAM_DELETE);
         },
         true,
         {}},
        {"drop",
         [&] {
             openNode({"Satellites"});
             clickRow(1);
             const QPoint from = rowPoint(1), to = rowPoint(0);
             QTest::mousePress(list().viewport(), Qt::LeftButton, {}, from);
             QTest::mouseMove(list().viewport(), from + QPoint(0, 12));
             QTest::mouseMove(list().viewport(), to);
             QTest::mouseRelease(list().viewport(), Qt::LeftButton, {}, to);
         },
         true,
         {}},
    };
    const auto image = [&] { return std::vector<std::uint8_t>(db.image(), db.image() + IMAGE_SIZE); };
    const auto treeTexts = [&] {
        return childTexts({"Favs"}) + childTexts({"Providers"}) + childTexts({"Satellites"}) + thor();
    };
    for (const auto& e : edits) {
        SCOPED_TRACE(e.edit);
        doc().setModifiedFlag(false);
        const std::vector<std::uint8_t> start = image();
        const QStringList tree = treeTexts();
        e.run();
        EXPECT_EQ(doc().isModified(), e.changes);
        if (e.check) e.check();
        if (!e.changes) continue;
        // Each edit is one step: undone and redone from the menu, the database and the tree follow.
        const std::vector<std::uint8_t> after = image();
        const QStringList shown = names();
        ASSERT_TRUE(trigger(ID_EDIT_UNDO));
        EXPECT_TRUE(image() == start);
        EXPECT_EQ(treeTexts(), tree);
        ASSERT_TRUE(trigger(ID_EDIT_REDO));
        EXPECT_TRUE(image() == after);
        EXPECT_EQ(names(), shown);
        if (e.check) e.check();
    }
    EXPECT_EQ(checkDatabase(db), std::vector<std::string>{});
}

} // namespace
} // namespace satorix::test
