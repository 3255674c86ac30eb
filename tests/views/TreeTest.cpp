// The tree: building, selection into BrowserState, menus, transponder commands and label editing.
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

using TreeTest = ViewsTest;

TEST_F(TreeTest, BuildsRootsListsProvidersSatellitesAndPlaceholders)
{
    EXPECT_EQ(childTexts({}), QStringList({"Favs", "Providers", "Satellites"}));
    EXPECT_EQ(childTexts({"Favs"}),
              QStringList({"News", "Sport", "Movies", "Kids", "Music", "Docs", "Fav_7", "Fav_8", "Radio"}));
    EXPECT_EQ(childTexts({"Providers"}), QStringList({"Alpha", "Beta"}));
    EXPECT_EQ(childTexts({"Satellites"}), QStringList({"Astra", "Hotbird", "Lonely"}));
    EXPECT_EQ(childTexts({"Satellites", "Astra"}), QStringList({"3600(H)", "3700(H)", "3700(V)", "4100(V)"}));
    EXPECT_EQ(childTexts({"Satellites", "Lonely"}), QStringList({"Empty"}));
    EXPECT_FALSE(browser().rebuildRequest);
    EXPECT_EQ(tree().currentIndex(), node({"Satellites"}));
    EXPECT_EQ(list().listModel().rowCount(), 7);
}

TEST_F(TreeTest, EverySelectionWritesBrowserStateAndRefillsTheList)
{
    int fills = list().fillCount();
    clickNode({"Favs"}); // straight from "Satellites": root to root refills too
    EXPECT_EQ(browser().selectedText, "Favs");
    EXPECT_EQ(browser().nodeKind, 8);
    EXPECT_EQ(browser().commandMask, 11);
    EXPECT_EQ(list().fillCount(), fills + 1);
    EXPECT_EQ(column(1), QStringList({"BBC One", "CNN", "Deutsche", "Radio Two"}));
    clickNode({"Providers"});
    EXPECT_EQ(browser().nodeKind, 0);
    EXPECT_EQ(browser().commandMask, 15);
    EXPECT_EQ(list().listModel().rowCount(), 7);
    fills = list().fillCount();

    clickNode({"Providers", "Beta"});
    EXPECT_EQ(browser().selectedText, "Beta");
    EXPECT_EQ(browser().parentText, "Providers");
    EXPECT_EQ(browser().nodeKind, 1);
    EXPECT_EQ(browser().commandMask, 11);
    EXPECT_EQ(list().fillCount(), fills + 1);
    EXPECT_EQ(column(1), QStringList({"BBC One", "Deutsche", "Radio Two"}));

    clickNode({"Favs", "News"});
    EXPECT_EQ(browser().scope(), SCOPE_TV_RADIO | scopeFav(0));
    EXPECT_EQ(browser().parentText, "Providers"); // a list leaves the parent text alone
    EXPECT_EQ(browser().nodeKind, 0);

    clickNode({"Favs"}); // not root to root: from a list
    EXPECT_EQ(browser().nodeKind, 8);
    EXPECT_EQ(browser().scope(), SCOPE_TV_RADIO | SCOPE_PROGRAMS);
    EXPECT_EQ(column(1), QStringList({"BBC One", "CNN", "Deutsche", "Radio Two"}));

    clickNode({"Satellites", "Astra", "4100(V)"});
    EXPECT_EQ(browser().nodeKind, 4);
    EXPECT_EQ(browser().parentText, "Astra");
    clickNode({"Providers"});
    EXPECT_EQ(browser().commandMask, 15);
    EXPECT_EQ(list().listModel().rowCount(), 7);
}

