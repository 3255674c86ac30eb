#pragma once

#include <array>
#include <cstdint>

#include "link/StbIdentity.h"
#include "link/TransferReport.h"

namespace satorix::link {

constexpr std::uint32_t REGION_DATABASE = 4;
constexpr std::uint32_t DATABASE_REGION_SIZE = 0x100000;
constexpr std::uint32_t DATA_BLOCK_SIZE = 4096;
constexpr std::size_t RECEIVE_BUFFER_SIZE = 0x100400;

// Largest amount a receive session accepts for a region type; 0 for a type it refuses.
std::uint32_t receiveLimit(std::uint32_t type);
constexpr std::uint32_t blocksFor(std::uint32_t size) { return (size + DATA_BLOCK_SIZE - 1) / DATA_BLOCK_SIZE; }

struct VariantRow {
    std::uint32_t hardwareId;
    std::uint32_t softwareAddress;
    std::uint32_t databaseAddress;
};

// Receiver variants and where their regions live; the first row whose hardwareId matches wins.
constexpr std::array<VariantRow, 4> VariantTable = {{
    {0x83010101, 0x00690000, 0x006A0000},
    {0x83010201, 0x00690000, 0x006A0000},
    {0x83010201, 0x00690000, 0x006A0000},
    {0, 0, 0},
}};

// May `current` be sent as region `kind` to the receiver r that chose `selector`?
bool identityCompatible(std::uint32_t kind, std::uint32_t selector, const StbIdentity& r, const StbIdentity& current);

// Chooses the region, its address, size and block count for the receiver r. False when none fits;
// some refusals post a trace report first.
bool prepareRegion(std::uint32_t kind, std::uint32_t selector, const StbIdentity& r, const StbIdentity& current,
                   FileInfo& info, const ReportCallback& report);

} // namespace satorix::link
