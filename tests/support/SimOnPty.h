#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "link/LineTimeouts.h"
#include "link/StbPort.h"
#include "tests/support/WaitFor.h"
#include "tools/stbsim/Pty.h"
#include "tools/stbsim/ReceiverSim.h"

namespace satorix::test {

// Short waits for failure paths: every retry loop still runs its full count, only faster.
link::LineTimeouts fastTimeouts();

// A generated sample database image with its CRC, zero-padded to size bytes (none: IMAGE_SIZE).
std::vector<std::uint8_t> sampleImage(std::uint32_t seed, std::size_t size = 0);

inline double secondsSince(std::chrono::steady_clock::time_point t)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}

// stbsim's receiver on a thread at the master end of a fresh pseudo-terminal. Every finished
// exchange is recorded with the line speed the PC had set.
class SimOnPty {
public:
    struct Exchange {
        stbsim::SimResult result;
        unsigned speed = 0;
    };
    explicit SimOnPty(stbsim::SimOptions options);
    // The editor's receiver: SimMode::Any serving `served` again and again, with real time-outs
    // (shorter ones fail exchanges when a loaded machine starves the editor's worker thread).
    static stbsim::SimOptions anyMode(std::vector<std::uint8_t> served, stbsim::SimFaults faults = {});
    ~SimOnPty();
    const std::string& device() const { return pty_.slavePath(); }
    const stbsim::SimResult& finish(); // joins the simulator
    void stop() { stop_.store(true); }
    std::vector<Exchange> exchanges() const;
    bool waitForExchanges(std::size_t n, int timeoutMs = 20000, const std::function<void()>& idle = {}) const;

private:
    stbsim::Pty pty_;
    link::StbPort port_;
    std::atomic<bool> stop_{false};
    std::unique_ptr<stbsim::ReceiverSim> sim_;
    std::thread thread_;
    mutable std::mutex mutex_;
    std::vector<Exchange> exchanges_;
};

} // namespace satorix::test
