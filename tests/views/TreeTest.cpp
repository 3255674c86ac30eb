// The tree: building, selection, menus, transponder commands and label editing.
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include "app/COrbitDoc.h"
#include "db/ChannelDatabase.h"
#include "db/Names.h"
#include "gui/BrowserState.h"
#include "gui/CommandIds.h"
#include "tests/views/ViewsFixture.h"
#include "views/CLeftView.h"
#include "views/COrbitView.h"
#include "views/CommandMenu.h"

namespace satorix::test {
namespace {

class TreeTest : public ViewsTest {
protected:
    // Right-clicks a node and waits for the transponder menu.
    CommandMenu* menuOn(const QStringList& path)
    {
        clickNode(path, Qt::RightButton);
        CommandMenu* menu = tree().transponderMenu();
        EXPECT_TRUE(waitFor([menu] { return menu->isVisible(); })) << path.join('/').toStdString();
        return menu;
    }
    void rename(const QStringList& path, const char* to)
    {
        clickNode(path);
        QTest::keyClick(&tree(), Qt::Key_F2);
        auto* editor = tree().viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, to);
        QTest::keyClick(editor, Qt::Key_Return); // the delegate commits on the next turn of the loop
    }
};

TEST_F(TreeTest, BuildsRootsListsProvidersSatellitesAndPlaceholders)
{
    EXPECT_EQ(childTexts({}), QStringList({"Favs", "Providers", "Satellites"}));
    EXPECT_EQ(childTexts({"Favs"}),
              QStringList({"News", "Sport", "Movies", "Kids", "Music", "Docs", "Fav_7", "Fav_8", "Radio"}));
    EXPECT_EQ(childTexts({"Providers"}), QStringList({"Alpha", "Beta"}));
    EXPECT_EQ(childTexts({"Satellites"}), QStringList({"Astra", "Hotbird", "Lonely"}));
    EXPECT_EQ(childTexts({"Satellites", "Astra"}), QStringList({"3600(H)", "3700(H)", "3700(V)", "4100(V)"}));
    EXPECT_EQ(childTexts({"Satellites", "Lonely"}), QStringList({"Empty"}));
    EXPECT_EQ(std::tuple(browser().rebuildRequest, tree().currentIndex(), list().listModel().rowCount(),
                         paneText(ID_INDICATOR_COUNTS)),
              std::tuple(false, node({"Satellites"}), 7, QString("TV:4, Radio:3")));
}

// Each click, in this order, writes BrowserState and refills the list once with the node's rows.
TEST_F(TreeTest, EverySelectionWritesBrowserStateAndRefillsTheList)
{
    const QStringList all = {"Arte", "BBC One", "CNN", "Deutsche", "Radio One", "Radio Two", "Jazz"};
    const QStringList favourites = {"BBC One", "CNN", "Deutsche", "Radio Two"};
    const struct {
        QStringList path;
        const char* parent; // nullptr: not checked
        int kind;           // -1: not checked
        int mask;           // -1: not checked
        QStringList names;
    } steps[] = {
        {{"Favs"}, nullptr, 8, 11, favourites}, // root to root
        {{"Providers"}, nullptr, 0, 15, all},
        {{"Providers", "Beta"}, "Providers", 1, 11, {"BBC One", "Deutsche", "Radio Two"}},
        {{"Favs", "News"}, "Providers", 0, -1, {"BBC One", "CNN", "Radio Two"}}, // a list leaves the parent alone
        {{"Favs"}, nullptr, 8, 11, favourites},
        {{"Satellites", "Astra", "3700(H)"}, "Astra", 4, -1, {"Arte", "BBC One", "Radio One"}}, // both polarisations
        {{"Satellites", "Hotbird"}, "Satellites", -1, -1, {"Deutsche", "Jazz"}},
        {{"Satellites", "Astra", "4100(V)"}, "Astra", 4, -1, {"Radio Two"}},
        {{"Providers"}, nullptr, 0, 15, all},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.path.join('/').toStdString());
        const int fills = list().fillCount();
        clickNode(s.path);
        EXPECT_EQ(browser().selectedText, s.path.last().toStdString());
        EXPECT_EQ(browser().parentText, s.parent ? std::string(s.parent) : browser().parentText);
        EXPECT_EQ(std::tuple(int(browser().nodeKind), int(browser().commandMask), list().fillCount()),
                  std::tuple(s.kind >= 0 ? s.kind : browser().nodeKind, s.mask >= 0 ? s.mask : browser().commandMask,
                             fills + 1));
        EXPECT_EQ(column(1), s.names);
    }
    EXPECT_EQ(browser().scope(), SCOPE_TV_RADIO | SCOPE_PROGRAMS);
    clickNode({"Favs", "Sport"});
    EXPECT_EQ(browser().scope(), SCOPE_TV_RADIO | scopeFav(1));
    // A list whose name the database changed behind the tree's back keeps the scope it had.
    RecordView rec;
    rec.name[0] = "Other";
    app().database().recordOp(DBT_FAVOURITE, OP_EDIT, 1, rec);
    clickNode({"Favs", "Movies"});
    clickNode({"Favs", "Sport"});
    EXPECT_EQ(browser().scope(), SCOPE_TV_RADIO | scopeFav(2));
}

