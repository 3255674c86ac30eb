#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace satorix::link {

using u32 = std::uint32_t;

constexpr std::uint8_t FRAME_START = 0x02;
constexpr u32 PACKET_VERSION = 0x200;
constexpr std::size_t PACKET_HEADER_SIZE = 20;
constexpr std::size_t BLOCK_HEADER_SIZE = 32;
constexpr std::size_t ACK_FRAME_SIZE = 25;
constexpr u32 MAX_BLOCK_LENGTH = 0x7FFFFF;

// Tags travel as their four characters, first character first.
constexpr u32 PKT_REQUEST = 0x5245515A;     // "ZQER"
constexpr u32 PKT_REPLY = 0x5152595A;       // "ZYRQ"
constexpr u32 PKT_REPORT = 0x5250545A;      // "ZTPR"
constexpr u32 PKT_STATUS = 0x5354415A;      // "ZATS"
constexpr u32 PKT_FILE_HEADER = 0x4648445A; // "ZDHF"
constexpr u32 PKT_FILE_DATA = 0x4644545A;   // "ZTDF"
constexpr u32 PKT_ACK = 0x41434B5A;         // "ZKCA"

inline u32 getU32(const std::uint8_t* p)
{
    return static_cast<u32>(p[0]) | static_cast<u32>(p[1]) << 8 | static_cast<u32>(p[2]) << 16 |
           static_cast<u32>(p[3]) << 24;
}

inline void putU32(std::uint8_t* p, u32 v)
{
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// The 20-byte header of a control packet.
struct PacketHeader {
    u32 tag = 0;
    u32 version = PACKET_VERSION;
    u32 param = 0;
    std::array<u32, 2> reserved{};

    using Bytes = std::array<std::uint8_t, PACKET_HEADER_SIZE>;
    Bytes bytes() const;
    static PacketHeader fromBytes(const std::uint8_t* p);

    // A header built afresh: reserved words zero.
    static PacketHeader make(u32 tag, u32 param) { return {tag, PACKET_VERSION, param, {}}; }
    // An answer written into the header just received keeps that packet's reserved words.
    PacketHeader answer(u32 newTag, u32 newParam) const { return {newTag, PACKET_VERSION, newParam, reserved}; }
};

// The 32-byte header of a data block.
struct BlockHeader {
    u32 tag = PKT_FILE_DATA;
    u32 version = PACKET_VERSION;
    u32 kind = 0;
    u32 blockNumber = 0;
    u32 length = 0;
    u32 lengthCheck = ~0u;
    std::array<u32, 2> reserved{};

    using Bytes = std::array<std::uint8_t, BLOCK_HEADER_SIZE>;
    Bytes bytes() const;
    static BlockHeader fromBytes(const std::uint8_t* p);
    static BlockHeader make(u32 kind, u32 blockNumber, u32 length)
    {
        return {PKT_FILE_DATA, PACKET_VERSION, kind, blockNumber, length, ~length, {}};
    }
    bool lengthValid() const { return length <= MAX_BLOCK_LENGTH && lengthCheck == ~length; }
};

// The acknowledgement frame: the same 25 bytes for every packet.
std::array<std::uint8_t, ACK_FRAME_SIZE> ackFrame();

} // namespace satorix::link
