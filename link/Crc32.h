#pragma once

#include <cstddef>
#include <cstdint>

namespace satorix::link {

// The reflected CRC-32 of IEEE 802.3 that every frame carries; 0 for an empty buffer.
std::uint32_t crc32(const std::uint8_t* buffer, std::size_t length);
// The same CRC over two buffers taken as one (a header followed by its payload).
std::uint32_t crc32_2(const std::uint8_t* first, std::size_t firstLength, const std::uint8_t* second,
                      std::size_t secondLength);

} // namespace satorix::link
