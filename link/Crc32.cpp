#include "link/Crc32.h"

#include <array>

namespace satorix::link {
namespace {

constexpr std::array<std::uint32_t, 256> makeTable()
{
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        t[i] = c;
    }
    return t;
}

constexpr auto TABLE = makeTable();

std::uint32_t update(std::uint32_t crc, const std::uint8_t* p, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i) crc = TABLE[(crc ^ p[i]) & 0xFFu] ^ (crc >> 8);
    return crc;
}

} // namespace

std::uint32_t crc32(const std::uint8_t* buffer, std::size_t length)
{
    if (length == 0) return 0;
    return ~update(0xFFFFFFFFu, buffer, length);
}

std::uint32_t crc32_2(const std::uint8_t* first, std::size_t firstLength, const std::uint8_t* second,
                      std::size_t secondLength)
{
    std::uint32_t crc = update(0xFFFFFFFFu, first, firstLength);
    if (second) crc = update(crc, second, secondLength);
    return ~crc;
}

} // namespace satorix::link
