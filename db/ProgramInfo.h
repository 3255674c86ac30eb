#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <vector>

#include "DbTypes.h"

namespace satorix {

// One program with everything it refers to; what the clipboard and the drag list hold.
// Favourite memberships are bitsets so that an item costs well under 1 KB.
struct ProgramInfo {
    std::uint16_t serviceId = 0;
    std::uint16_t providerIndex = 0;
    std::uint16_t transponderIndex = 0;
    char providerName[NAME_LEN] = {};

    // from the satellite
    std::uint16_t position = 0;
    char satelliteName[NAME_LEN] = {};
    std::uint16_t transponderTally = 0;
    std::uint16_t lnbLowLo = 0;
    std::uint16_t lnbHighLo = 0;
    std::uint8_t diseqcMode = 0;
    std::uint8_t tone22k = 0;
    std::uint8_t diseqc12 = 0;
    std::uint8_t positionerNo = 0;
    std::uint8_t satReserved2 = 0;
    std::uint8_t eastWest = 0;
    std::uint16_t diseqc11Port = 0;

    // from the transponder
    std::uint8_t satelliteId = 0;
    std::uint8_t polarisation = 0;
    std::uint8_t fec = 0;
    std::uint16_t transportStreamId = 0;
    std::uint16_t networkId = 0;
    std::uint16_t originalNetworkId = 0;
    std::uint16_t frequency = 0;
    std::uint16_t symbolRate = 0;

    std::uint16_t videoPid = 0;
    std::uint16_t audioPid = 0;
    std::uint16_t pcrPid = 0;
    std::uint16_t programFlags = 0;
    char name[NAME_LEN] = {};

    std::uint32_t isTv = 0;
    std::array<std::bitset<FAV_ENTRIES>, FAV_LISTS> favMember{};
    std::array<std::int32_t, FAV_LISTS> favPosition{};
    std::int32_t programIndex = -1;
    std::uint32_t placed = 1;
};

// The program's own clipboard (and the drag list): items in list order.
using ProgramClipboard = std::vector<ProgramInfo>;

} // namespace satorix