TEST_F(TreeTest, TransponderMenuOnlyOnTransponderAndPlaceholderNodes)
{
    CommandMenu* menu = tree().transponderMenu();
    for (const QStringList& path :
         {QStringList{"Favs"}, QStringList{"Favs", "News"}, QStringList{"Providers"}, QStringList{"Providers", "Alpha"},
          QStringList{"Satellites"}, QStringList{"Satellites", "Hotbird"}}) {
        clickNode(path, Qt::RightButton);
        QCoreApplication::processEvents();
        EXPECT_FALSE(menu->isVisible()) << path.join('/').toStdString();
    }
    // Add, Edit and Delete on a transponder and on the placeholder.
    for (const auto& [path, real] : {std::pair{QStringList{"Satellites", "Astra", "3700(V)"}, true},
                                     {QStringList{"Satellites", "Lonely", "Empty"}, false}}) {
        menuOn(path);
        EXPECT_EQ(
            QList<bool>({tree().contextItemIsReal(), menuEntryEnabled(menu, ID_TRANSPONDER_ADD),
                         menuEntryEnabled(menu, ID_TRANSPONDER_EDIT), menuEntryEnabled(menu, ID_TRANSPONDER_DELETE)}),
            QList<bool>({real, true, real, real}))
            << path.last().toStdString();
        EXPECT_EQ(browser().selectedText, path.last().toStdString());
        menu->close();
    }
    // The right click on a satellite also opened its dialog, as a double click does; not on a provider.
    doubleClickNode({"Providers", "Alpha"});
    dialogs->satelliteName = "Astra 19.2E";
    doubleClickNode({"Satellites", "Astra"});
    EXPECT_EQ(dialogs->calls, QStringList({"satellite Hotbird", "satellite Astra"}));
    EXPECT_TRUE(node({"Satellites", "Astra 19.2E"}).isValid());
}

