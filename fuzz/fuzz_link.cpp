// Arbitrary bytes from the line into the receiving side: recv_packet, recv_block and a whole
// ReceiveSession. The first byte picks the target; for the session it may also ask the harness to
// frame chunks with a correct CRC, so that inputs get past the checksums into the session's logic.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "link/Crc32.h"
#include "link/MemoryLine.h"
#include "link/PacketLink.h"
#include "link/ReceiveSession.h"
#include "link/RegionRules.h"

using namespace satorix::link;

namespace {

// Chunks: a byte h; h & 0x80: (h & 0x7F) raw bytes follow; otherwise a 16-bit length and that many
// bytes, sent as one frame with its CRC.
std::vector<std::uint8_t> framed(const std::uint8_t* p, std::size_t n)
{
    std::vector<std::uint8_t> out;
    std::size_t i = 0;
    while (i < n) {
        const std::uint8_t h = p[i++];
        std::size_t len = h & 0x7F;
        const bool raw = h & 0x80;
        if (!raw) {
            if (i + 2 > n) break;
            len = static_cast<std::size_t>(p[i] | p[i + 1] << 8);
            i += 2;
        }
        if (len > n - i) len = n - i;
        if (!raw) out.push_back(FRAME_START);
        out.insert(out.end(), p + i, p + i + len);
        if (!raw) {
            std::uint8_t crc[4];
            putU32(crc, crc32(p + i, len));
            out.insert(out.end(), crc, crc + 4);
        }
        i += len;
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) return 0;
    static std::vector<std::uint8_t> buffer(RECEIVE_BUFFER_SIZE);
    const std::uint8_t mode = data[0] % 4;
    const std::uint8_t arg = data[1];
    data += 2;
    size -= 2;

    MemoryLine line;
    line.setTimeouts(LineTimeouts{}.scaled(0)); // nothing may wait
    std::atomic<bool> cancel{false};
    PacketLink link(line, &cancel, [](const TransferReport&) {});
    switch (mode) {
    case 0: {
        line.setInput(data, size);
        PacketHeader h;
        std::uint8_t payload[32];
        link.recv_packet(h, (arg & 1) ? payload : nullptr, (arg & 1) ? sizeof payload : 0, arg & 2);
        break;
    }
    case 1: {
        line.setInput(data, size);
        BlockHeader h;
        // A small room makes overlong blocks common.
        const std::size_t room = (arg & 1) ? buffer.size() : static_cast<std::size_t>(arg) * 16;
        std::vector<std::uint8_t> exact(room);
        link.recv_block(h, exact.data(), exact.size(), arg & 2);
        break;
    }
    case 2:
    case 3: {
        if (mode == 2) {
            line.setInput(data, size);
        } else {
            const auto bytes = framed(data, size);
            line.setInput(bytes.data(), bytes.size());
        }
        ReceiveSession session(link, arg & 1 ? REGION_DATABASE : arg >> 1, buffer.data(), buffer.size());
        session.run();
        if (session.received() > buffer.size()) __builtin_trap();
        break;
    }
    }
    return 0;
}
