#include "views/ProgramDragController.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <algorithm>

#include "db/ChannelDatabase.h"
#include "gui/BrowserState.h"
#include "gui/Document.h"
#include "gui/Prompter.h"
#include "gui/StepTexts.h"
#include "views/COrbitView.h"
#include "views/ViewTexts.h"

namespace satorix {

namespace {

constexpr const char* MIXED_DRAG = "You can't drag TV and Radio programs together";
constexpr const char* NARROWED_DRAG =
    "Programs can be moved only in the whole program list (\"Satellites\" or \"Providers\") "
    "or in a favourite list.\nHere the rows are not places in a list.";
constexpr int PICTURE_SIZE = 17;

// A page with a few lines: the little picture the pointer carries.
QPixmap dragPicture()
{
    QPixmap pixmap(PICTURE_SIZE, PICTURE_SIZE);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(2, 1, 12, 14);
    p.setPen(QColor(0, 0, 128));
    for (int y = 4; y <= 12; y += 3) p.drawLine(5, y, 11, y);
    return pixmap;
}

} // namespace

ProgramDragController::ProgramDragController(COrbitView& view) : QObject(&view), view_(view)
{
    timer_.setInterval(AUTO_SCROLL_MS);
    connect(&timer_, &QTimer::timeout, this, &ProgramDragController::autoScroll);
    picture_ = new QLabel(&view, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput |
                                     Qt::WindowDoesNotAcceptFocus);
    picture_->setObjectName(QStringLiteral("dragPicture"));
    picture_->setAttribute(Qt::WA_ShowWithoutActivating);
    picture_->setAttribute(Qt::WA_TransparentForMouseEvents);
    picture_->setPixmap(dragPicture());
    picture_->setFixedSize(PICTURE_SIZE, PICTURE_SIZE);
    picture_->hide();
}

ProgramDragController::~ProgramDragController() = default;

bool ProgramDragController::press(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || dragging_) return dragging_;
    const QModelIndex hit = view_.indexAt(event->position().toPoint());
    pressRow_ = hit.isValid() ? hit.row() : -1;
    pressPos_ = event->position().toPoint();
    consumed_ = false;
    return false;
}

bool ProgramDragController::move(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (!dragging_) {
        if (consumed_) return true;
        if (!(event->buttons() & Qt::LeftButton) || pressRow_ < 0) return false;
        // Pressed on a row, the left button moves rows; it never sweeps a selection.
        if ((pos - pressPos_).manhattanLength() < QApplication::startDragDistance()) return true;
        consumed_ = true;
        begin(pressRow_, pressPos_);
        if (!dragging_) return true;
    }
    lastGlobal_ = event->globalPosition().toPoint();
    int row = -1;
    if (pos.y() >= 0 && pos.y() < view_.viewport()->height()) {
        row = view_.rowAt(pos.y());
        if (row >= 0 && rowAllowed(row)) highlight(row);
    }
    timer_.start();
    movePicture(lastGlobal_);
    if (row >= 0) dropRow_ = row;
    return true;
}

bool ProgramDragController::release(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return dragging_;
    pressRow_ = -1;
    if (dragging_) {
        drop(event->position().toPoint());
        return true;
    }
    const bool took = consumed_;
    consumed_ = false;
    return took;
}

bool ProgramDragController::bothKindsShown() const
{
    return (view_.document().browser().scope() & SCOPE_TV_RADIO) != 0;
}

bool ProgramDragController::rowAllowed(int row) const
{
    if (!bothKindsShown()) return true;
    return tvDrag_ ? row <= boundary_ : row >= boundary_;
}

void ProgramDragController::begin(int row, QPoint viewportPos)
{
    Document& doc = view_.document();
    const BrowserState& browser = doc.browser();
    if (browser.selectedText.empty() || view_.listModel().holdsPlaceholder()) return;
    const std::uint32_t scope = browser.scope();
    programTable_ = (scope & SCOPE_PROGRAMS) != 0;
    const bool wholeTable =
        browser.selectedText == texts::ROOT_PROVIDERS || browser.selectedText == texts::ROOT_SATELLITES;
    if (programTable_ ? !wholeTable : scopeFavList(scope) < 0) {
        // A narrowed list skips rows of the table, so its row numbers are no places to drop at.
        doc.prompter().message(QString::fromUtf8(NARROWED_DRAG));
        return;
    }

    ChannelDatabase& db = doc.database();
    // Lift and drop are one step: the rows are out of the database while the mouse moves.
    doc.beginEdit();
    db.setDragInProgress(true);
    dragging_ = true;
    dropRow_ = row;
    highlighted_ = -1;
    boundary_ = programTable_ ? db.tvProgramCount() : db.favTvCount(scopeFavList(scope));
    if (!lift()) {
        end();
        return;
    }
    std::vector<ListRow> chain;
    view_.rebuildChain(chain);
    view_.deselectPage();

    lastGlobal_ = view_.viewport()->mapToGlobal(viewportPos);
    movePicture(lastGlobal_);
    picture_->show();
    timer_.start();
}

