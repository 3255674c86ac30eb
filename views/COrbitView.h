#pragma once

#include <QPoint>
#include <QTableView>
#include <memory>
#include <vector>

#include "gui/DocumentView.h"
#include "gui/Prompter.h"
#include "views/ProgramListModel.h"

namespace satorix {

class ClipboardCommands;
class ProgramCommands;
class CommandMenu;
class EditDialogs;
class FindBar;
class ProgramDragController;
class ProgramRowDelegate;

// The right pane: the programs of the tree's current selection, one row record per program.
//
// The clipboard and drag commands build on: listModel() (rows with their program index and
// position, the placeholder test), firstSelectedRow(), rebuildChain() (new row records after a
// change, texts left to the caller), selectAndFocus(), topIndex() / rowsPerPage(), refill().
class COrbitView : public QTableView, public DocumentView {
    Q_OBJECT
public:
    // The program dialog's modes, passed on as they are.

    COrbitView(Document& doc, QWidget* parent = nullptr);
    ~COrbitView() override;

    void onInitialUpdate() override;
    void onUpdate(DocumentView* sender, int hint) override;
    QWidget* widget() override { return this; }

    // The dialogs the list opens; null opens nothing.
    void setEditDialogs(EditDialogs* dialogs) { dialogs_ = dialogs; }

    // How often the list has been refilled; every document update refills it.
    int fillCount() const { return fillCount_; }
    // Empties the list and fills it from BrowserState.
    void refill();

    ProgramListModel& listModel() { return model_; }
    const ProgramListModel& listModel() const { return model_; }
    bool holdsPlaceholder() const { return model_.holdsPlaceholder(); }
    // True when the last fill listed the program table, false for a favourite list.
    bool showsProgramTable() const { return programTable_; }
    // The lowest selected row, -1 when none; the selection is read by ranges, never row by row.
    int firstSelectedRow() const;
    bool realRowSelected() const;
    // The whole table or a whole favourite list: row numbers are places there, so rows can move.
    bool showsWholeList() const;
    bool dragging() const;
    // New row records for the present scope. The items get their program index and position from
    // them; their texts stay, callers copy the ones they need. False after a refused fill.
    bool rebuildChain(std::vector<ListRow>& chain);
    // The selected rows that show a program, ascending.
    std::vector<int> selectedRealRows() const;
    // Selects exactly these rows (ascending; those past the end are skipped), runs as ranges.
    void selectRows(const std::vector<int>& rows);
    // Adds the row to the selection and makes it current, without scrolling.
    void selectAndFocus(int row);
    void scrollToRow(int row);
    // Takes the selection off the rows of the visible page.
    void deselectPage();
    int topIndex() const;
    int rowsPerPage() const;

    CommandMenu* programMenu() const { return programMenu_; }
    ProgramDragController* dragController() const { return drag_; }
    QPoint contextPoint() const { return contextPoint_; }

    // --- Find ---
    FindBar* findBar() const { return findBar_; }
    void startFind();
    // Selects the next (step 1) or previous (step -1) program whose name holds the bar's text.
    bool findAgain(int step);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void registerCommands();
    void createColumns();
    void setFilter(std::uint32_t bit);
    // The ProgramMenu at a screen point; keyboard asks for the place below the selection.
    void showContextMenu(const QPoint& globalPos, bool keyboard);
    // Opens the program or transponder dialog for the row at a viewport point.
    void editAt(QPoint point, int mode);
    void afterProgramDialog(int row, int mode, int newProgram);
    // The channel name a row shows, for the names of undo steps.
    QString rowName(int row) const;
    void selectRange(const QPoint& pos);
    bool findFrom(int from, int step);
    void placeFindBar();
    void message(const QString& text, PromptIcon icon = PromptIcon::None);

    ProgramListModel model_;
    ProgramRowDelegate* delegate_ = nullptr;
    EditDialogs* dialogs_ = nullptr;
    CommandMenu* programMenu_ = nullptr;
    FindBar* findBar_ = nullptr;
    ProgramDragController* drag_ = nullptr;
    std::unique_ptr<ClipboardCommands> clipboard_;
    std::unique_ptr<ProgramCommands> programCommands_;
    int fillCount_ = 0;
    bool columnsCreated_ = false;
    bool programTable_ = true;
    // Viewport point of the last context-menu request; (-1, -1) came from the keyboard.
    QPoint contextPoint_{-1, -1};
    bool noRowHit_ = false;
    // Right-button range selection.
    int rightPressRow_ = -1;
    QPoint rightPressPos_;
    int rangeAnchor_ = -1;
    bool rangeSelecting_ = false;
};

} // namespace satorix
