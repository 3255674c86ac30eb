#pragma once

#include <cstdint>

#include "ChannelDatabase.h"

namespace satorix {

struct SampleOptions {
    bool full = false; // every table filled to capacity
    std::uint32_t seed = 1;
};

// Replaces the database by a generated one: known satellites with their transponders, TV and
// radio programs, providers and named favourite lists. Deterministic for a seed.
void generateSample(ChannelDatabase& db, const SampleOptions& options);

} // namespace satorix
