#include "views/COrbitView.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <algorithm>

#include "db/ChannelDatabase.h"
#include "gui/BrowserState.h"
#include "gui/CommandIds.h"
#include "gui/Document.h"
#include "gui/EditDialogs.h"
#include "gui/StepTexts.h"
#include "views/ClipboardCommands.h"
#include "views/CommandMenu.h"
#include "views/FindBar.h"
#include "views/ProgramCommands.h"
#include "views/ProgramDragController.h"
#include "views/ProgramRowDelegate.h"
#include "views/ViewTexts.h"

namespace satorix {

namespace {

} // namespace

COrbitView::COrbitView(Document& doc, QWidget* parent) : QTableView(parent), DocumentView(doc)
{
    setObjectName(QStringLiteral("orbitView"));
    setModel(&model_);
    delegate_ = new ProgramRowDelegate(this);
    setItemDelegate(delegate_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Fixed rows: the header never asks the delegate for a size, whatever the number of rows.
    QHeaderView* rows = verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(fontMetrics().height() + 4);
    QHeaderView* columns = horizontalHeader();
    columns->setHighlightSections(false);
    columns->setSectionsClickable(false);
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    columns->setStretchLastSection(false);

    programMenu_ = new CommandMenu(*this, QStringLiteral("programMenu"), this);
    programMenu_->addCommand(ID_PROGRAM_EDIT, QStringLiteral("Edit"));
    programMenu_->addCommand(ID_PROGRAM_ADD, QStringLiteral("Add"));
    programMenu_->addSeparator();
    programMenu_->addCommand(ID_EDIT_CUT, QStringLiteral("Cu&t\tCtrl+X"));
    programMenu_->addCommand(ID_EDIT_COPY, QStringLiteral("&Copy\tCtrl+C"));
    programMenu_->addCommand(ID_EDIT_PASTE, QStringLiteral("&Paste\tCtrl+V"));
    programMenu_->addCommand(ID_PROGRAM_DELETE, QStringLiteral("Delete\tDel"));
    programMenu_->addSeparator();
    addProgramToolCommands(*programMenu_);
    programMenu_->addSeparator();
    QMenu* view = programMenu_->addMenu(QStringLiteral("View"));
    view->setObjectName(QStringLiteral("programMenuView"));
    programMenu_->addCommand(ID_LIST_TV_RADIO, QStringLiteral("T&V / Radio"), view);
    programMenu_->addCommand(ID_LIST_TV, QStringLiteral("&TV"), view);
    programMenu_->addCommand(ID_LIST_RADIO, QStringLiteral("&Radio"), view);

    findBar_ = new FindBar(this);
    connect(findBar_, &FindBar::textEdited, this, [this](const QString&) {
        // Typing searches on from the current row, so the match under the cursor stays.
        findFrom(std::max(currentIndex().row(), 0), 1);
    });
    connect(findBar_, &FindBar::findNext, this, [this] { findAgain(1); });
    connect(findBar_, &FindBar::findPrevious, this, [this] { findAgain(-1); });
    connect(findBar_, &FindBar::closed, this, [this] { setFocus(Qt::OtherFocusReason); });
    auto* next = new QAction(this);
    next->setObjectName(QStringLiteral("actionFindNext"));
    next->setShortcut(QKeySequence(Qt::Key_F3));
    next->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(next, &QAction::triggered, this, [this] { findAgain(1); });
    addAction(next);
    auto* previous = new QAction(this);
    previous->setObjectName(QStringLiteral("actionFindPrevious"));
    previous->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
    previous->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(previous, &QAction::triggered, this, [this] { findAgain(-1); });
    addAction(previous);

    drag_ = new ProgramDragController(*this);
    clipboard_ = std::make_unique<ClipboardCommands>(*this);
    programCommands_ = std::make_unique<ProgramCommands>(*this);
    registerCommands();
    programCommands_->registerCommands(commands_);
}

COrbitView::~COrbitView() = default;

void COrbitView::registerCommands()
{
    const auto filterState = [this](std::uint32_t bit) {
        return [this, bit](CommandUi& ui) { ui.checked = (document().browser().scope() & bit) != 0; };
    };
    // Part of the clipboard commands' state: the tree's mask and a real row under the selection.
    const auto maskState = [this](std::uint8_t bit) {
        return [this, bit](CommandUi& ui) {
            // Rows are lifted out of the database while a drag runs; nothing else may change them.
            ui.enabled = (document().browser().commandMask & bit) != 0 && realRowSelected() && !drag_->dragging();
            if (bit == MASK_PASTE) ui.enabled = ui.enabled && !document().database().clipboard().empty();
        };
    };
    // A key press can arrive before the idle pass has updated the action: check again.
    const auto clipboardRun = [this, maskState](void (ClipboardCommands::*run)(), std::uint8_t bit) {
        return [this, maskState, run, bit] {
            CommandUi ui;
            maskState(bit)(ui);
            if (ui.enabled) (clipboard_.get()->*run)();
        };
    };
    commands_
        .on(
            ID_LIST_TV_RADIO, [this] { setFilter(SCOPE_TV_RADIO); }, filterState(SCOPE_TV_RADIO))
        .on(
            ID_LIST_TV, [this] { setFilter(SCOPE_TV); }, filterState(SCOPE_TV))
        .on(
            ID_LIST_RADIO, [this] { setFilter(SCOPE_RADIO); }, filterState(SCOPE_RADIO))
        .on(
            ID_PROGRAM_EDIT, [this] { editAt(contextPoint_, MODE_EDIT_PROGRAM); },
            [this](CommandUi& ui) { ui.enabled = realRowSelected(); })
        .on(
            ID_PROGRAM_ADD, [this] { editAt(contextPoint_, MODE_ADD_PROGRAM); },
            [this](CommandUi& ui) { ui.enabled = !noRowHit_; })
        .on(ID_TRANSPONDER_EDIT, [this] { editAt(contextPoint_, MODE_EDIT_TRANSPONDER); })
        .on(ID_TRANSPONDER_ADD, [this] { editAt(contextPoint_, MODE_ADD_TRANSPONDER); })
        .on(ID_EDIT_CUT, clipboardRun(&ClipboardCommands::cut, MASK_CUT), maskState(MASK_CUT))
        .on(ID_EDIT_COPY, clipboardRun(&ClipboardCommands::copy, MASK_COPY), maskState(MASK_COPY))
        .on(ID_EDIT_PASTE, clipboardRun(&ClipboardCommands::paste, MASK_PASTE), maskState(MASK_PASTE))
        .on(ID_PROGRAM_DELETE, clipboardRun(&ClipboardCommands::remove, MASK_DELETE), maskState(MASK_DELETE));
}

void COrbitView::createColumns()
{
    QHeaderView* header = horizontalHeader();
    for (int c = 0; c < ROW_COLUMNS; ++c) {
        header->setSectionResizeMode(c, QHeaderView::Interactive);
        // The classic width, or the header text in the desktop's font when that needs more.
        header->resizeSection(c, std::max(kRowColumns[static_cast<std::size_t>(c)].width, header->sectionSizeHint(c)));
    }
    columnsCreated_ = true;
}

void COrbitView::onInitialUpdate()
{
    if (!columnsCreated_) createColumns();
    document().updateAllViews(nullptr);
}

void COrbitView::onUpdate(DocumentView*, int hint)
{
    if (hint != HINT_HISTORY) {
        refill();
        return;
    }
    // After an undo or a redo the rows that still exist stay selected, and the list where it was.
    const std::vector<int> selected = selectedRealRows();
    const int current = currentIndex().row();
    const int top = topIndex();
    refill();
    const int n = model_.rowCount();
    selectRows(selected);
    if (current >= 0 && current < n)
        selectionModel()->setCurrentIndex(model_.index(current, 0), QItemSelectionModel::NoUpdate);
    if (top > 0 && top < n) scrollTo(model_.index(top, 0), QAbstractItemView::PositionAtTop);
}

void COrbitView::setFilter(std::uint32_t bit)
{
    document().browser().setFilter(bit);
    refill();
}

void COrbitView::message(const QString& text, PromptIcon icon) { document().prompter().message(text, icon); }

void COrbitView::refill()
{
    ++fillCount_;
    model_.clear();
    const ChannelDatabase& db = document().database();
    if (!columnsCreated_ || !db.isLoaded()) return;

    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::vector<ListRow> rows;
    const FillResult result = buildListRows(db, document().browser(), rows);
    QApplication::restoreOverrideCursor();
    switch (result.status) {
    case FillResult::Status::UnknownList: message(QString::fromUtf8(texts::UNKNOWN_FAV_LIST), PromptIcon::Stop); return;
    case FillResult::Status::ListUnreadable:
        message(QString::fromStdString(databaseErrorText(result.error.type, result.error.code)));
        return;
    case FillResult::Status::NoMemory: message(QString::fromUtf8(texts::NO_MEMORY)); return;
    case FillResult::Status::Ok: break;
    }
    programTable_ = (document().browser().scope() & SCOPE_PROGRAMS) != 0;
    // A broken database would otherwise raise one box per row; the first one says it.
    if (result.error.failed()) message(QString::fromStdString(databaseErrorText(result.error.type, result.error.code)));
    if (rows.empty())
        model_.showPlaceholder();
    else
        model_.setRows(std::move(rows));
}

bool COrbitView::rebuildChain(std::vector<ListRow>& chain)
{
    const FillResult result = buildListRows(document().database(), document().browser(), chain);
    switch (result.status) {
    case FillResult::Status::UnknownList:
        message(QString::fromUtf8(texts::UNKNOWN_FAV_LIST), PromptIcon::Stop);
        return false;
    case FillResult::Status::ListUnreadable:
        message(QString::fromStdString(databaseErrorText(result.error.type, result.error.code)));
        return false;
    case FillResult::Status::NoMemory: message(QString::fromUtf8(texts::NO_MEMORY)); return false;
    case FillResult::Status::Ok: break;
    }
    if (result.error.failed()) message(QString::fromStdString(databaseErrorText(result.error.type, result.error.code)));
    model_.takeProgramIndices(chain);
    return true;
}

int COrbitView::firstSelectedRow() const
{
    int first = -1;
    for (const QItemSelectionRange& range : selectionModel()->selection())
        if (first < 0 || range.top() < first) first = range.top();
    return first;
}

void COrbitView::selectRows(const std::vector<int>& rows)
{
    const int n = model_.rowCount();
    QItemSelection selection;
    for (std::size_t i = 0; i < rows.size();) {
        std::size_t j = i;
        while (j + 1 < rows.size() && rows[j + 1] == rows[j] + 1) ++j;
        const int last = std::min(rows[j], n - 1);
        if (rows[i] <= last) selection.select(model_.index(rows[i], 0), model_.index(last, ROW_COLUMNS - 1));
        i = j + 1;
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

bool COrbitView::showsWholeList() const
{
    const BrowserState& browser = document().browser();
    if (!(browser.scope() & SCOPE_PROGRAMS)) return scopeFavList(browser.scope()) >= 0;
    return browser.selectedText == texts::ROOT_PROVIDERS || browser.selectedText == texts::ROOT_SATELLITES;
}

bool COrbitView::dragging() const { return drag_ && drag_->dragging(); }

bool COrbitView::realRowSelected() const
{
    const int first = firstSelectedRow();
    return first >= 0 && !model_.isPlaceholder(first);
}

std::vector<int> COrbitView::selectedRealRows() const
{
    std::vector<int> rows;
    for (const QItemSelectionRange& range : selectionModel()->selection())
        for (int r = range.top(); r <= range.bottom(); ++r)
            if (!model_.isPlaceholder(r)) rows.push_back(r);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void COrbitView::deselectPage()
{
    const int rows = model_.rowCount();
    const int top = topIndex();
    const int last = std::min(top + rowsPerPage(), rows - 1);
    if (rows > 0 && last >= top)
        selectionModel()->select(QItemSelection(model_.index(top, 0), model_.index(last, ROW_COLUMNS - 1)),
                                 QItemSelectionModel::Deselect);
}

void COrbitView::selectAndFocus(int row)
{
    if (row < 0 || row >= model_.rowCount()) return;
    const QModelIndex index = model_.index(row, 0);
    selectionModel()->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
}

int COrbitView::topIndex() const { return std::max(rowAt(0), 0); }

int COrbitView::rowsPerPage() const
{
    const int height = verticalHeader()->defaultSectionSize();
    return std::max(1, viewport()->height() / std::max(height, 1));
}

void COrbitView::scrollToRow(int row)
{
    if (row < 0 || model_.rowCount() == 0) return;
    scrollTo(model_.index(std::min(row, model_.rowCount() - 1), 0), QAbstractItemView::EnsureVisible);
}

// --- context menu and dialogs ---

void COrbitView::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept();
    // The mouse's menu opens when the right button comes up, so that a right drag can select.
    if (event->reason() == QContextMenuEvent::Keyboard) showContextMenu(event->globalPos(), true);
}

void COrbitView::showContextMenu(const QPoint& globalPos, bool keyboard)
{
    QPoint shownAt = globalPos;
    if (keyboard) {
        // Below the selection: at the row after the first selected one.
        contextPoint_ = QPoint(-1, -1);
        const int first = firstSelectedRow();
        QRect rect = first >= 0 ? visualRect(model_.index(first, 0)) : QRect();
        if (rect.isValid())
            shownAt = viewport()->mapToGlobal(QPoint(rect.left(), rect.bottom() + 1));
        else
            shownAt = viewport()->mapToGlobal(QPoint(0, 0));
    } else {
        contextPoint_ = viewport()->mapFromGlobal(globalPos);
        noRowHit_ = !indexAt(contextPoint_).isValid();
    }
    programMenu_->popupAt(shownAt);
}

void COrbitView::editAt(QPoint point, int mode)
{
    if (point.x() < 0 && point.y() < 0) {
        const int first = firstSelectedRow();
        if (first < 0) return;
        point = visualRect(model_.index(first, 0)).center();
    }
    const QModelIndex hit = indexAt(point);
    if (!hit.isValid()) return;
    const int row = hit.row();
    if (mode == MODE_EDIT_PROGRAM || mode == MODE_ADD_PROGRAM) {
        int program = model_.programIndex(row);
        if (model_.holdsPlaceholder()) {
            if (mode != MODE_ADD_PROGRAM) return;
            program = -1;
        }
        int newProgram = -1;
        bool accepted = false;
        if (!dialogs_) return;
        const QString step =
            mode == MODE_ADD_PROGRAM ? QStringLiteral("Add program") : steps::named("Edit program", rowName(row));
        document().edit(step, [&] { accepted = dialogs_->editProgram(this, program, mode, newProgram); });
        if (accepted) afterProgramDialog(row, mode, newProgram);
        return;
    }
    if (model_.isPlaceholder(row) || !dialogs_) return;
    bool accepted = false;
    document().edit(steps::named("Edit transponder of", rowName(row)),
                    [&] { accepted = dialogs_->editProgramTransponder(this, model_.programIndex(row), mode); });
    if (accepted) refill();
}

QString COrbitView::rowName(int row) const
{
    if (row < 0 || row >= model_.rowCount() || model_.isPlaceholder(row)) return {};
    return texts::fromUtf8(model_.row(row).texts[1]).trimmed();
}

void COrbitView::afterProgramDialog(int row, int mode, int newProgram)
{
    BrowserState& browser = document().browser();
    if (mode == MODE_ADD_PROGRAM) {
        // A program that the shown half of the list cannot hold changes nothing here.
        const bool tv = newProgram < document().database().tvProgramCount();
        if ((tv && (browser.scope() & SCOPE_RADIO)) || (!tv && (browser.scope() & SCOPE_TV))) return;
    }
    const bool wholeTable =
        browser.selectedText == texts::ROOT_PROVIDERS || browser.selectedText == texts::ROOT_SATELLITES;
    if (mode == MODE_EDIT_PROGRAM && !wholeTable) {
        std::vector<ListRow> chain;
        if (rebuildChain(chain) && row < static_cast<int>(chain.size()))
            model_.setRowTexts(row, chain[static_cast<std::size_t>(row)].texts);
        selectAndFocus(row);
        browser.providerRequest = true;
        document().updateAllViews(this);
        return;
    }
    // The list refills: keep the page where it was and the row the user worked on.
    const int remembered = topIndex() + rowsPerPage() - 1;
    browser.providerRequest = true;
    document().updateAllViews(nullptr);
    scrollToRow(remembered);
    selectAndFocus(row);
}

// --- mouse and keys ---

void COrbitView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        const QModelIndex hit = indexAt(event->position().toPoint());
        rightPressRow_ = hit.isValid() ? hit.row() : -1;
        rightPressPos_ = event->position().toPoint();
        rangeSelecting_ = false;
    }
    if (drag_->press(event)) return;
    QTableView::mousePressEvent(event);
}

void COrbitView::mouseMoveEvent(QMouseEvent* event)
{
    if (drag_->move(event)) return;
    const QPoint pos = event->position().toPoint();
    if ((event->buttons() & Qt::RightButton) && !(event->buttons() & Qt::LeftButton) && rightPressRow_ >= 0) {
        if (!rangeSelecting_ && (pos - rightPressPos_).manhattanLength() >= QApplication::startDragDistance()) {
            rangeSelecting_ = true;
            rangeAnchor_ = rightPressRow_;
        }
        if (rangeSelecting_) {
            selectRange(pos);
            return;
        }
    }
    QTableView::mouseMoveEvent(event);
}

void COrbitView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::RightButton) {
        if (drag_->release(event)) return;
        QTableView::mouseReleaseEvent(event);
        return;
    }
    const bool ranged = rangeSelecting_;
    rangeSelecting_ = false;
    rightPressRow_ = -1;
    QTableView::mouseReleaseEvent(event);
    if (!ranged) showContextMenu(event->globalPosition().toPoint(), false);
}

