// The program list: columns, filling, placeholder, menus, program dialog, selection, drawing, Find bar.
#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>

#include "db/Names.h"
#include "gui/CommandIds.h"
#include "tests/views/ViewsFixture.h"
#include "views/CommandMenu.h"
#include "views/FindBar.h"
#include "views/ProgramRowDelegate.h"

namespace satorix::test {
namespace {

class ListTest : public ViewsTest {
protected:
    CommandMenu* menuAt(QPoint at)
    {
        QTest::mouseClick(list().viewport(), Qt::RightButton, {}, at);
        EXPECT_TRUE(waitFor([this] { return list().programMenu()->isVisible(); }));
        return list().programMenu();
    }
    CommandMenu* rowMenu(int row) { return menuAt(rowPoint(row)); }
    void doubleClickRow(int row) { QTest::mouseDClick(list().viewport(), Qt::LeftButton, {}, rowPoint(row)); }
    QList<bool> editCommands(int row)
    {
        clickRow(row);
        frame().setActiveView(&list());
        return {enabled(ID_EDIT_CUT), enabled(ID_EDIT_COPY), enabled(ID_EDIT_PASTE), enabled(ID_PROGRAM_DELETE)};
    }
    int selectedCount() { return int(list().selectionModel()->selectedRows().size()); }
    QLineEdit* edit() { return list().findBar()->findChild<QLineEdit*>("findEdit"); }
    std::pair<int, QString> found()
    {
        return {list().currentIndex().row(), list().findBar()->findChild<QLabel*>("findStatus")->text()};
    }
};

TEST_F(ListTest, ColumnsFiltersAndPlaceholderInAModelThatKeepsItsContract)
{
    QStringList headers;
    const int widths[] = {75, 130, 75, 130, 130, 80, 65, 40, 50, 70};
    for (int c = 0; c < 10; ++c) {
        headers << list().model()->headerData(c, Qt::Horizontal).toString();
        EXPECT_GE(list().horizontalHeader()->sectionSize(c), widths[c]); // DesktopTest checks that the text fits
    }
    EXPECT_EQ(headers, QStringList({"Ch Index", "Channel Name", "Ch Status", "Provider", "Satellite", "Tr. Frequency",
                                    "Symbolrate", "Pol.", "FEC", "FAVs"}));
    // Every refill below is checked as it happens.
    QAbstractItemModelTester tester(list().model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    for (const char* path : {"Favs/News", "Providers/Beta", "Satellites/Lonely"}) clickNode(QString(path).split('/'));
    EXPECT_EQ(std::pair(names(), editCommands(0)),
              std::pair(QStringList({"---NO CHANNELS---"}), QList<bool>(4, false)));
    EXPECT_EQ(list().firstSelectedRow(), 0); // selected all the same
    CommandMenu* menu = rowMenu(0);
    EXPECT_EQ(std::pair(menuEntryEnabled(menu, ID_PROGRAM_EDIT), menuEntryEnabled(menu, ID_PROGRAM_ADD)),
              std::pair(false, true));
    menu->close();
    doubleClickRow(0); // opens nothing
    menuEntry(menu, ID_PROGRAM_ADD)->trigger();
    EXPECT_EQ(dialogs->calls, QStringList({"program 4 -1"}));
    // A real row enables them again, as far as the tree's mask allows.
    clickNode({"Providers", "Alpha"});
    EXPECT_EQ(editCommands(1), QList<bool>({true, true, false, true}));

    clickNode({"Favs", "News"});
    EXPECT_FALSE(list().showsProgramTable());
    // Below the last row the menu offers no Add.
    menuAt(QPoint(20, list().viewport()->height() - 5));
    EXPECT_FALSE(menuEntryEnabled(menu, ID_PROGRAM_ADD));
    menu->close();
    // Radio only from the list's own menu, whose View entry shows the choice.
    rowMenu(0);
    EXPECT_EQ(std::pair(menuEntry(menu, ID_LIST_TV_RADIO)->isChecked(), menuEntry(menu, ID_LIST_RADIO)->isChecked()),
              std::pair(true, false));
    menuEntry(menu, ID_LIST_RADIO)->trigger();
    EXPECT_EQ(std::pair(browser().scope(), names()), std::pair(SCOPE_RADIO | scopeFav(0), QStringList({"Radio Two"})));
    clickNode({"Satellites"});
    EXPECT_EQ(names(), QStringList({"Radio One", "Radio Two", "Jazz"}));
    rowMenu(0);
    EXPECT_TRUE(menuEntry(menu, ID_LIST_RADIO)->isChecked());
    menuEntry(menu, ID_LIST_TV)->trigger();
    EXPECT_EQ(names(), QStringList({"Arte", "BBC One", "CNN", "Deutsche"}));
}

TEST_F(ListTest, DoubleClickEnterAndAddOpenTheProgramDialog)
{
    // Enter with only rows out of sight selected opens nothing.
    frame().resize(900, 200);
    ASSERT_TRUE(waitFor([this] { return list().rowsPerPage() < 6; }));
    clickRow(6);
    list().scrollToTop();
    list().setFocus();
    QTest::keyClick(&list(), Qt::Key_Return);
    EXPECT_TRUE(dialogs->calls.isEmpty());

    clickNode({"Favs", "News"});
    doubleClickRow(1);
    EXPECT_EQ(dialogs->calls, QStringList({"program 8 2"})); // CNN
    // Enter takes the first selected row on the page.
    clickRow(2);
    clickRow(0, Qt::LeftButton, Qt::ControlModifier);
    list().setFocus();
    QTest::keyClick(&list(), Qt::Key_Return);
    EXPECT_EQ(dialogs->calls.last(), "program 8 1"); // BBC One
    // After OK in a list the row gets new texts in place and the others stay.
    dialogs->ok = true;
    dialogs->onProgramOk = [this] {
        copyName(app().database().raw().namePtr(DatabaseImage::programOffset(1) + layout::prog::NAME), "BBC Two");
    };
    int fills = list().fillCount();
    QTest::keyClick(&list(), Qt::Key_Return);
    EXPECT_EQ(std::tuple(names(), list().fillCount(), doc().isModified()),
              std::tuple(QStringList({"BBC Two", "CNN", "Radio Two"}), fills, true));

    // In the whole table the list refills, and the tree appends a new provider once.
    clickNode({"Satellites"});
    dialogs->onProgramOk = [this] {
        RecordView rec;
        rec.name[0] = "Gamma";
        app().database().recordOp(DBT_PROVIDER, OP_ADD, 2, rec);
        app().database().raw().setU16(DatabaseImage::programOffset(3) + layout::prog::PROVIDER, 2);
    };
    fills = list().fillCount();
    doubleClickRow(3);
    EXPECT_GT(list().fillCount(), fills);
    EXPECT_EQ(std::tuple(cell(3, 3), list().currentIndex().row(), browser().providerRequest),
              std::tuple(QString("Gamma"), 3, false));
    browser().providerRequest = true;
    doc().updateAllViews(nullptr);
    EXPECT_EQ(childTexts({"Providers"}), QStringList({"Alpha", "Beta", "Gamma"}));

    // An added program outside the shown half leaves the list but marks the document.
    doc().setModifiedFlag(false);
    dialogs->onProgramOk = nullptr;
    dialogs->newProgram = 0; // a TV program
    menuEntry(rowMenu(0), ID_LIST_RADIO)->trigger();
    fills = list().fillCount();
    menuEntry(rowMenu(0), ID_PROGRAM_ADD)->trigger();
    EXPECT_EQ(std::tuple(dialogs->calls.last(), list().fillCount(), doc().isModified()),
              std::tuple(QString("program 4 4"), fills, true)); // the program under the pointer
}

TEST_F(ListTest, RightButtonDragSelectsARangeCellsAreCutAndFailuresSay)
{
    QWidget* vp = list().viewport();
    QTest::mousePress(vp, Qt::RightButton, {}, rowPoint(1));
    // Down to row 4, then back above the anchor: the page is cleared and the new range selected.
    for (const auto& [to, rows, first] : {std::tuple{4, 4, 1}, {0, 2, 0}}) {
        QMouseEvent move(QEvent::MouseMove, rowPoint(to), vp->mapToGlobal(rowPoint(to)), Qt::NoButton, Qt::RightButton,
                         {});
        QApplication::sendEvent(vp, &move);
        EXPECT_EQ(std::tuple(selectedCount(), list().firstSelectedRow(), list().currentIndex().row()),
                  std::tuple(rows, first, to));
    }
    QTest::mouseRelease(vp, Qt::RightButton, {}, rowPoint(0));
    EXPECT_FALSE(list().programMenu()->isVisible()); // a drag opens no menu

    const QFontMetrics fm(list().font());
    const QString text = QStringLiteral("A rather long channel name");
    const int width = fm.horizontalAdvance(QStringLiteral("A rather..."));
    // The longest start that fits with the dots.
    const QString cut = ProgramRowDelegate::cutToWidth(text, fm, width);
    EXPECT_TRUE(cut.endsWith("...") && text.startsWith(cut.chopped(3)) && fm.horizontalAdvance(cut) <= width &&
                fm.horizontalAdvance(text.left(cut.size() - 2) + "...") > width)
        << cut.toStdString();
    EXPECT_EQ(ProgramRowDelegate::cutToWidth(QStringLiteral("CNN"), fm, 200), "CNN");
    // The drawn list: a selected row is filled with the highlight colour.
    clickRow(1);
    const QRect rect = list().visualRect(list().model()->index(1, 7));
    EXPECT_EQ(list().viewport()->grab().toImage().pixelColor(rect.right() - 2, rect.center().y()),
              list().palette().color(QPalette::Active, QPalette::Highlight));

    // A program whose provider is past the table: the row shows what it can, one box says why.
    app().database().raw().setU16(DatabaseImage::programOffset(2) + layout::prog::PROVIDER, 40);
    list().refill();
    EXPECT_EQ(std::pair(prompter.texts(), QStringList({cell(2, 1), cell(2, 3)})),
              std::pair(QStringList({"Error: 503->(-3)"}), QStringList({"CNN", ""})));
    browser().setScope(SCOPE_TV_RADIO);
    list().refill();
    EXPECT_EQ(prompter.texts().mid(1), QStringList({"Program executing error:\nUnknown FAV list!"}));
    EXPECT_EQ(std::pair(prompter.messages.back().icon, list().listModel().rowCount()), std::pair(PromptIcon::Stop, 0));
}

TEST_F(ListTest, CtrlFTypesF3WrapsBothWaysNotFoundIsShownAndEscapeCloses)
{
    list().setFocus();
    ASSERT_TRUE(trigger(ID_EDIT_FIND));
    ASSERT_NE(edit(), nullptr);
    ASSERT_TRUE(waitFor([this] { return list().findBar()->isVisible() && edit()->hasFocus(); }));
    // Case does not matter; the name's character-table byte cannot stop a match.
    QTest::keyClicks(edit(), "ARTE");
    EXPECT_EQ(std::pair(found().first, selectedCount()), std::pair(0, 1));
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