bool ProgramDragController::lift()
{
    Document& doc = view_.document();
    ChannelDatabase& db = doc.database();
    const ProgramListModel& model = view_.listModel();
    const std::uint32_t scope = doc.browser().scope();
    const std::vector<int> rows = view_.selectedRealRows();
    ProgramClipboard& items = db.dragList();
    items.clear();
    sourceRows_.clear();
    if (rows.empty()) return false;

    // Everything is read before anything is taken out, so a refusal leaves the database as it was.
    items.reserve(rows.size());
    bool tv = false;
    bool radio = false;
    for (int r : rows) {
        ProgramInfo& item = items.emplace_back();
        const int rc =
            programTable_ ? db.getProgramInfo(0, model.programIndex(r), item) : db.getProgramInfo(scope, r, item);
        if (rc < 0) {
            items.clear();
            doc.prompter().message(QString::fromStdString(databaseErrorText(DBT_PROGRAM, rc)));
            return false;
        }
        item.programIndex = r;
        (item.isTv ? tv : radio) = true;
    }
    if (tv && radio) {
        items.clear();
        doc.prompter().message(QString::fromUtf8(MIXED_DRAG));
        return false;
    }
    tvDrag_ = tv;

    // From the highest row down: the lower rows still name their programs and entries.
    RecordView rec;
    if (!programTable_) {
        rec.field[entryf::LIST] = scopeFavList(scope);
        rec.field[entryf::RADIO_PART] = (scope & SCOPE_RADIO) ? 1 : 0;
    }
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        if (programTable_)
            db.recordOp(DBT_PROGRAM, OP_DELETE, model.programIndex(*it), rec);
        else
            db.recordOp(DBT_PROGRAM, OP_REMOVE_ENTRY, *it, rec);
    }
    sourceRows_ = rows;
    return true;
}

void ProgramDragController::end()
{
    timer_.stop();
    picture_->hide();
    dragging_ = false;
    highlighted_ = -1;
    Document& doc = view_.document();
    ChannelDatabase& db = doc.database();
    const int n = static_cast<int>(db.dragList().size());
    db.setDragInProgress(false);
    db.dragList().clear();
    sourceRows_.clear();
    doc.endEdit(steps::programs("Drag", n));
}

void ProgramDragController::movePicture(QPoint global) { picture_->move(global + PICTURE_OFFSET); }

void ProgramDragController::highlight(int row)
{
    if (row == highlighted_) return;
    QItemSelectionModel* selection = view_.selectionModel();
    const ProgramListModel& model = view_.listModel();
    if (highlighted_ >= 0 && highlighted_ < model.rowCount())
        selection->select(model.index(highlighted_, 0), QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    view_.selectAndFocus(row);
    highlighted_ = row;
}

void ProgramDragController::autoScroll()
{
    if (!dragging_) return;
    const int y = view_.viewport()->mapFromGlobal(lastGlobal_).y();
    if (y >= 0 && y < view_.viewport()->height()) return;
    const int rows = view_.listModel().rowCount();
    const int top = view_.topIndex();
    const int page = view_.rowsPerPage();
    const bool stopAtBoundary = programTable_ && bothKindsShown();
    QScrollBar* bar = view_.verticalScrollBar();
    int target = -1;
    if (y < 0) {
        if (rows <= page || top == 0) return;
        if (stopAtBoundary && !tvDrag_ && top <= boundary_) return;
        bar->setValue(bar->value() - 1);
        target = top - 1;
    } else {
        if (top + page >= rows) return;
        if (stopAtBoundary && tvDrag_ && top + page > boundary_) return;
        bar->setValue(bar->value() + 1);
        target = std::min(top + page, rows - 1); // the new bottom row
    }
    if (rowAllowed(target)) highlight(target);
}

void ProgramDragController::drop(QPoint pos)
{
    timer_.stop();
    dragging_ = false;
    Document& doc = view_.document();
    ChannelDatabase& db = doc.database();
    ProgramListModel& model = view_.listModel();
    const std::uint32_t scope = doc.browser().scope();

    // Wherever the button comes up, the drop lands on a row of the list.
    const QWidget* area = view_.viewport();
    if (pos.x() < 0 || pos.x() >= area->width()) pos.setX(7);
    if (pos.y() >= area->height())
        pos.setY(area->height() - 2);
    else if (pos.y() < 0)
        pos.setY(2);
    int row = view_.rowAt(pos.y());
    if (row < 0) row = model.rowCount() - 1;
    if (bothKindsShown()) row = tvDrag_ ? std::min(row, boundary_) : std::max(row, boundary_);
    picture_->hide();

    const int above =
        static_cast<int>(std::lower_bound(sourceRows_.begin(), sourceRows_.end(), row) - sourceRows_.begin());
    const int position = row - above;
    ProgramClipboard& items = db.dragList();
    const int n = static_cast<int>(items.size());
    int rc = 0;
    if (programTable_) {
        db.moveFavouritesForDrop(position, scope);
        // The favourites were renumbered for this place; the programs must land exactly there.
        const int at = (scope & SCOPE_RADIO) ? db.tvProgramCount() + position : position;
        rc = db.dropPrograms(DBT_PROGRAM, -1, at, items, scope);
    } else {
        rc = db.dropPrograms(DBT_FAVOURITE, scopeFavList(scope), position, items, scope);
    }

    std::vector<ListRow> chain;
    const bool rebuilt = rc >= 0 && view_.rebuildChain(chain);
    if (rebuilt) {
        model.replaceRows(std::move(chain));
    } else {
        model.removeRowsAt(sourceRows_);
        view_.rebuildChain(chain);
    }
    view_.clearSelection();
    if (rebuilt && n > 0) {
        view_.scrollToRow(position + n);
        const int last = std::min(position + n, model.rowCount()) - 1;
        if (position <= last) {
            view_.selectionModel()->select(QItemSelection(model.index(position, 0), model.index(last, ROW_COLUMNS - 1)),
                                           QItemSelectionModel::Select);
            view_.selectionModel()->setCurrentIndex(model.index(position, 0), QItemSelectionModel::NoUpdate);
        }
    }
    end();
}

} // namespace satorix
