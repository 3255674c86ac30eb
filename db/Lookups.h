#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace satorix {

class ChannelDatabase;

// Tables read once for a pass over many programs.

// Satellite index by satellite id: the first satellite with each id, as findSatellite answers;
// -1 where none has it.
using SatelliteIndex = std::array<std::int16_t, 256>;
SatelliteIndex satelliteIndexById(const ChannelDatabase& db);

// The favourite lists 0..8 holding each program (MAX_PROGRAMS entries), as bits 0..8.
std::vector<std::uint16_t> favouriteBits(const ChannelDatabase& db);

} // namespace satorix
