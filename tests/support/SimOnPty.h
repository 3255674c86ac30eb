#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "db/SampleGenerator.h"
#include "link/LineTimeouts.h"
#include "link/RegionRules.h"
#include "link/StbPort.h"
#include "tools/stbsim/Pty.h"
#include "tools/stbsim/ReceiverSim.h"

namespace satorix::test {

// Short waits for failure paths (interval, constant, per byte; write constant, per byte; trace and
// block pauses): every retry loop still runs its full count, only faster.
inline link::LineTimeouts fastTimeouts() { return {50, 100, 1, 100, 1, 20, 0}; }

// A generated sample database image with its CRC, zero-padded to size bytes (none: IMAGE_SIZE).
inline std::vector<std::uint8_t> sampleImage(std::uint32_t seed, std::size_t size = 0)
{
    auto db = std::make_unique<ChannelDatabase>();
    db->setListingPath({});
    generateSample(*db, {false, seed});
    db->updateCrc(db->version());
    std::vector<std::uint8_t> image(db->image(), db->image() + IMAGE_SIZE);
    if (size) image.resize(size, 0);
    return image;
}

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
    explicit SimOnPty(stbsim::SimOptions options)
    {
        if (!pty_.open()) {
            ADD_FAILURE() << pty_.error();
            return;
        }
        port_.attach(pty_.takeMaster());
        if (options.mode == stbsim::SimMode::Any) options.unreadByPc = [this] { return pty_.unreadBySlave(); };
        sim_ = std::make_unique<stbsim::ReceiverSim>(port_, std::move(options), &stop_);
        sim_->setExchangeCallback([this](const stbsim::SimResult& r) {
            std::lock_guard lock(mutex_);
            exchanges_.push_back({r, pty_.slaveSpeed()});
        });
        thread_ = std::thread([this] { sim_->run(); });
    }
    ~SimOnPty()
    {
        stop();
        if (thread_.joinable()) thread_.join();
    }
    const std::string& device() const { return pty_.slavePath(); }
    const stbsim::SimResult& finish() // joins the simulator
    {
        if (thread_.joinable()) thread_.join();
        return sim_->result();
    }
    void stop() { stop_.store(true); }
    std::vector<Exchange> exchanges() const
    {
        std::lock_guard lock(mutex_);
        return exchanges_;
    }
    // For ASSERT_TRUE: false when fewer than n exchanges have ended after 20 s.
    bool waitForExchanges(std::size_t n) const
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        for (; exchanges().size() < n; std::this_thread::sleep_for(std::chrono::milliseconds(2)))
            if (std::chrono::steady_clock::now() > end) return false;
        return true;
    }

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
