#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "link/PacketLink.h"
#include "link/RegionRules.h"
#include "link/StbIdentity.h"

namespace satorix::link {

// The PC sends one region to the receiver: it waits for the receiver's request, checks the
// identity the receiver reports against `current`, prepares the region and sends it in blocks.
class SendSession {
public:
    // data holds size bytes; a region longer than that is padded with zeros.
    SendSession(PacketLink& link, std::uint32_t kind, const std::uint8_t* data, std::size_t size,
                const StbIdentity& current);

    int run(); // 0 sent completely, 1 failed
    const FileInfo& fileInfo() const { return info_; }
    std::uint32_t selector() const { return selector_; }

private:
    int cancelled();
    int refuse(int code, std::uint32_t value);
    int sendBlocks();
    const std::uint8_t* blockData(std::size_t offset, std::size_t length);

    PacketLink& link_;
    std::uint32_t kind_;
    const std::uint8_t* data_;
    std::size_t size_;
    StbIdentity current_;
    FileInfo info_;
    std::uint32_t selector_ = 0;
    std::array<std::uint8_t, DATA_BLOCK_SIZE> padded_{};
};

} // namespace satorix::link
