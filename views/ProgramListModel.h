#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "views/ProgramListRows.h"

namespace satorix {

// The program list's rows as a table model: one ListRow per row, texts computed once per fill,
// nothing per cell. The rows are the list's own; the view decides when they change.
class ProgramListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void setRows(std::vector<ListRow> rows);
    void clear();
    // The single "---NO CHANNELS---" row.
    void showPlaceholder();

    const ListRow& row(int r) const { return rows_[static_cast<std::size_t>(r)]; }
    const std::vector<ListRow>& rows() const { return rows_; }
    bool holdsPlaceholder() const { return !rows_.empty() && rows_.front().isPlaceholder(); }
    bool isPlaceholder(int r) const { return r >= 0 && r < rowCount() && row(r).isPlaceholder(); }
    int programIndex(int r) const { return r >= 0 && r < rowCount() ? row(r).programIndex : -1; }

    // A rebuilt chain gives every existing row its program and position; the texts stay as they are.
    void takeProgramIndices(const std::vector<ListRow>& chain);
    void setRowTexts(int r, const RowTexts& texts);

    // Batch edits for cut, paste, delete and drop: one signal per run of rows, never one per row.
    // rows ascending and unique.
    void removeRowsAt(const std::vector<int>& rows);
    void insertRowsAt(int at, std::vector<ListRow> rows);
    // Index texts "%04d" of (row + offset + 1) from row `from` to the end.
    void renumber(int from, int offset);
    // Texts of rows from..from+count-1 taken from a chain of the same length, one signal.
    void copyTexts(int from, int count, const std::vector<ListRow>& chain);
    // The rows as a rebuilt chain gives them; same count keeps selection and scroll untouched.
    void replaceRows(std::vector<ListRow> rows);

    // The first row from `from` on (step +1 or -1, wrapping) whose name contains text, ignoring
    // case; -1 when none. wrapped tells whether the search went past an end.
    int findName(const QString& text, int from, int step, bool& wrapped) const;

private:
    std::vector<ListRow> rows_;
};

} // namespace satorix
