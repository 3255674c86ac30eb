// Moving programs with the left button inside the list: lift, highlight, auto-scroll and drop.
#include <QLabel>
#include <QScrollBar>

#include "tests/views/ViewsFixture.h"
#include "views/ProgramDragController.h"

namespace satorix::test {
namespace {

class DragTest : public ViewsTest {
protected:
    DragTest() { editDatabase = true; }
    QWidget* area() { return list().viewport(); }
    ProgramDragController& drag() { return *list().dragController(); }
    // Presses on a row and moves past the drag distance; the rows are lifted then.
    void start(QPoint at)
    {
        QTest::mousePress(area(), Qt::LeftButton, {}, at);
        QTest::mouseMove(area(), at + QPoint(0, 12));
    }
    void dragRow(int row, QPoint to)
    {
        clickRow(row);
        start(at(row));
        QTest::mouseRelease(area(), Qt::LeftButton, {}, to);
    }
    QPoint at(int row) { return list().visualRect(list().model()->index(row, 1)).center(); }
    void shortList(int scroll)
    {
        frame().resize(900, 200);
        ASSERT_TRUE(waitFor([this] { return list().rowsPerPage() < 8; }));
        list().verticalScrollBar()->setValue(std::min(scroll, list().verticalScrollBar()->maximum()));
    }
};

TEST_F(DragTest, RowsMoveInTheTableTheListsFollowAndTvStaysAboveRadio)
{
    ChannelDatabase& db = doc().database();
    openNode({"Favs", "Movies"});
    ASSERT_EQ(cell(0, 1), "---NO CHANNELS---");
    dragRow(0, at(0));
    EXPECT_EQ(std::tuple(db.dragInProgress(), doc().isModified(), prompter.messages.size()),
              std::tuple(false, false, std::size_t(0)));
    // A provider's rows are not places of the table: the drag is refused and says why.
    openNode({"Providers", "Beta"});
    clickRow(1);
    start(at(1));
    EXPECT_EQ(std::pair(drag().dragging(), prompter.messages.size()), std::pair(false, std::size_t(1)));
    QTest::mouseRelease(area(), Qt::LeftButton, {}, at(0));
    EXPECT_EQ(std::pair(db.programCount(), doc().isModified()), std::pair(11, false));

    openNode({"Satellites"});
    selectRows(3, 4);
    start(at(4));
    ASSERT_TRUE(drag().dragging() && db.dragInProgress());
    EXPECT_EQ(std::pair(db.programCount(), int(names().size())), std::pair(9, 11)); // lifted out, still shown
    QTest::mouseMove(area(), at(1));
    EXPECT_EQ(std::tuple(drag().picture()->isVisible(), drag().picture()->pos(), list().currentIndex().row()),
              std::tuple(true, area()->mapToGlobal(at(1)) + QPoint(7, 2), 1));
    QTest::mouseRelease(area(), Qt::LeftButton, {}, at(1));
    EXPECT_FALSE(drag().dragging() || db.dragInProgress() || drag().picture()->isVisible());
    EXPECT_EQ(std::tuple(names().mid(0, 6), cell(1, 0), cell(10, 0), list().selectedRealRows()),
              std::tuple(QStringList({"Tv 0", "Tv 3", "Tv 4", "Tv 1", "Tv 2", "Tv 5"}), QString("0002"),
                         QString("0011"), std::vector<int>({1, 2})));
    EXPECT_EQ(std::pair(db.programCount(), doc().isModified()), std::pair(11, true));
    // The list entries still name the same programs, in their own order.
    openNode({"Favs", "Sport"});
    EXPECT_EQ(names(), QStringList({"Tv 1", "Tv 4", "Radio 1"}));
    // In a favourite list the entries move, the table stays.
    openNode({"Favs", "News"});
    dragRow(2, at(0));
    EXPECT_EQ(std::pair(names().mid(0, 3), db.programCount()), std::pair(QStringList({"Tv 2", "Tv 0", "Tv 1"}), 11));

    openNode({"Satellites"});
    clickRow(0);
    start(at(0));
    QTest::mouseMove(area(), at(8)); // a radio row is never highlighted for TV
    EXPECT_LE(list().currentIndex().row(), 6);
    QTest::mouseRelease(area(), Qt::LeftButton, {}, at(8));
    EXPECT_EQ(std::pair(names().mid(4, 3), db.tvProgramCount()),
              std::pair(QStringList({"Tv 5", "Tv 0", "Radio 0"}), 6));
    // Both kinds at once are refused before anything is lifted.
    prompter.clear();
    selectRows(5, 6);
    start(at(6));
    EXPECT_FALSE(drag().dragging());
    EXPECT_EQ(prompter.texts(), QStringList({"You can't drag TV and Radio programs together"}));
    QTest::mouseRelease(area(), Qt::LeftButton, {}, at(0));
    EXPECT_EQ(std::pair(names().mid(4, 3), db.dragInProgress()),
              std::pair(QStringList({"Tv 5", "Tv 0", "Radio 0"}), false));
}

TEST_F(DragTest, ReleaseOutsideTheListLandsOnAVisibleRowAndHoldingAboveScrolls)
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
    clickRow(top + 1);
    const QString held = cell(top + 1, 1);
    start(at(top + 1));
    QTest::mouseMove(area(), QPoint(20, -15));
    ASSERT_TRUE(waitFor([this] { return list().topIndex() == 0; }));
    QTest::mouseRelease(area(), Qt::LeftButton, {}, QPoint(20, -15));
    EXPECT_EQ(std::tuple(drag().dragging(), cell(6, 1), doc().database().favCount(0)), std::tuple(false, held, 10));
}

} // namespace
} // namespace satorix::test
