#include "ImageCrc.h"

#include <array>

namespace satorix {
namespace {

// Slicing-by-4 tables: the image is 705 KB and the CRC runs after every edit.
using Tables = std::array<std::array<std::uint32_t, 256>, 4>;

constexpr Tables makeTables()
{
    Tables t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i << 24;
        for (int k = 0; k < 8; ++k) c = (c & 0x80000000u) ? (c << 1) ^ 0x04C11DB7u : c << 1;
        t[0][i] = c;
    }
    for (std::uint32_t i = 0; i < 256; ++i)
        for (int s = 1; s < 4; ++s) t[s][i] = (t[s - 1][i] << 8) ^ t[0][t[s - 1][i] >> 24];
    return t;
}

constexpr Tables kTables = makeTables();

} // namespace

std::uint32_t crcMpeg2Update(std::uint32_t crc, const std::uint8_t* data, std::size_t len)
{
    while (len >= 4) {
        crc ^= static_cast<std::uint32_t>(data[0]) << 24 | static_cast<std::uint32_t>(data[1]) << 16 |
               static_cast<std::uint32_t>(data[2]) << 8 | data[3];
        crc = kTables[3][crc >> 24] ^ kTables[2][(crc >> 16) & 0xFF] ^ kTables[1][(crc >> 8) & 0xFF] ^
              kTables[0][crc & 0xFF];
        data += 4;
        len -= 4;
    }
    while (len--) crc = (crc << 8) ^ kTables[0][(crc >> 24) ^ *data++];
    return crc;
}

} // namespace satorix
