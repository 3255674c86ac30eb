#pragma once

#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

#include "db/ChannelDatabase.h"

namespace satorix::test {

// The program list's lift from favourite list l shown in scope: rows ascending, each read and
// removed (OP_REMOVE_ENTRY) at row r-k into db.dragList() while the drag is in progress.
inline void liftFromList(ChannelDatabase& db, int l, std::uint32_t scope, const std::vector<int>& rows)
{
    db.setDragInProgress(true);
    ProgramClipboard& drag = db.dragList();
    drag.clear();
    RecordView where;
    where.field[entryf::LIST] = l;
    where.field[entryf::RADIO_PART] = (scope & SCOPE_RADIO) ? 1 : 0;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const int row = rows[k] - static_cast<int>(k);
        ProgramInfo item;
        ASSERT_EQ(0, db.getProgramInfo(scope, row, item));
        ASSERT_EQ(0, db.recordOp(DBT_PROGRAM, OP_REMOVE_ENTRY, row, where));
        item.programIndex = rows[k];
        drag.push_back(item);
    }
}

} // namespace satorix::test
