// The Find bar over the program list.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include "gui/CommandIds.h"
#include "tests/views/ViewsFixture.h"
#include "views/COrbitView.h"
#include "views/FindBar.h"

namespace satorix::test {
namespace {

class FindTest : public ViewsTest {
protected:
    QLineEdit* edit() { return list().findBar()->findChild<QLineEdit*>("findEdit"); }
    QString status() { return list().findBar()->findChild<QLabel*>("findStatus")->text(); }
    int current() { return list().currentIndex().row(); }
};

TEST_F(FindTest, CtrlFTypesAndF3WrapsBothWays)
{
    frame().activateWindow();
    list().setFocus();
    ASSERT_TRUE(trigger(ID_EDIT_FIND));
    ASSERT_NE(edit(), nullptr);
    ASSERT_TRUE(waitFor([this] { return list().findBar()->isVisible() && edit()->hasFocus(); }));

    // Case does not matter; the name's character-table byte cannot stop a match.
    QTest::keyClicks(edit(), "ARTE");
    EXPECT_EQ(current(), 0);
    EXPECT_EQ(list().selectionModel()->selectedRows().size(), 1);
    edit()->clear();
    QTest::keyClicks(edit(), "radio");
    EXPECT_EQ(current(), 4);
    EXPECT_EQ(status(), "");

    QTest::keyClick(edit(), Qt::Key_F3);
    EXPECT_EQ(current(), 5);
    QTest::keyClick(edit(), Qt::Key_F3); // past the end, back to the top
    EXPECT_EQ(current(), 4);
    EXPECT_EQ(status(), "Wrapped");
    QTest::keyClick(edit(), Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(current(), 5);
    EXPECT_EQ(status(), "Wrapped");
    QTest::keyClick(edit(), Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(current(), 4);
    EXPECT_EQ(status(), "");

    // F3 from the list itself goes on with the same text.
    list().setFocus();
    QTest::keyClick(&list(), Qt::Key_F3);
    EXPECT_EQ(current(), 5);
}

TEST_F(FindTest, NotFoundIsShownAndEscapeCloses)
{
    list().startFind();
    ASSERT_TRUE(waitFor([this] { return list().findBar()->isVisible(); }));
    QTest::keyClicks(edit(), "cnn");
    EXPECT_EQ(current(), 2);
    QTest::keyClicks(edit(), "x");
    EXPECT_EQ(list().findBar()->status(), FindBar::Status::NotFound);
    EXPECT_EQ(status(), "Not found");
    EXPECT_NE(edit()->palette().color(QPalette::Base), list().palette().color(QPalette::Base));
    EXPECT_EQ(current(), 2); // the selection stays where it was
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
