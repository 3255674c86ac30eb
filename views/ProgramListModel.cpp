#include "views/ProgramListModel.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

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
    return texts::fromUtf8(row(index.row()).texts[static_cast<std::size_t>(index.column())]);
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

void ProgramListModel::removeRowsAt(const std::vector<int>& rows)
{
    // Runs of adjacent rows, from the highest down so that lower rows keep their numbers.
    std::vector<std::pair<int, int>> runs;
    for (int r : rows) {
        if (r < 0 || r >= rowCount()) continue;
        if (!runs.empty() && runs.back().second + 1 == r)
            runs.back().second = r;
        else
            runs.emplace_back(r, r);
    }
    if (runs.empty()) return;
    // Each run moves the rows behind it; a scattered selection is cheaper as one reset.
    constexpr std::size_t MAX_RUN_SIGNALS = 16;
    if (runs.size() > MAX_RUN_SIGNALS) {
        beginResetModel();
        std::vector<ListRow> kept;
        kept.reserve(rows_.size());
        std::size_t next = 0;
        for (int r = 0; r < rowCount(); ++r) {
            while (next < runs.size() && runs[next].second < r) ++next;
            if (next < runs.size() && runs[next].first <= r) continue;
            kept.push_back(std::move(rows_[static_cast<std::size_t>(r)]));
        }
        rows_ = std::move(kept);
        endResetModel();
        return;
    }
    for (auto it = runs.rbegin(); it != runs.rend(); ++it) {
        beginRemoveRows({}, it->first, it->second);
        rows_.erase(rows_.begin() + it->first, rows_.begin() + it->second + 1);
        endRemoveRows();
    }
}

void ProgramListModel::insertRowsAt(int at, std::vector<ListRow> rows)
{
    if (rows.empty()) return;
    at = std::clamp(at, 0, rowCount());
    beginInsertRows({}, at, at + static_cast<int>(rows.size()) - 1);
    rows_.insert(rows_.begin() + at, std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
    endInsertRows();
}

void ProgramListModel::renumber(int from, int offset)
{
    from = std::max(from, 0);
    if (from >= rowCount()) return;
    char buf[16];
    for (int r = from; r < rowCount(); ++r) {
        std::snprintf(buf, sizeof buf, "%04d", r + offset + 1);
        rows_[static_cast<std::size_t>(r)].texts[0] = buf;
    }
    emit dataChanged(index(from, 0), index(rowCount() - 1, 0));
}

void ProgramListModel::copyTexts(int from, int count, const std::vector<ListRow>& chain)
{
    const int end = std::min({from + count, rowCount(), static_cast<int>(chain.size())});
    if (from < 0 || from >= end) return;
    for (int r = from; r < end; ++r)
        rows_[static_cast<std::size_t>(r)].texts = chain[static_cast<std::size_t>(r)].texts;
    emit dataChanged(index(from, 0), index(end - 1, ROW_COLUMNS - 1));
}

void ProgramListModel::replaceRows(std::vector<ListRow> rows)
{
    if (rows.size() != rows_.size()) {
        setRows(std::move(rows));
        return;
    }
    rows_ = std::move(rows);
    if (!rows_.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, ROW_COLUMNS - 1));
}

int ProgramListModel::findName(const QString& text, int from, int step, bool& wrapped) const
{
    wrapped = false;
    const int n = rowCount();
    if (n == 0 || text.isEmpty() || holdsPlaceholder()) return -1;
    int r = ((from % n) + n) % n;
    wrapped = r != from;
    for (int k = 0; k < n; ++k) {
        // Names are read in their own table: the table byte never matches.
        if (texts::fromUtf8(rows_[static_cast<std::size_t>(r)].texts[1]).contains(text, Qt::CaseInsensitive)) return r;
        const int next = r + step;
        if (next < 0 || next >= n) wrapped = true;
        r = (next + n) % n;
    }
    return -1;
}

} // namespace satorix
