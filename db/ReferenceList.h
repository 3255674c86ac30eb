#pragma once

#include <vector>

#include "ProgramExchange.h"

namespace satorix {

// Another database as the model of this one's order, for example last year's list after a
// rescan. Programs match by key with the frequency within FREQUENCY_TOLERANCE MHz (the nearest
// when several could); the others follow in their order.
constexpr int FREQUENCY_TOLERANCE = 3;

struct ReferenceOptions {
    bool names = false;                  // take the reference's names (their bytes as they are)
    NameTable table = NameTable::Latin1; // for the summary's names
};

// The favourite lists become the reference's: its names, and its entries whose programs matched,
// in its order. Programs here that did not match leave every list.
struct ReferencePlan {
    int matched = 0;
    std::vector<ProgramNote> unmatchedHere;
    std::vector<ProgramNote> unmatchedInReference; // program indices of the reference
    ProgramChanges changes;
};
ReferencePlan planReference(const ChannelDatabase& db, const ChannelDatabase& reference,
                            const ReferenceOptions& options = {});
std::string referenceSummary(const ReferencePlan& plan);

} // namespace satorix
