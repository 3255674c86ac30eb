#pragma once

#include <cstddef>
#include <cstdint>

namespace satorix {

// CRC-32/MPEG-2: polynomial 0x04C11DB7, MSB first, init 0xFFFFFFFF, no final XOR.
constexpr std::uint32_t CRC_MPEG2_INIT = 0xFFFFFFFFu;
std::uint32_t crcMpeg2Update(std::uint32_t crc, const std::uint8_t* data, std::size_t len);
inline std::uint32_t crcMpeg2(const std::uint8_t* data, std::size_t len)
{
    return (data && len) ? crcMpeg2Update(CRC_MPEG2_INIT, data, len) : 0;
}

} // namespace satorix
