// Shared by the database fuzz targets: reading the input, and turning it into a damaged database
// whose counters and live records come from the fuzzer. Patching random offsets of the whole image
// almost never hits the few KiB of records in use, so the input is spent on those records instead.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "db/ChannelDatabase.h"
#include "db/SampleGenerator.h"

namespace satorix::fuzz {

// Reads the input front to back; past the end every read gives zeros.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : p_(data), n_(size) {}
    bool empty() const { return i_ >= n_; }
    std::size_t left() const { return n_ - i_; }
    std::uint8_t byte() { return i_ < n_ ? p_[i_++] : 0; }
    std::uint16_t u16() { return static_cast<std::uint16_t>(byte() | byte() << 8); }
    std::uint32_t u32() { return static_cast<std::uint32_t>(u16()) | static_cast<std::uint32_t>(u16()) << 16; }
    // Up to n bytes, fewer at the end of the input.
    std::pair<const std::uint8_t*, std::size_t> take(std::size_t n)
    {
        const std::size_t k = std::min(n, left());
        const std::uint8_t* at = p_ + i_;
        i_ += k;
        return {at, k};
    }
    // A length byte (at most max), then that many bytes.
    std::string text(std::size_t max)
    {
        const auto [at, k] = take(byte() % (max + 1));
        return {reinterpret_cast<const char*>(at), k};
    }

private:
    const std::uint8_t* p_;
    std::size_t n_;
    std::size_t i_ = 0;
};

// The small generated database every damaged one starts from: cross references that hold, so
// that a few patched records reach the deep paths.
inline const std::vector<std::uint8_t>& sampleImage()
{
    static const std::vector<std::uint8_t> image = [] {
        auto db = std::make_unique<ChannelDatabase>();
        generateSample(*db, {false, 1});
        return std::vector<std::uint8_t>(db->image(), db->image() + IMAGE_SIZE);
    }();
    return image;
}

// A byte range of the image that the damage changed.
struct Span {
    std::size_t offset;
    std::size_t size;
};

// A counter from 16 input bits: mostly below 1,024, where the records the input can rewrite lie;
// one value in 64 is an edge (the capacity and its neighbours, the sign and the top of 16 bits),
// since a run over 20,000 programs costs as much as a hundred small ones.
inline std::uint16_t counter(std::uint16_t raw, int capacity)
{
    if (raw < 0xFC00) return raw % 1024;
    const int edges[] = {capacity - 1, capacity, capacity + 1, 0x7FFF, 0x8000, 0xFFFF};
    return static_cast<std::uint16_t>(edges[(raw & 0x3FF) % 6]);
}

// Damages image: the five counters, then chunks until the input ends or a chunk tag is 0xFF.
// A chunk's tag picks the table (tag % 6); the record bytes follow it and land on that table's
// next record, so the records in use are the ones rewritten:
//   0 satellite (48 bytes)  1 program (32)  2 transponder (16)  3 provider (16)
//   4 favourite list (tag >> 3) % 9: its TV count and count, then 8 entries at its next place
//   5 jump: the next record of table (tag >> 3) % 5 becomes the 16-bit index that follows
// Every changed range is appended to spans.
inline void damage(std::uint8_t* image, Input& in, std::vector<Span>& spans)
{
    auto patch = [&](std::size_t offset, std::size_t size) {
        const auto [at, k] = in.take(size);
        std::memcpy(image + offset, at, k);
        if (k) spans.push_back({offset, k});
    };
    static constexpr int capacities[] = {MAX_SATELLITES, MAX_PROGRAMS, MAX_PROGRAMS, MAX_TRANSPONDERS, MAX_PROVIDERS};
    for (int k = 0; k < 5 && !in.empty(); ++k) {
        const std::size_t at = layout::SATELLITE_COUNT + 2 * static_cast<std::size_t>(k);
        const std::uint16_t v = counter(in.u16(), capacities[k]);
        image[at] = static_cast<std::uint8_t>(v);
        image[at + 1] = static_cast<std::uint8_t>(v >> 8);
        spans.push_back({at, 2});
    }
    std::array<int, 5> next{};
    std::array<int, FAV_LISTS> favNext{};
    while (!in.empty()) {
        const std::uint8_t tag = in.byte();
        if (tag == 0xFF) break;
        switch (tag % 6) {
        case 0: patch(DatabaseImage::satelliteOffset(next[0]++ % MAX_SATELLITES), layout::SATELLITE_SIZE); break;
        case 1: patch(DatabaseImage::programOffset(next[1]++ % MAX_PROGRAMS), layout::PROGRAM_SIZE); break;
        case 2: patch(DatabaseImage::transponderOffset(next[2]++ % MAX_TRANSPONDERS), layout::TRANSPONDER_SIZE); break;
        case 3: patch(DatabaseImage::providerOffset(next[3]++ % MAX_PROVIDERS), layout::PROVIDER_SIZE); break;
        case 4: {
            const int l = (tag >> 3) % FAV_LISTS;
            patch(DatabaseImage::favOffset(l) + layout::fav::TV_COUNT, 4);
            const int p = favNext[static_cast<std::size_t>(l)];
            favNext[static_cast<std::size_t>(l)] = (p + 8) % FAV_ENTRIES;
            patch(DatabaseImage::favEntryOffset(l, p), 16);
            break;
        }
        default: {
            const int table = (tag >> 3) % 5;
            const int index = in.u16();
            if (table == 4)
                favNext[static_cast<std::size_t>(index % FAV_LISTS)] = (index >> 4) % FAV_ENTRIES & ~7;
            else
                next[static_cast<std::size_t>(table)] = index;
            break;
        }
        }
    }
}

} // namespace satorix::fuzz
