#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "DbTypes.h"

namespace satorix {

// The 721,968 bytes in the receiver's layout, zero-filled at start: little-endian access by
// offset and where each record starts. Offsets must lie inside the image.
class DatabaseImage {
public:
    DatabaseImage() : bytes_(new std::uint8_t[IMAGE_SIZE]()) {}

    std::uint8_t* data() { return bytes_.get(); }
    const std::uint8_t* data() const { return bytes_.get(); }

    std::uint8_t u8(std::size_t off) const { return bytes_[off]; }
    std::uint16_t u16(std::size_t off) const
    {
        return static_cast<std::uint16_t>(bytes_[off] | (bytes_[off + 1] << 8));
    }
    std::uint32_t u32(std::size_t off) const
    {
        return static_cast<std::uint32_t>(bytes_[off]) | static_cast<std::uint32_t>(bytes_[off + 1]) << 8 |
               static_cast<std::uint32_t>(bytes_[off + 2]) << 16 | static_cast<std::uint32_t>(bytes_[off + 3]) << 24;
    }
    void setU8(std::size_t off, std::uint8_t v) { bytes_[off] = v; }
    void setU16(std::size_t off, std::uint16_t v)
    {
        bytes_[off] = static_cast<std::uint8_t>(v);
        bytes_[off + 1] = static_cast<std::uint8_t>(v >> 8);
    }
    void setU32(std::size_t off, std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i) bytes_[off + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
    const char* namePtr(std::size_t off) const { return reinterpret_cast<const char*>(&bytes_[off]); }
    char* namePtr(std::size_t off) { return reinterpret_cast<char*>(&bytes_[off]); }

    // Record offsets; indices must be within capacity.
    static std::size_t satelliteOffset(int i) { return layout::SATELLITES + layout::SATELLITE_SIZE * i; }
    static std::size_t programOffset(int i) { return layout::PROGRAMS + layout::PROGRAM_SIZE * i; }
    static std::size_t favOffset(int l) { return layout::FAVOURITES + layout::FAVOURITE_SIZE * l; }
    static std::size_t favEntryOffset(int l, int p) { return favOffset(l) + layout::fav::ENTRIES + 2 * p; }
    static std::size_t transponderOffset(int i) { return layout::TRANSPONDERS + layout::TRANSPONDER_SIZE * i; }
    static std::size_t providerOffset(int i) { return layout::PROVIDERS + layout::PROVIDER_SIZE * i; }

private:
    std::unique_ptr<std::uint8_t[]> bytes_;
};

} // namespace satorix