TEST_F(TreeTest, FavouriteListWhoseNameIsGoneKeepsTheScope)
{
    clickNode({"Favs", "Sport"});
    ASSERT_EQ(browser().scope(), SCOPE_TV_RADIO | scopeFav(1));
    // The database's name changes behind the tree's back.
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
    for (const QStringList& path : {QStringList{"Favs"}, QStringList{"Favs", "News"}, QStringList{"Providers"},
                                    QStringList{"Providers", "Alpha"}, QStringList{"Satellites"},
                                    QStringList{"Satellites", "Hotbird"}}) {
        clickNode(path, Qt::RightButton);
        EXPECT_FALSE(menu->isVisible()) << path.join('/').toStdString();
    }
    // The right click on a satellite also opened its dialog.
    ASSERT_EQ(dialogs->calls.size(), 1u);
    EXPECT_EQ(dialogs->calls[0].dialog, "satellite:Hotbird");

    clickNode({"Satellites", "Astra", "3700(V)"}, Qt::RightButton);
    QTRY_VERIFY(menu->isVisible());
    EXPECT_TRUE(tree().contextItemIsReal());
    EXPECT_TRUE(menuEntryEnabled(menu, ID_TRANSPONDER_EDIT));
    EXPECT_TRUE(menuEntryEnabled(menu, ID_TRANSPONDER_DELETE));
    EXPECT_EQ(browser().selectedText, "3700(V)");
    menu->close();

    clickNode({"Satellites", "Lonely", "Empty"}, Qt::RightButton);
    QTRY_VERIFY(menu->isVisible());
    EXPECT_TRUE(menuEntryEnabled(menu, ID_TRANSPONDER_ADD));
    EXPECT_FALSE(menuEntryEnabled(menu, ID_TRANSPONDER_EDIT));
    EXPECT_FALSE(menuEntryEnabled(menu, ID_TRANSPONDER_DELETE));
    menu->close();
}

TEST_F(TreeTest, AddTransponderKeepsFrequenciesAscendingAndReplacesEmpty)
{
    clickNode({"Satellites", "Astra", "3700(V)"}, Qt::RightButton);
    CommandMenu* menu = tree().transponderMenu();
    QTRY_VERIFY(menu->isVisible());
    dialogs->frequency = 3800;
    dialogs->polarisation = 3;
    menuEntry(menu, ID_TRANSPONDER_ADD)->trigger();
    ASSERT_EQ(dialogs->calls.size(), 1u);
    EXPECT_EQ(dialogs->calls[0].mode, 1);
    EXPECT_EQ(dialogs->calls[0].key, 1); // the satellite id
    EXPECT_EQ(childTexts({"Satellites", "Astra"}),
              QStringList({"3600(H)", "3700(H)", "3700(V)", "3800(R)", "4100(V)"}));

    dialogs->frequency = 3600; // equal frequencies go in front
    dialogs->polarisation = 2;
    menuEntry(menu, ID_TRANSPONDER_ADD)->trigger();
    EXPECT_EQ(childTexts({"Satellites", "Astra"}).mid(0, 2), QStringList({"3600(L)", "3600(H)"}));

    dialogs->frequency = -1; // cancelled
    menuEntry(menu, ID_TRANSPONDER_ADD)->trigger();
    EXPECT_EQ(childTexts({"Satellites", "Astra"}).size(), 6);

    clickNode({"Satellites", "Lonely", "Empty"}, Qt::RightButton);
    QTRY_VERIFY(menu->isVisible());
    dialogs->frequency = 12000;
    dialogs->polarisation = 1;
    menuEntry(menu, ID_TRANSPONDER_ADD)->trigger();
    EXPECT_EQ(childTexts({"Satellites", "Lonely"}), QStringList({"12000(V)"}));
    EXPECT_TRUE(doc().isModified());
}

TEST_F(TreeTest, EditAndDeleteTransponderFollowTheDialog)
{
    CommandMenu* menu = tree().transponderMenu();
    // Delete names the node right-clicked, not the first transponder of its frequency.
    clickNode({"Satellites", "Astra", "3700(V)"}, Qt::RightButton);
    menuEntry(menu, ID_TRANSPONDER_DELETE)->trigger();
    ASSERT_EQ(dialogs->calls.size(), 1u);
    EXPECT_EQ(dialogs->calls[0].key, 2);
    dialogs->calls.clear();

    clickNode({"Satellites", "Astra", "3700(V)"}, Qt::RightButton);
    QTRY_VERIFY(menu->isVisible());
    const int fills = list().fillCount();
    dialogs->frequency = 3750;
    dialogs->polarisation = 0;
    menuEntry(menu, ID_TRANSPONDER_EDIT)->trigger();
    ASSERT_EQ(dialogs->calls.size(), 1u);
    EXPECT_EQ(dialogs->calls[0].mode, 2);
    EXPECT_EQ(dialogs->calls[0].key, 1); // findTransponder finds the first 3700 of Astra
    EXPECT_EQ(browser().previousSiblingText, "3700(H)");
    EXPECT_EQ(childTexts({"Satellites", "Astra"}), QStringList({"3600(H)", "3700(H)", "3750(H)", "4100(V)"}));
    EXPECT_EQ(browser().selectedText, "3750(H)");
    EXPECT_EQ(list().fillCount(), fills + 1);

    clickNode({"Satellites", "Hotbird", "11000(H)"}, Qt::RightButton);
    QTRY_VERIFY(menu->isVisible());
    dialogs->frequency = -1;
    menuEntry(menu, ID_TRANSPONDER_DELETE)->trigger();
    EXPECT_EQ(dialogs->calls.back().key, 4);
    EXPECT_EQ(browser().lastTransponderFrequency, -1);
    EXPECT_EQ(childTexts({"Satellites", "Hotbird"}), QStringList({"11000(H)"}));
    dialogs->frequency = 11000;
    menuEntry(menu, ID_TRANSPONDER_DELETE)->trigger();
    EXPECT_EQ(childTexts({"Satellites", "Hotbird"}), QStringList({"Empty"}));
}

