#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "link/StbPort.h"
#include "link/TransferReport.h"
#include "tools/stbsim/Pty.h"
#include "tools/stbsim/ReceiverSim.h"

namespace satorix::test {

// Short waits for failure paths: every retry loop still runs its full count, only faster.
link::LineTimeouts fastTimeouts();

// Collects reports from the worker thread.
class ReportLog {
public:
    link::ReportCallback callback();
    std::vector<link::TransferReport> all() const;
    std::vector<std::uint32_t> valuesOf(int code) const;
    bool contains(int code, std::uint32_t value) const;
    // The last report that closes the dialog, or {0, 0}.
    link::TransferReport closing() const;
    std::size_t count(int code) const;

private:
    mutable std::mutex mutex_;
    std::vector<link::TransferReport> reports_;
};

// stbsim's receiver logic on a thread, at the master end of a fresh pseudo-terminal.
class SimOnPty {
public:
    explicit SimOnPty(stbsim::SimOptions options);
    ~SimOnPty();
    const std::string& device() const { return pty_.slavePath(); }
    const stbsim::SimResult& finish(); // joins the simulator
    void stop() { stop_.store(true); }

private:
    stbsim::Pty pty_;
    link::StbPort port_;
    std::atomic<bool> stop_ {false};
    std::unique_ptr<stbsim::ReceiverSim> sim_;
    std::thread thread_;
};

// A 1 MiB region holding a generated sample database, as a receiver stores it.
std::vector<std::uint8_t> sampleRegion(std::uint32_t seed = 1);

// One whole frame: start byte, header, payload, CRC.
std::vector<std::uint8_t> frame(const std::uint8_t* header, std::size_t headerSize, const std::uint8_t* payload = nullptr,
                                std::size_t payloadLength = 0);
std::vector<std::uint8_t> controlFrame(std::uint32_t tag, std::uint32_t param, const std::uint8_t* payload = nullptr,
                                       std::size_t payloadLength = 0);

inline double secondsSince(std::chrono::steady_clock::time_point t)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}

} // namespace satorix::test
