#include "link/Packets.h"

#include "link/Crc32.h"

namespace satorix::link {

PacketHeader::Bytes PacketHeader::bytes() const
{
    Bytes b{};
    putU32(&b[0], tag);
    putU32(&b[4], version);
    putU32(&b[8], param);
    putU32(&b[12], reserved[0]);
    putU32(&b[16], reserved[1]);
    return b;
}

PacketHeader PacketHeader::fromBytes(const std::uint8_t* p)
{
    return {getU32(p), getU32(p + 4), getU32(p + 8), {getU32(p + 12), getU32(p + 16)}};
}

BlockHeader::Bytes BlockHeader::bytes() const
{
    Bytes b{};
    const u32 words[8] = {tag, version, kind, blockNumber, length, lengthCheck, reserved[0], reserved[1]};
    for (std::size_t i = 0; i < 8; ++i) putU32(&b[4 * i], words[i]);
    return b;
}

BlockHeader BlockHeader::fromBytes(const std::uint8_t* p)
{
    return {getU32(p),
            getU32(p + 4),
            getU32(p + 8),
            getU32(p + 12),
            getU32(p + 16),
            getU32(p + 20),
            {getU32(p + 24), getU32(p + 28)}};
}

std::array<std::uint8_t, ACK_FRAME_SIZE> ackFrame()
{
    std::array<std::uint8_t, ACK_FRAME_SIZE> f{};
    f[0] = FRAME_START;
    const auto h = PacketHeader::make(PKT_ACK, 0).bytes();
    for (std::size_t i = 0; i < h.size(); ++i) f[1 + i] = h[i];
    putU32(&f[1 + PACKET_HEADER_SIZE], crc32(h.data(), h.size()));
    return f;
}

} // namespace satorix::link
