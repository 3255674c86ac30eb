// The Find bar over the program list.
#include <QLabel>
#include <QLineEdit>

#include "gui/CommandIds.h"
#include "tests/views/ViewsFixture.h"
#include "views/FindBar.h"

namespace satorix::test {
namespace {

class FindTest : public ViewsTest {
protected:
    QLineEdit* edit() { return list().findBar()->findChild<QLineEdit*>("findEdit"); }
    std::pair<int, QString> found()
    {
        return {list().currentIndex().row(), list().findBar()->findChild<QLabel*>("findStatus")->text()};
    }
};

TEST_F(FindTest, CtrlFTypesF3WrapsBothWaysNotFoundIsShownAndEscapeCloses)
{
    list().setFocus();
    ASSERT_TRUE(trigger(ID_EDIT_FIND));
    ASSERT_NE(edit(), nullptr);
    ASSERT_TRUE(waitFor([this] { return list().findBar()->isVisible() && edit()->hasFocus(); }));
    // Case does not matter; the name's character-table byte cannot stop a match.
    QTest::keyClicks(edit(), "ARTE");
    EXPECT_EQ(std::pair(found().first, int(list().selectionModel()->selectedRows().size())), std::pair(0, 1));
    edit()->clear();
    QTest::keyClicks(edit(), "radio");
    EXPECT_EQ(found(), std::pair(4, QString()));
    // Forward past the end back to the top, then backward past the top.
    const std::tuple<Qt::Key, Qt::KeyboardModifiers, int, const char*> steps[] = {
        {Qt::Key_F3, {}, 5, ""},
        {Qt::Key_F3, {}, 4, "Wrapped"},
        {Qt::Key_F3, Qt::ShiftModifier, 5, "Wrapped"},
        {Qt::Key_Return, Qt::ShiftModifier, 4, ""}};
    for (const auto& [k, mods, row, shown] : steps) {
        QTest::keyClick(edit(), k, mods);
        EXPECT_EQ(found(), std::pair(row, QString(shown)));
    }
    // F3 from the list itself goes on with the same text.
    list().setFocus();
    QTest::keyClick(&list(), Qt::Key_F3);
    EXPECT_EQ(found().first, 5);

    edit()->clear();
    QTest::keyClicks(edit(), "cnn");
    EXPECT_EQ(found().first, 2);
    QTest::keyClicks(edit(), "x");
    EXPECT_EQ(std::pair(list().findBar()->status(), found()),
              std::pair(FindBar::Status::NotFound, std::pair(2, QString("Not found"))));
    EXPECT_NE(edit()->palette().color(QPalette::Base), list().palette().color(QPalette::Base));
    QTest::keyClick(edit(), Qt::Key_Backspace);
    EXPECT_EQ(list().findBar()->status(), FindBar::Status::Found);
    QTest::keyClick(edit(), Qt::Key_Escape);
    EXPECT_FALSE(list().findBar()->isVisible());
    // The placeholder row is never a match.
    clickNode({"Satellites", "Lonely"});
    list().startFind();
    QTest::keyClicks(edit(), "no channels");
    EXPECT_EQ(list().findBar()->status(), FindBar::Status::NotFound);
}

} // namespace
} // namespace satorix::test
