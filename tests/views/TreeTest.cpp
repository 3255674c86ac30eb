// The tree: building, selection, menus, transponder commands and label editing.
#include <QLineEdit>

#include "db/Names.h"
#include "gui/CommandIds.h"
#include "tests/dialogs/DialogTestSupport.h"
#include "tests/views/ViewsFixture.h"
#include "views/CommandMenu.h"

namespace satorix::test {
namespace {

class TreeTest : public ViewsTest {
protected:
    // Edits the label of a node (or of the current one) with F2 and ends with a key.
    void rename(const QStringList& path, const char* to, Qt::Key end = Qt::Key_Return)
    {
        if (!path.isEmpty()) clickNode(path);
        QTest::keyClick(&tree(), Qt::Key_F2);
        auto* editor = tree().viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, to);
        QTest::keyClick(editor, end); // the delegate commits on the next turn of the loop
    }
};

TEST_F(TreeTest, BuildsRebuildsAndEverySelectionWritesBrowserStateAndRefillsTheList)
{
    EXPECT_EQ(childTexts({}) + childTexts({"Favs"}) + childTexts({"Providers"}) + childTexts({"Satellites"}),
              QStringList({"Favs", "Providers", "Satellites", "News", "Sport", "Movies", "Kids", "Music", "Docs",
                           "Fav_7", "Fav_8", "Radio", "Alpha", "Beta", "Astra", "Hotbird", "Lonely"}));
    EXPECT_EQ(childTexts({"Satellites", "Astra"}) + childTexts({"Satellites", "Lonely"}),
              QStringList({"3600(H)", "3700(H)", "3700(V)", "4100(V)", "Empty"}));
    EXPECT_EQ(std::tuple(browser().rebuildRequest, paneText(ID_INDICATOR_COUNTS)),
              std::tuple(false, QString("TV:4, Radio:3")));
    // Each click, in this order, writes BrowserState and refills the list once with the node's rows.
    const QStringList all = {"Arte", "BBC One", "CNN", "Deutsche", "Radio One", "Radio Two", "Jazz"};
    const QStringList favourites = {"BBC One", "CNN", "Deutsche", "Radio Two"};
    // path, parent text, kind, command mask and rows
    const std::tuple<QStringList, const char*, int, int, QStringList> steps[] = {
        {{"Favs"}, "", 8, 11, favourites}, // root to root
        {{"Providers"}, "", 0, 15, all},
        {{"Providers", "Beta"}, "Providers", 1, 11, {"BBC One", "Deutsche", "Radio Two"}},
        {{"Favs", "News"}, "Providers", 0, 11, {"BBC One", "CNN", "Radio Two"}}, // a list leaves the parent alone
        {{"Favs"}, "Providers", 8, 11, favourites},
        {{"Satellites", "Astra", "3700(H)"}, "Astra", 4, 11, {"Arte", "BBC One", "Radio One"}}, // both polarisations
        {{"Satellites", "Hotbird"}, "Satellites", 2, 11, {"Deutsche", "Jazz"}},
        {{"Satellites", "Astra", "4100(V)"}, "Astra", 4, 11, {"Radio Two"}},
        {{"Providers"}, "Astra", 0, 15, all},
    };
    for (const auto& [path, parent, kind, mask, rows] : steps) {
        SCOPED_TRACE(path.join('/').toStdString());
        const int fills = list().fillCount();
        clickNode(path);
        EXPECT_EQ(std::tuple(browser().selectedText, browser().parentText, int(browser().nodeKind),
                             int(browser().commandMask), list().fillCount(), names()),
                  std::tuple(path.last().toStdString(), std::string(parent), kind, mask, fills + 1, rows));
    }
    EXPECT_EQ(browser().scope(), SCOPE_TV_RADIO | SCOPE_PROGRAMS);
    // A list whose name the database changed behind the tree's back keeps the scope it had.
    RecordView rec;
    rec.name[0] = "Other";
    app().database().recordOp(DBT_FAVOURITE, OP_EDIT, 1, rec);
    clickNode({"Favs", "Movies"});
    clickNode({"Favs", "Sport"});
    EXPECT_EQ(browser().scope(), SCOPE_TV_RADIO | scopeFav(2));
    // From a provider, and from "Favs" (a root, whose list shows favourites only); Paste comes back (mask 15).
    for (const QStringList& from : {QStringList{"Providers", "Alpha"}, QStringList{"Favs"}}) {
        clickNode(from);
        const int builds = tree().rebuildCount();
        browser().rebuildRequest = true;
        doc().updateAllViews(nullptr);
        EXPECT_EQ(std::tuple(tree().rebuildCount(), tree().currentIndex(), browser().selectedText,
                             browser().commandMask, list().listModel().rowCount()),
                  std::tuple(builds + 1, node({"Satellites"}), std::string("Satellites"), 15, 7));
    }
}

TEST_F(TreeTest, TransponderMenuOnTransponderAndPlaceholderNodesFollowsTheDialog)
{
    CommandMenu* menu = tree().transponderMenu();
    for (const char* path : {"Favs", "Favs/News", "Providers", "Providers/Alpha", "Satellites", "Satellites/Hotbird"}) {
        clickNode(QString(path).split('/'), Qt::RightButton);
        QCoreApplication::processEvents();
        EXPECT_FALSE(menu->isVisible()) << path;
    }
    const int add = ID_TRANSPONDER_ADD, edit = ID_TRANSPONDER_EDIT, del = ID_TRANSPONDER_DELETE;
    // Add, Edit and Delete on a transponder and on the placeholder.
    for (const auto& [path, real] : {std::pair{"Satellites/Astra/3700(V)", true}, {"Satellites/Lonely/Empty", false}}) {
        clickNode(QString(path).split('/'), Qt::RightButton);
        ASSERT_TRUE(waitFor([menu] { return menu->isVisible(); }));
        EXPECT_EQ(QList<bool>({tree().contextItemIsReal(), menuEntryEnabled(menu, add), menuEntryEnabled(menu, edit),
                               menuEntryEnabled(menu, del)}),
                  QList<bool>({real, true, real, real}));
        EXPECT_EQ(browser().selectedText, QString(path).section('/', -1).toStdString());
        menu->close();
    }
    const QString astra = "3600(L) 3600(H) 3700(H) 3700(V) 3800(R) 4100(V)";
    // node, command, dialog's answer (negative: Cancel), polarisation, call, the satellite's nodes after
    const std::tuple<const char*, int, int, int, const char*, QString> steps[] = {
        // Delete names the node right-clicked, not the first transponder of its frequency.
        {"Astra/3700(V)", del, -1, 0, "delete 2 2", "3600(H) 3700(H) 3700(V) 4100(V)"},
        {"Astra/3700(V)", add, 3800, 3, "transponder 1 1", astra.mid(8)}, // by satellite id
        {"Astra/3700(V)", add, 3600, 2, "transponder 1 1", astra},        // equal ones go in front
        {"Astra/3700(V)", add, -1, 0, "transponder 1 1", astra},
        // Edit finds the first 3700 of Astra; the node takes the new text.
        {"Astra/3700(V)", edit, 3750, 0, "transponder 2 1", "3600(L) 3600(H) 3700(H) 3750(H) 3800(R) 4100(V)"},
        {"Lonely/Empty", add, 12000, 1, "transponder 1 3", "12000(V)"},
        {"Hotbird/11000(H)", del, -1, 0, "delete 2 4", "11000(H)"},
        {"Hotbird/11000(H)", del, 11000, 0, "delete 2 4", "Empty"},
    };
    for (const auto& [at, id, frequency, polarisation, call, after] : steps) {
        SCOPED_TRACE(std::string(at) + " " + std::to_string(id) + " " + std::to_string(frequency));
        clickNode(("Satellites/" + QString(at)).split('/'), Qt::RightButton);
        const int fills = list().fillCount();
        dialogs->frequency = frequency;
        dialogs->polarisation = polarisation;
        choose(menu, id);
        EXPECT_EQ(dialogs->calls.last(), call);
        EXPECT_EQ(childTexts({"Satellites", QString(at).section('/', 0, 0)}).join(' '), after);
        if (id == edit) {
            EXPECT_EQ(std::tuple(browser().previousSiblingText, browser().selectedText, list().fillCount()),
                      std::tuple(std::string("3700(H)"), std::string("3750(H)"), fills + 1));
        }
    }
    EXPECT_TRUE(doc().isModified());
    // The right click on a satellite also opened its dialog, as a double click does; not on a provider.
    clickNode({"Providers", "Alpha"}, Qt::LeftButton, true);
    dialogs->satelliteName = "Astra 19.2E";
    clickNode({"Satellites", "Astra"}, Qt::LeftButton, true);
    EXPECT_EQ(dialogs->calls.mid(0, 1) + dialogs->calls.mid(9), QStringList({"satellite Hotbird", "satellite Astra"}));
    EXPECT_TRUE(node({"Satellites", "Astra 19.2E"}).isValid());
}

TEST_F(TreeTest, RenamingCutsToFifteenCharactersAndRootsRefuseWhenEditingBeginsAndEnds)
{
    rename({"Favs", "Sport"}, "Twenty characters!!!");
    ASSERT_TRUE(waitFor([this] { return childTexts({"Favs"}).value(1) == "Twenty characte"; }));
    EXPECT_EQ(std::tuple(std::string(boundedName(record(app().database(), DBT_FAVOURITE, 0).name[1])),
                         browser().selectedText, doc().isModified(), prompter.messages.size()),
              std::tuple(std::string("Twenty characte"), std::string("Twenty characte"), true, std::size_t(0)));

    doc().setModifiedFlag(false);
    const QString refusal = "You cannot change name of this tree element.";
    rename({"Providers"}, "Vendors"); // editing begins all the same
    ASSERT_TRUE(waitFor([this] { return prompter.texts().size() == 2; }));
    EXPECT_EQ(std::pair(prompter.texts(), childTexts({}).value(1)),
              std::pair(QStringList({refusal, refusal}), QString("Providers")));
    rename({}, "", Qt::Key_Escape); // cancelling is an end too
    EXPECT_EQ(std::pair(prompter.texts().size(), doc().isModified()), std::pair(qsizetype(4), false));
}

} // namespace
} // namespace satorix::test
