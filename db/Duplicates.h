#pragma once

#include <vector>

namespace satorix {

class ChannelDatabase;

// Programs that are there twice: the same service on the same transponder (certain), or the same
// name on the same satellite (likely, e.g. after a frequency change).
struct DuplicateGroup {
    bool certain = true;
    std::vector<int> programs; // ascending
    int keep = -1;             // the one in the most favourite lists, then the lowest number
};

std::vector<DuplicateGroup> findDuplicates(const ChannelDatabase& db);

// Deletes every program of the groups but the kept one, as one pass; the removed programs'
// favourite memberships pass to the kept one.
void removeDuplicates(ChannelDatabase& db, const std::vector<DuplicateGroup>& groups);

} // namespace satorix
