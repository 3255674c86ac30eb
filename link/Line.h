#pragma once

#include <cstddef>
#include <cstdint>

#include "link/LineTimeouts.h"

namespace satorix::link {

// The two primitives the packet protocol is built on. StbPort implements them on a serial device;
// MemoryLine on a byte buffer, so the protocol can run without a device (fuzzing, fast fault tests).
class Line {
public:
    virtual ~Line() = default;

    // One blocking read of up to count bytes; received tells how many arrived. Always returns 0:
    // a failed or timed-out read only leaves received below count.
    virtual int netd_read(std::uint8_t* buffer, std::size_t count, std::size_t& received) = 0;
    // Writes the whole buffer: 0 written, 1 failed after all attempts.
    virtual int netd_write(const std::uint8_t* buffer, std::size_t count, std::size_t& written) = 0;

    const LineTimeouts& timeouts() const { return timeouts_; }
    void setTimeouts(const LineTimeouts& t) { timeouts_ = t; }

protected:
    LineTimeouts timeouts_;
};

} // namespace satorix::link
