#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace satorix {

// A known satellite with the settings the satellite dialog's Default button fills in.
struct PredefinedSatellite {
    std::uint16_t row;
    std::uint16_t position; // tenths of a degree
    const char* name;
    std::uint16_t lnbLowLo;
    std::uint16_t lnbHighLo;
    std::int8_t diseqcMode;
    std::int8_t tone22k; // 0 AUTO, 2 OFF
    std::uint8_t diseqc12;
    std::uint8_t positionerNo;
    char eastWest; // 'E' or 'W'
    std::uint16_t diseqc11Port;
};

constexpr int PREDEFINED_SATELLITE_COUNT = 153;

std::span<const PredefinedSatellite> predefinedSatellites();

// Row index of the satellite whose name equals name exactly (case counts), or -1.
int findPredefinedSatellite(std::string_view name);

} // namespace satorix
