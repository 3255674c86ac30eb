#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "ChannelDatabase.h"
#include "Lookups.h"

namespace satorix {

constexpr int ROW_COLUMNS = 10;
using RowTexts = std::array<std::string, ROW_COLUMNS>;

// Headers and widths of the program list's columns.
struct RowColumn {
    const char* header;
    int width;
};
extern const std::array<RowColumn, ROW_COLUMNS> kRowColumns;

// The first record that could not be read while building a row ("Error: %d->(%d)").
struct RowTextError {
    int type = 0;
    int code = 0;
    bool failed() const { return code != 0; }
};

// A row of the list: its position in the table or favourite list, and the program it shows.
struct RowRef {
    int position;
    int programIndex;
};

// Builds the ten cell texts of program rows. Favourite memberships and the satellite
// lookup are gathered once, so a whole table costs one pass.
class ProgramRowBuilder {
public:
    explicit ProgramRowBuilder(const ChannelDatabase& db);

    // Texts for program P shown at position p. Cells whose record cannot be read stay empty
    // and the first failure is returned.
    RowTextError build(int programIndex, int position, RowTexts& out) const;

    // Lists 0..8 holding the program, as bits 0..8.
    std::uint16_t favBits(int programIndex) const;

private:
    const ChannelDatabase& db_;
    std::vector<std::uint16_t> favBits_;
    SatelliteIndex satelliteById_{};
};

// The rows a scope shows (program table or a favourite list, TV/radio range), before any
// tree-node filter. Returns false with error set when the list cannot be read.
bool rowsForScope(const ChannelDatabase& db, std::uint32_t scope, std::vector<RowRef>& rows, RowTextError& error);

} // namespace satorix
