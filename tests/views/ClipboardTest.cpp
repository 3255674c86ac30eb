// Cut, copy, paste and delete in the program list, driven by the keys and the tool bar.
#include <QTest>
#include <QToolBar>

#include "app/COrbitDoc.h"
#include "db/ChannelDatabase.h"
#include "gui/CommandIds.h"
#include "tests/views/ViewsFixture.h"
#include "views/COrbitView.h"

namespace satorix::test {
namespace {

class ClipboardTest : public ListEditTest {
protected:
    // Programs, TV programs, entries of "News" and of "Sport".
    std::vector<int> counts()
    {
        const ChannelDatabase& db = doc().database();
        return {db.programCount(), db.tvProgramCount(), db.favCount(0), db.favCount(1)};
    }
    std::vector<int> selected() { return list().selectedRealRows(); }
};

QStringList numbers(int n)
{
    QStringList out;
    for (int k = 1; k <= n; ++k) out << QString::asprintf("%04d", k);
    return out;
}

TEST_F(ClipboardTest, CutFromFavouriteListRenumbersAndSelectsTheNextRow)
{
    openNode({"Favs", "News"});
    selectRows(4, 6);
    key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(names(), QStringList({"Tv 0", "Tv 1", "Tv 2", "Tv 3", "Radio 1", "Radio 2", "Radio 3"}));
    EXPECT_EQ(column(0), numbers(7));
    EXPECT_EQ(selected(), std::vector<int>({4}));
    EXPECT_EQ(counts(), std::vector<int>({11, 6, 7, 3})); // only the list lost them
    EXPECT_EQ(std::tuple(doc().database().favTvCount(0), doc().database().clipboardCount(), doc().isModified()),
              std::tuple(4, 3, true));
    EXPECT_EQ(prompter.messages.front().text, "You have together TV and Radio programs in clipboard!");

    // The last row: the new last row is selected.
    clickRow(6);
    key(Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(std::pair(names().size(), selected()), std::pair(qsizetype(6), std::vector<int>({5})));

    // The cut radio program goes back only from the list's first radio row on.
    clickRow(2);
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(prompter.messages.back().text, "Can't put radio program among TV program.");
    EXPECT_EQ(names().size(), 6);
    clickRow(4);
    key(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(names(), QStringList({"Tv 0", "Tv 1", "Tv 2", "Tv 3", "Radio 3", "Radio 1", "Radio 2"}));
    EXPECT_EQ(column(0), numbers(7));
}

TEST_F(ClipboardTest, DeleteOfEveryRowOfAListLeavesThePlaceholder)
{
    openNode({"Favs", "Sport"});
    selectRows(0, 2);
    frame().updateCommandUi();
    QTest::mouseClick(frame().toolBar()->widgetForAction(frame().action(ID_PROGRAM_DELETE)), Qt::LeftButton);
    EXPECT_EQ(names(), QStringList({"---NO CHANNELS---"}));
    EXPECT_EQ(counts(), std::vector<int>({11, 6, 10, 0}));
    EXPECT_EQ(std::pair(prompter.messages.size(), enabled(ID_PROGRAM_DELETE)),
              std::pair(std::size_t(0), false)); // no confirmation

    // Del in the whole table deletes programs and their entries.
    openNode({"Satellites"});
    selectRows(2, 3);
    key(Qt::Key_Delete);
    EXPECT_EQ(counts(), std::vector<int>({9, 4, 8, 0}));
    EXPECT_EQ(std::pair(column(0), selected()), std::pair(numbers(9), std::vector<int>({2})));
}

TEST_F(ClipboardTest, PasteRespectsTheBoundaryBetweenTvAndRadio)
{
    openNode({"Satellites"});
    selectRows(0, 1);
    key(Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_FALSE(doc().isModified());

    clickRow(7); // the second radio row
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(prompter.texts(), QStringList({"Can't put TV program among radio program."}));
    EXPECT_EQ(counts(), std::vector<int>({11, 6, 10, 3}));

    clickRow(6); // the first radio row: the end of the TV part
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(counts(), std::vector<int>({13, 8, 10, 3})); // a copy joins no list
    EXPECT_EQ(names().mid(5, 4), QStringList({"Tv 5", "Tv 0", "Tv 1", "Radio 0"}));
    // Numbered anew; the row the paste went before is selected.
    EXPECT_EQ(std::tuple(column(0), selected(), doc().isModified()),
              std::tuple(numbers(13), std::vector<int>({8}), true));

    // Copying both kinds warns.
    selectRows(7, 8);
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(prompter.messages.back().text, "You have together TV and Radio programs in clipboard!");
}

TEST_F(ClipboardTest, CutMeansWhatTheSelectedNodeHolds)
{
    const ChannelDatabase& db = doc().database();
    // A provider: the program leaves the database and every list; pasted back, it returns to them.
    openNode({"Providers", "Beta"});
    ASSERT_EQ(cell(1, 1), "Tv 4");
    clickRow(1);
    key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(counts(), std::vector<int>({10, 5, 9, 2}));
    EXPECT_EQ(db.clipboard().front().programIndex, -1);
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(std::pair(counts(), cell(1, 1)), std::pair(std::vector<int>({11, 6, 10, 3}), QString("Tv 4")));

    // A favourite list: only that list loses it.
    openNode({"Favs", "Sport"});
    clickRow(0);
    key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(counts(), std::vector<int>({11, 6, 10, 2}));

    // The "Favs" root: every list loses it, the table keeps it.
    openNode({"Favs"});
    ASSERT_EQ(cell(4, 1), "Tv 4");
    clickRow(4);
    key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(counts(), std::vector<int>({11, 6, 9, 1}));
    EXPECT_GE(db.clipboard().front().programIndex, 0);
    EXPECT_EQ(cell(4, 0), "0006"); // under the root the rows keep their numbers
}

TEST_F(ClipboardTest, PasteStaysOfferedOnlyOnTheTableRoots)
{
    const auto pasteEnabled = [this](const QStringList& node) {
        openNode(node);
        clickRow(0);
        frame().setActiveView(&list());
        return enabled(ID_EDIT_PASTE);
    };
    EXPECT_FALSE(pasteEnabled({"Satellites"})); // empty clipboard
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(enabled(ID_EDIT_PASTE));
    QList<bool> offered;
    for (const QStringList& node : {QStringList{"Favs", "News"}, {"Providers"}, {"Providers", "Alpha"}, {"Favs"}})
        offered << pasteEnabled(node);
    EXPECT_EQ(offered, QList<bool>({false, true, false, false}));
    // A copy in a favourite list offers Paste there until the selection moves on.
    openNode({"Favs", "News"});
    clickRow(0);
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(enabled(ID_EDIT_PASTE));
}

} // namespace
} // namespace satorix::test
