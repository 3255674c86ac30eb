#include "tests/support/Editing.h"

#include <gtest/gtest.h>

namespace satorix::test {

void liftFromList(ChannelDatabase& db, int l, std::uint32_t scope, const std::vector<int>& rows)
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