TEST_F(TreeTest, SatelliteDialogOnDoubleClickRenamesTheNode)
{
    dialogs->satelliteName = "Astra 19.2E";
    doubleClickNode({"Satellites", "Astra"});
    ASSERT_FALSE(dialogs->calls.empty());
    EXPECT_EQ(dialogs->calls[0].dialog, "satellite:Astra");
    EXPECT_TRUE(node({"Satellites", "Astra 19.2E"}).isValid());
    dialogs->calls.clear();
    doubleClickNode({"Providers", "Alpha"});
    EXPECT_TRUE(dialogs->calls.empty());
}

TEST_F(TreeTest, RenamingCutsToFifteenCharactersInTreeAndDatabase)
{
    clickNode({"Favs", "Sport"});
    QTest::keyClick(&tree(), Qt::Key_F2);
    auto* editor = tree().viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "Twenty characters!!!");
    QTest::keyClick(editor, Qt::Key_Return); // the delegate commits on the next turn of the loop
    QTRY_COMPARE(childTexts({"Favs"}).value(1), QString("Twenty characte"));
    RecordView rec;
    ASSERT_EQ(app().database().getRecord(DBT_FAVOURITE, 0, rec), 0);
    EXPECT_EQ(boundedName(rec.name[1]), "Twenty characte");
    EXPECT_EQ(browser().selectedText, "Twenty characte");
    EXPECT_TRUE(doc().isModified());
    EXPECT_TRUE(prompter.messages.empty());

    // Providers and satellites rename through their own records.
    clickNode({"Satellites", "Hotbird"});
    QTest::keyClick(&tree(), Qt::Key_F2);
    editor = tree().viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "Hot Bird 13E");
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(app().database().findSatelliteByName("Hot Bird 13E") >= 0);
    EXPECT_EQ(app().database().findSatelliteByName("Hotbird"), -1);
}

TEST_F(TreeTest, RenamingARootIsRefusedWhenEditingBeginsAndEnds)
{
    clickNode({"Providers"});
    QTest::keyClick(&tree(), Qt::Key_F2);
    EXPECT_EQ(prompter.texts(), QStringList({"You cannot change name of this tree element."}));
    auto* editor = tree().viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr); // editing begins all the same
    editor->selectAll();
    QTest::keyClicks(editor, "Vendors");
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(prompter.texts().size(), 2);
    EXPECT_EQ(prompter.texts().value(1), "You cannot change name of this tree element.");
    EXPECT_EQ(childTexts({}).value(1), "Providers");

    // Cancelling is an end too.
    QTest::keyClick(&tree(), Qt::Key_F2);
    editor = tree().viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_EQ(prompter.texts().size(), 4);
    EXPECT_FALSE(doc().isModified());
}

TEST_F(TreeTest, RebuildOnRequestStartsOverOnSatellites)
{
    // From a provider, and from "Favs" (a root, whose list shows favourites only).
    for (const QStringList& from : {QStringList {"Providers", "Alpha"}, QStringList {"Favs"}}) {
        clickNode(from);
        const int builds = tree().rebuildCount();
        browser().rebuildRequest = true;
        doc().updateAllViews(nullptr);
        EXPECT_EQ(tree().rebuildCount(), builds + 1);
        EXPECT_EQ(tree().currentIndex(), node({"Satellites"}));
        EXPECT_EQ(browser().selectedText, "Satellites");
        EXPECT_EQ(browser().nodeKind, 0);
        EXPECT_EQ(browser().commandMask, 15); // Paste back with the table
        EXPECT_EQ(list().listModel().rowCount(), 7);
    }
}

} // namespace
} // namespace satorix::test
