// Sort, moves, bulk edits and duplicates from the Edit menu and the keys, on real widgets.
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "app/COrbitDoc.h"
#include "app/EditHistory.h"
#include "db/ChannelDatabase.h"
#include "db/Duplicates.h"
#include "db/NameCodec.h"
#include "db/Names.h"
#include "db/ProgramOrder.h"
#include "gui/CommandIds.h"
#include "tests/dialogs/DialogTestSupport.h"
#include "tests/gui/GuiTestSupport.h"
#include "views/COrbitView.h"

namespace satorix::test {
namespace {

class ToolsGuiTest : public ::testing::Test, public AppFixture {};

TEST_F(ToolsGuiTest, MenusAndKeysEditTheSelectedRowsAsOneStepEach)
{
    ASSERT_TRUE(start(QString::fromStdString(writeSample(file("t.si"), 6))));
    frame().show();
    frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
    ChannelDatabase& db = doc().database();
    COrbitView& list = *frame().orbitView();
    list.setFocus();
    const auto select = [&](int first, int last) {
        list.selectionModel()->select(QItemSelection(list.model()->index(first, 0), list.model()->index(last, 9)),
                                      QItemSelectionModel::ClearAndSelect);
        frame().updateCommandUi();
    };
    const std::string second = programName(db, 2);

    select(2, 4);
    QTest::keyClick(&list, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(list.selectedRealRows(), (std::vector<int>{3, 4, 5}));
    EXPECT_EQ(programName(db, 3), second);
    EXPECT_EQ(doc().history().undoText(), "Move down 3 programs");

    ASSERT_TRUE(trigger(ID_PROGRAM_LOCK));
    for (int p : {3, 4, 5}) EXPECT_NE(record(db, DBT_PROGRAM, p).field[progf::FLAGS] & FLAG_LOCKED, 0) << p;
    EXPECT_EQ(frame().action(ID_FAV_ADD_FIRST + 1)->text().toStdString(),
              std::string(boundedName(db.raw().namePtr(DatabaseImage::favOffset(1)))));
    ASSERT_TRUE(trigger(ID_FAV_ADD_FIRST + 1));
    for (int p : {3, 4, 5}) {
        std::uint32_t mask = 0;
        db.favouriteMask(p, mask);
        EXPECT_NE(mask & scopeFav(1), 0u) << p;
    }

    select(0, 0); // one row: the sort takes every row shown
    ASSERT_TRUE(trigger(ID_SORT_NAME));
    const auto shown = [&](int p) { return decodeName(programName(db, p)); };
    for (int p = 1; p < db.tvProgramCount(); ++p) EXPECT_LE(naturalCompare(shown(p - 1), shown(p)), 0) << p;

    const int programs = db.programCount();
    const std::size_t groups = findDuplicates(db).size();
    ASSERT_GT(groups, 0u);
    onModal([](QDialog* d) { d->findChild<QPushButton*>("deleteCheckedButton")->click(); });
    ASSERT_TRUE(trigger(ID_FIND_DUPLICATES));
    EXPECT_LT(db.programCount(), programs);
    EXPECT_TRUE(findDuplicates(db).empty() || !findDuplicates(db).front().certain);
    EXPECT_EQ(doc().history().count(), 5);
    while (doc().history().canUndo()) ASSERT_TRUE(trigger(ID_EDIT_UNDO));
    EXPECT_EQ(programName(db, 2), second);
    EXPECT_FALSE(doc().isModified());
}

} // namespace
} // namespace satorix::test