void COrbitView::selectRange(const QPoint& pos)
{
    const QModelIndex hit = indexAt(pos);
    const int row = hit.isValid() ? hit.row() : -1;
    if (row == rangeAnchor_) return;
    const int rows = model_.rowCount();
    const int top = topIndex();
    const int last = std::min(top + rowsPerPage(), rows - 1);
    QItemSelectionModel* selection = selectionModel();
    if (rows > 0 && last >= top)
        selection->select(QItemSelection(model_.index(top, 0), model_.index(last, ROW_COLUMNS - 1)),
                          QItemSelectionModel::Deselect);
    if (row < 0) return;
    selection->select(QItemSelection(model_.index(std::min(rangeAnchor_, row), 0),
                                     model_.index(std::max(rangeAnchor_, row), ROW_COLUMNS - 1)),
                      QItemSelectionModel::Select);
    selection->setCurrentIndex(model_.index(row, 0), QItemSelectionModel::NoUpdate);
}

void COrbitView::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        const QModelIndex hit = indexAt(pos);
        if (hit.isValid() && !model_.isPlaceholder(hit.row())) editAt(pos, MODE_EDIT_PROGRAM);
    }
    QTableView::mouseDoubleClickEvent(event);
}

void COrbitView::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !model_.holdsPlaceholder()) {
        // The first selected row on the visible page; selected rows out of sight open nothing.
        const int top = topIndex();
        const int end = top + rowsPerPage();
        int chosen = -1;
        for (const QItemSelectionRange& range : selectionModel()->selection()) {
            const int first = std::max(range.top(), top);
            if (first <= range.bottom() && first < end && (chosen < 0 || first < chosen)) chosen = first;
        }
        if (chosen >= 0) {
            const QRect rect = visualRect(model_.index(chosen, 0));
            contextPoint_ = QPoint(rect.left() + 1, rect.center().y());
            editAt(contextPoint_, MODE_EDIT_PROGRAM);
        }
    }
    QTableView::keyPressEvent(event);
}

