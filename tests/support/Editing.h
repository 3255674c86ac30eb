#pragma once

#include <cstdint>
#include <vector>

#include "db/ChannelDatabase.h"

namespace satorix::test {

// The program list's lift from favourite list l shown in scope: rows ascending, each read and
// removed (OP_REMOVE_ENTRY) at row r-k into db.dragList() while the drag is in progress.
void liftFromList(ChannelDatabase& db, int l, std::uint32_t scope, const std::vector<int>& rows);

} // namespace satorix::test