// In order: the command on a node's menu, what the dialog answers, the call it got and the nodes
// of the satellite afterwards. A negative frequency is Cancel.
TEST_F(TreeTest, TransponderCommandsFollowTheDialog)
{
    const QStringList astra = {"3600(L)", "3600(H)", "3700(H)", "3700(V)", "3800(R)", "4100(V)"};
    const struct {
        QStringList node;
        int id;
        int frequency;
        int polarisation;
        const char* call;
        QStringList after;
    } steps[] = {
        // Delete names the node right-clicked, not the first transponder of its frequency.
        {{"Astra", "3700(V)"},
         ID_TRANSPONDER_DELETE,
         -1,
         0,
         "delete 2 2",
         {"3600(H)", "3700(H)", "3700(V)", "4100(V)"}},
        {{"Astra", "3700(V)"}, ID_TRANSPONDER_ADD, 3800, 3, "transponder 1 1", astra.mid(1)}, // by satellite id
        {{"Astra", "3700(V)"}, ID_TRANSPONDER_ADD, 3600, 2, "transponder 1 1", astra},        // equal ones go in front
        {{"Astra", "3700(V)"}, ID_TRANSPONDER_ADD, -1, 0, "transponder 1 1", astra},
        // Edit finds the first 3700 of Astra; the node takes the new text.
        {{"Astra", "3700(V)"},
         ID_TRANSPONDER_EDIT,
         3750,
         0,
         "transponder 2 1",
         {"3600(L)", "3600(H)", "3700(H)", "3750(H)", "3800(R)", "4100(V)"}},
        {{"Lonely", "Empty"}, ID_TRANSPONDER_ADD, 12000, 1, "transponder 1 3", {"12000(V)"}},
        {{"Hotbird", "11000(H)"}, ID_TRANSPONDER_DELETE, -1, 0, "delete 2 4", {"11000(H)"}},
        {{"Hotbird", "11000(H)"}, ID_TRANSPONDER_DELETE, 11000, 0, "delete 2 4", {"Empty"}},
    };
    for (const auto& s : steps) {
        const QStringList path = QStringList{"Satellites"} + s.node;
        SCOPED_TRACE(path.join('/').toStdString() + " " + std::to_string(s.id) + " " + std::to_string(s.frequency));
        CommandMenu* menu = menuOn(path);
        const int fills = list().fillCount();
        dialogs->frequency = s.frequency;
        dialogs->polarisation = s.polarisation;
        menuEntry(menu, s.id)->trigger();
        EXPECT_EQ(dialogs->calls.last(), s.call);
        EXPECT_EQ(childTexts({"Satellites", s.node[0]}), s.after);
        if (s.id == ID_TRANSPONDER_EDIT) {
            EXPECT_EQ(std::tuple(browser().previousSiblingText, browser().selectedText, list().fillCount()),
                      std::tuple(std::string("3700(H)"), std::string("3750(H)"), fills + 1));
        }
        menu->close();
    }
    EXPECT_TRUE(doc().isModified());
}

TEST_F(TreeTest, RenamingCutsToFifteenCharactersInTreeAndDatabase)
{
    rename({"Favs", "Sport"}, "Twenty characters!!!");
    ASSERT_TRUE(waitFor([this] { return childTexts({"Favs"}).value(1) == "Twenty characte"; }));
    RecordView rec;
    ASSERT_EQ(app().database().getRecord(DBT_FAVOURITE, 0, rec), 0);
    EXPECT_EQ(std::tuple(std::string(boundedName(rec.name[1])), browser().selectedText, doc().isModified(),
                         prompter.messages.size()),
              std::tuple(std::string("Twenty characte"), std::string("Twenty characte"), true, std::size_t(0)));

    // Providers and satellites rename through their own records.
    rename({"Satellites", "Hotbird"}, "Hot Bird 13E");
    ASSERT_TRUE(waitFor([this] { return app().database().findSatelliteByName("Hot Bird 13E") >= 0; }));
    EXPECT_EQ(app().database().findSatelliteByName("Hotbird"), -1);
    EXPECT_TRUE(node({"Satellites", "Hot Bird 13E"}).isValid());
}

TEST_F(TreeTest, RenamingARootIsRefusedWhenEditingBeginsAndEnds)
{
    const QString refusal = "You cannot change name of this tree element.";
    rename({"Providers"}, "Vendors"); // editing begins all the same
    ASSERT_TRUE(waitFor([this] { return prompter.texts().size() == 2; }));
    EXPECT_EQ(prompter.texts(), QStringList({refusal, refusal}));
    EXPECT_EQ(childTexts({}).value(1), "Providers");

    // Cancelling is an end too.
    QTest::keyClick(&tree(), Qt::Key_F2);
    auto* editor = tree().viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_EQ(prompter.texts().size(), 4);
    EXPECT_FALSE(doc().isModified());
}

TEST_F(TreeTest, RebuildOnRequestStartsOverOnSatellites)
{
    // From a provider, and from "Favs" (a root, whose list shows favourites only).
    for (const QStringList& from : {QStringList{"Providers", "Alpha"}, QStringList{"Favs"}}) {
        clickNode(from);
        const int builds = tree().rebuildCount();
        browser().rebuildRequest = true;
        doc().updateAllViews(nullptr);
        // Paste comes back with the table (mask 15).
        EXPECT_EQ(std::tuple(tree().rebuildCount(), tree().currentIndex(), browser().selectedText,
                             browser().commandMask, list().listModel().rowCount()),
                  std::tuple(builds + 1, node({"Satellites"}), std::string("Satellites"), 15, 7));
    }
}

} // namespace
} // namespace satorix::test
