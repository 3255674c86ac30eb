#include "views/ProgramListModel.h"

#include "views/ViewTexts.h"

namespace satorix {

int ProgramListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ProgramListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ROW_COLUMNS; }

QVariant ProgramListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) return {};
    return texts::fromBytes(row(index.row()).texts[static_cast<std::size_t>(index.column())]);
}

QVariant ProgramListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ROW_COLUMNS) return {};
    if (role == Qt::DisplayRole) return QString::fromLatin1(kRowColumns[static_cast<std::size_t>(section)].header);
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags ProgramListModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void ProgramListModel::setRows(std::vector<ListRow> rows)
{
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

void ProgramListModel::clear() { setRows({}); }

void ProgramListModel::showPlaceholder()
{
    ListRow placeholder;
    placeholder.texts[1] = texts::NO_CHANNELS;
    std::vector<ListRow> rows;
    rows.push_back(std::move(placeholder));
    setRows(std::move(rows));
}

void ProgramListModel::takeProgramIndices(const std::vector<ListRow>& chain)
{
    const std::size_t n = std::min(chain.size(), rows_.size());
    for (std::size_t r = 0; r < n; ++r) {
        rows_[r].programIndex = chain[r].programIndex;
        rows_[r].position = chain[r].position;
    }
}

void ProgramListModel::setRowTexts(int r, const RowTexts& texts)
{
    if (r < 0 || r >= rowCount()) return;
    rows_[static_cast<std::size_t>(r)].texts = texts;
    emit dataChanged(index(r, 0), index(r, ROW_COLUMNS - 1));
}

int ProgramListModel::findName(const QString& text, int from, int step, bool& wrapped) const
{
    wrapped = false;
    const int n = rowCount();
    if (n == 0 || text.isEmpty() || holdsPlaceholder()) return -1;
    int r = ((from % n) + n) % n;
    wrapped = r != from;
    for (int k = 0; k < n; ++k) {
        // The character-table byte never reaches the name text, so it cannot match.
        if (texts::fromBytes(rows_[static_cast<std::size_t>(r)].texts[1]).contains(text, Qt::CaseInsensitive))
            return r;
        const int next = r + step;
        if (next < 0 || next >= n) wrapped = true;
        r = (next + n) % n;
    }
    return -1;
}

} // namespace satorix