// --- Find ---

void COrbitView::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    placeFindBar();
}

void COrbitView::placeFindBar()
{
    const QRect area = viewport()->geometry();
    const int height = findBar_->sizeHint().height();
    findBar_->setGeometry(area.left(), area.bottom() + 1 - height, area.width(), height);
}

void COrbitView::startFind()
{
    placeFindBar();
    findBar_->setStatus(FindBar::Status::None);
    findBar_->open();
}

bool COrbitView::findAgain(int step)
{
    if (findBar_->text().isEmpty()) {
        startFind();
        return false;
    }
    return findFrom(currentIndex().row() + step, step);
}

bool COrbitView::findFrom(int from, int step)
{
    bool wrapped = false;
    const int row = model_.findName(findBar_->text(), from, step, wrapped);
    if (row < 0) {
        findBar_->setStatus(findBar_->text().isEmpty() ? FindBar::Status::None : FindBar::Status::NotFound);
        return false;
    }
    const QModelIndex index = model_.index(row, 1);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index, QAbstractItemView::EnsureVisible);
    // Keep the match clear of the bar that lies over the bottom of the list.
    if (findBar_->isVisible() &&
        visualRect(index).bottom() >= findBar_->geometry().top() - viewport()->geometry().top())
        scrollTo(index, QAbstractItemView::PositionAtCenter);
    findBar_->setStatus(wrapped ? FindBar::Status::Wrapped : FindBar::Status::Found);
    return true;
}

} // namespace satorix
