#pragma once

#include <cstddef>
#include <cstdint>

#include "link/PacketLink.h"
#include "link/StbIdentity.h"

namespace satorix::link {

// The PC receives one region from the receiver: request, reply, identity report, status, file
// header, then numbered blocks into the caller's buffer. Every end posts a report that closes the
// transmission dialog.
class ReceiveSession {
public:
    static constexpr int RESULT_OK = 0;
    static constexpr int RESULT_FAILED = 1;
    static constexpr int RESULT_BAD_REGION = 2;
    static constexpr int RESULT_BAD_BLOCK = 3;
    static constexpr int RESULT_REFUSED = 5;

    ReceiveSession(PacketLink& link, std::uint32_t kind, std::uint8_t* buffer, std::size_t bufferSize);

    int run();
    const FileInfo& fileInfo() const { return info_; }
    // Bytes stored in the buffer so far.
    std::size_t received() const { return offset_; }

private:
    int cancelled();
    int timeout(std::uint32_t value, int result);
    int unreported(int result);
    int receiveBlocks(std::uint32_t limit);

    PacketLink& link_;
    std::uint32_t kind_;
    std::uint8_t* buffer_;
    std::size_t bufferSize_;
    FileInfo info_;
    std::size_t offset_ = 0;
};

} // namespace satorix::link
