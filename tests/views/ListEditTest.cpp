// Cut, copy, paste and delete of the list's rows, and moving them with the left button.
#include <QLabel>
#include <QScrollBar>
#include <QToolBar>

#include "gui/CommandIds.h"
#include "tests/views/ViewsFixture.h"
#include "views/ProgramDragController.h"

namespace satorix::test {
namespace {

using Rows = std::vector<int>;

class EditTest : public ViewsTest {
protected:
    EditTest() { editDatabase = true; }
    // Programs, TV programs, entries of "News" and of "Sport".
    Rows counts() { return {db().programCount(), db().tvProgramCount(), db().favCount(0), db().favCount(1)}; }
    ChannelDatabase& db() { return doc().database(); }
    Rows selected() { return list().selectedRealRows(); }
    void selectRows(int first, int last)
    {
        clickRow(first);
        if (last != first) clickRow(last, Qt::LeftButton, Qt::ShiftModifier);
    }
    // Keys reach the frame's accelerators once the idle pass has enabled them.
    void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::ControlModifier)
    {
        focusList();
        QTest::keyClick(&list(), k, mods);
    }
    void press(int first, int last, Qt::Key k, Qt::KeyboardModifiers mods = Qt::ControlModifier)
    {
        selectRows(first, last);
        key(k, mods);
    }
    bool numbered() // 0001 on
    {
        QStringList numbers;
        for (int k = 1; k <= names().size(); ++k) numbers << QString::asprintf("%04d", k);
        return !numbers.isEmpty() && column(0) == numbers;
    }
    QWidget* area() { return list().viewport(); }
    ProgramDragController& drag() { return *list().dragController(); }
    // Presses on a row (clicked first unless selected) and moves past the drag distance: the rows lift.
    void lift(int row, bool click = true)
    {
        if (click) clickRow(row);
        QTest::mousePress(area(), Qt::LeftButton, {}, rowPoint(row));
        QTest::mouseMove(area(), rowPoint(row) + QPoint(0, 12));
    }
    void dragRow(int row, QPoint to)
    {
        lift(row);
        QTest::mouseRelease(area(), Qt::LeftButton, {}, to);
    }
    void shortList(int scroll)
    {
        frame().resize(900, 200);
        ASSERT_TRUE(waitFor([this] { return list().rowsPerPage() < 8; }));
        list().verticalScrollBar()->setValue(std::min(scroll, list().verticalScrollBar()->maximum()));
    }
};

TEST_F(EditTest, CutAndDeleteRenumberAndSelectTheNextRow)
{
    openNode({"Favs", "News"});
    press(4, 6, Qt::Key_X);
    EXPECT_EQ(std::tuple(names(), numbered(), selected(), counts()), // only the list lost them
              std::tuple(QStringList({"Tv 0", "Tv 1", "Tv 2", "Tv 3", "Radio 1", "Radio 2", "Radio 3"}), true, Rows{4},
                         Rows{11, 6, 7, 3}));
    EXPECT_EQ(std::tuple(db().favTvCount(0), db().clipboardCount(), doc().isModified(), prompter.texts()),
              std::tuple(4, 3, true, QStringList({"You have together TV and Radio programs in clipboard!"})));
    // The last row: the new last row is selected.
    press(6, 6, Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(std::pair(names().size(), selected()), std::pair(qsizetype(6), Rows{5}));
    // The cut radio program goes back only from the list's first radio row on.
    press(2, 2, Qt::Key_V);
    EXPECT_EQ(std::pair(prompter.messages.back().text, names().size()),
              std::pair(QString("Can't put radio program among TV program."), qsizetype(6)));
    press(4, 4, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(std::pair(names(), numbered()),
              std::pair(QStringList({"Tv 0", "Tv 1", "Tv 2", "Tv 3", "Radio 3", "Radio 1", "Radio 2"}), true));

    // Delete of every row of a list leaves the placeholder.
    prompter.clear();
    openNode({"Favs", "Sport"});
    selectRows(0, 2);
    frame().updateCommandUi();
    QTest::mouseClick(frame().toolBar()->widgetForAction(frame().action(ID_PROGRAM_DELETE)), Qt::LeftButton);
    EXPECT_EQ(std::tuple(names(), counts(), prompter.messages.size(), enabled(ID_PROGRAM_DELETE)), // no confirmation
              std::tuple(QStringList({"---NO CHANNELS---"}), Rows{11, 6, 7, 0}, std::size_t(0), false));
    openNode({"Satellites"});
    press(2, 3, Qt::Key_Delete, {});
    EXPECT_EQ(std::tuple(counts(), numbered(), names().size(), selected()),
              std::tuple(Rows{9, 4, 5, 0}, true, qsizetype(9), Rows{2}));
}

TEST_F(EditTest, PasteRespectsTheBoundaryBetweenTvAndRadio)
{
    openNode({"Satellites"});
    press(0, 1, Qt::Key_Insert);
    press(7, 7, Qt::Key_V); // the second radio row
    EXPECT_EQ(std::pair(prompter.texts(), counts()),
              std::pair(QStringList({"Can't put TV program among radio program."}), Rows{11, 6, 10, 3}));
    press(6, 6, Qt::Key_V); // the first radio row: the end of the TV part
    // A copy joins no list; numbered anew, the row the paste went before is selected.
    EXPECT_EQ(std::tuple(counts(), names().mid(5, 4), numbered(), selected(), doc().isModified()),
              std::tuple(Rows{13, 8, 10, 3}, QStringList({"Tv 5", "Tv 0", "Tv 1", "Radio 0"}), true, Rows{8}, true));
    press(7, 8, Qt::Key_C);
    EXPECT_EQ(prompter.messages.back().text, "You have together TV and Radio programs in clipboard!");
}

TEST_F(EditTest, PasteOfferedOnTheTableRootsAndCutMeansWhatTheNodeHolds)
{
    const auto pasteEnabled = [this](const char* node) {
        openNode(QString(node).split('/'));
        clickRow(0);
        frame().setActiveView(&list());
        return enabled(ID_EDIT_PASTE);
    };
    EXPECT_FALSE(pasteEnabled("Satellites")); // empty clipboard
    key(Qt::Key_C);
    EXPECT_TRUE(enabled(ID_EDIT_PASTE));
    QList<bool> offered;
    for (const char* node : {"Favs/News", "Providers", "Providers/Alpha", "Favs"}) offered << pasteEnabled(node);
    EXPECT_EQ(offered, QList<bool>({false, true, false, false}));
    // A copy in a favourite list offers Paste there until the selection moves on.
    pasteEnabled("Favs/News");
    key(Qt::Key_C);
    EXPECT_TRUE(enabled(ID_EDIT_PASTE));

    // A provider: the program leaves the database and every list; pasted back, it returns to them.
    openNode({"Providers", "Beta"});
    press(1, 1, Qt::Key_X);
    EXPECT_EQ(std::pair(counts(), db().clipboard().front().programIndex), std::pair(Rows{10, 5, 9, 2}, -1));
    key(Qt::Key_V);
    EXPECT_EQ(std::pair(counts(), cell(1, 1)), std::pair(Rows{11, 6, 10, 3}, QString("Tv 4")));
    openNode({"Favs", "Sport"});
    press(0, 0, Qt::Key_X);
    EXPECT_EQ(counts(), Rows({11, 6, 10, 2}));
    // The "Favs" root: every list loses it, the table keeps it; under the root the rows keep their numbers.
    openNode({"Favs"});
    press(4, 4, Qt::Key_X);
    EXPECT_EQ(std::tuple(counts(), db().clipboard().front().programIndex >= 0, cell(4, 0)),
              std::tuple(Rows{11, 6, 9, 1}, true, QString("0006")));
}

TEST_F(EditTest, RowsMoveInTheTableTheListsFollowAndTvStaysAboveRadio)
{
    openNode({"Favs", "Movies"});
    ASSERT_EQ(cell(0, 1), "---NO CHANNELS---");
    dragRow(0, rowPoint(0));
    EXPECT_EQ(std::tuple(db().dragInProgress(), doc().isModified(), prompter.messages.size()),
              std::tuple(false, false, std::size_t(0)));
    // A provider's rows are not places of the table: the drag is refused and says why.
    openNode({"Providers", "Beta"});
    lift(1);
    EXPECT_EQ(std::pair(drag().dragging(), prompter.messages.size()), std::pair(false, std::size_t(1)));
    QTest::mouseRelease(area(), Qt::LeftButton, {}, rowPoint(0));
    EXPECT_EQ(std::pair(db().programCount(), doc().isModified()), std::pair(11, false));

    openNode({"Satellites"});
    selectRows(3, 4);
    lift(4, false);
    ASSERT_TRUE(drag().dragging() && db().dragInProgress());
    EXPECT_EQ(std::pair(db().programCount(), int(names().size())), std::pair(9, 11)); // lifted out, still shown
    QTest::mouseMove(area(), rowPoint(1));
    EXPECT_EQ(std::tuple(drag().picture()->isVisible(), drag().picture()->pos(), list().currentIndex().row()),
              std::tuple(true, area()->mapToGlobal(rowPoint(1)) + QPoint(7, 2), 1));
    QTest::mouseRelease(area(), Qt::LeftButton, {}, rowPoint(1));
    EXPECT_FALSE(drag().dragging() || db().dragInProgress() || drag().picture()->isVisible());
    EXPECT_EQ(
        std::tuple(names().mid(0, 6), cell(1, 0), cell(10, 0), selected(), db().programCount(), doc().isModified()),
        std::tuple(QStringList({"Tv 0", "Tv 3", "Tv 4", "Tv 1", "Tv 2", "Tv 5"}), QString("0002"), QString("0011"),
                   Rows{1, 2}, 11, true));
    // The list entries still name the same programs, in their own order.
    openNode({"Favs", "Sport"});
    EXPECT_EQ(names(), QStringList({"Tv 1", "Tv 4", "Radio 1"}));
    // In a favourite list the entries move, the table stays.
    openNode({"Favs", "News"});
    dragRow(2, rowPoint(0));
    EXPECT_EQ(std::pair(names().mid(0, 3), db().programCount()), std::pair(QStringList({"Tv 2", "Tv 0", "Tv 1"}), 11));

    openNode({"Satellites"});
    lift(0);
    QTest::mouseMove(area(), rowPoint(8)); // a radio row is never highlighted for TV
    EXPECT_LE(list().currentIndex().row(), 6);
    QTest::mouseRelease(area(), Qt::LeftButton, {}, rowPoint(8));
    EXPECT_EQ(std::pair(names().mid(4, 3), db().tvProgramCount()),
              std::pair(QStringList({"Tv 5", "Tv 0", "Radio 0"}), 6));
    // Both kinds at once are refused before anything is lifted.
    prompter.clear();
    selectRows(5, 6);
    lift(6, false);
    EXPECT_EQ(std::pair(drag().dragging(), prompter.texts()),
              std::pair(false, QStringList({"You can't drag TV and Radio programs together"})));
    QTest::mouseRelease(area(), Qt::LeftButton, {}, rowPoint(0));
    EXPECT_EQ(std::pair(names().mid(4, 3), db().dragInProgress()),
              std::pair(QStringList({"Tv 5", "Tv 0", "Radio 0"}), false));
}

TEST_F(EditTest, ReleaseOutsideTheListLandsOnAVisibleRowAndHoldingAboveScrolls)
{
    openNode({"Satellites"});
    shortList(2);
    ASSERT_EQ(list().topIndex(), 2);
    dragRow(4, QPoint(-40, -30));
    EXPECT_EQ(cell(2, 1), "Tv 4");
    // Below, a radio row: the row under the bottom edge, or the last row when none.
    list().verticalScrollBar()->setValue(list().verticalScrollBar()->maximum());
    const int source = list().topIndex();
    ASSERT_GE(source, 6);
    const QString moved = cell(source, 1);
    const int bottom = list().rowAt(area()->height() - 2);
    // The moved row goes in before the row it was dropped on, counted without itself.
    dragRow(source, QPoint(area()->width() + 20, area()->height() + 30));
    EXPECT_EQ(cell((bottom < 0 ? 10 : bottom) - 1, 1), moved);

    // A favourite list scrolls past its boundary; a radio row lands no higher than the first radio place.
    openNode({"Favs", "News"});
    shortList(1000);
    const int top = list().topIndex();
    ASSERT_GT(top, 1);
    const QString held = cell(top + 1, 1);
    lift(top + 1);
    QTest::mouseMove(area(), QPoint(20, -15));
    ASSERT_TRUE(waitFor([this] { return list().topIndex() == 0; }));
    QTest::mouseRelease(area(), Qt::LeftButton, {}, QPoint(20, -15));
    EXPECT_EQ(std::tuple(drag().dragging(), cell(6, 1), db().favCount(0)), std::tuple(false, held, 10));
}

} // namespace
} // namespace satorix::test
