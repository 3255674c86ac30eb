#pragma once

#include <cstdint>
#include <string>

#include "link/Line.h"

namespace satorix::link {

// The serial line to the receiver: one of four ports, raw 8N1 without flow control, taken
// exclusively, with the read and write waiting rules of LineTimeouts.
class StbPort : public Line {
public:
    static constexpr int PORT_COUNT = 4;
    static constexpr int WRITE_ATTEMPTS = 10;

    StbPort() = default;
    ~StbPort() override;
    StbPort(const StbPort&) = delete;
    StbPort& operator=(const StbPort&) = delete;

    // Device of port 1..4: $SATORIX_COMn, else the chosen path, else the default. Empty for any
    // other port number.
    static std::string devicePath(int port, const std::string& chosen = {});
    // /dev/ttyS<n-1>
    static std::string defaultDevice(int port);
    // $SATORIX_COMn, empty when unset.
    static std::string environmentDevice(int port);

    // 1 opened, 0 failed (unknown port number, absent device, in use).
    int open(int port, std::uint32_t baudRate);
    int openDevice(const std::string& path, std::uint32_t baudRate);
    // Adopts a descriptor opened elsewhere (the simulator's pseudo-terminal master); raw settings
    // are applied, no lock is taken. The port closes it.
    int attach(int fd);
    void close();
    // Discards everything queued in both directions.
    void purge();
    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    // The system's words for the last failed open.
    const std::string& lastError() const { return lastError_; }
    // The device and the system's reason, with what to do about a missing permission.
    static std::string openFailure(const std::string& path, int error);

    int netd_read(std::uint8_t* buffer, std::size_t count, std::size_t& received) override;
    int netd_write(const std::uint8_t* buffer, std::size_t count, std::size_t& written) override;

private:
    void applyLineSettings(std::uint32_t baudRate);
    bool writeAttempt(const std::uint8_t* buffer, std::size_t count);

    int fd_ = -1;
    bool exclusive_ = false;
    std::string lastError_;
};

} // namespace satorix::link
