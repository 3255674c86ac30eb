#include "tests/support/SimOnPty.h"

#include <gtest/gtest.h>

#include "db/SampleGenerator.h"
#include "link/RegionRules.h"

namespace satorix::test {

link::LineTimeouts fastTimeouts()
{
    return {.readIntervalMs = 50,
            .readConstantMs = 100,
            .readPerByteMs = 1,
            .writeConstantMs = 100,
            .writePerByteMs = 1,
            .tracePauseMs = 20,
            .blockPauseMs = 0};
}

std::vector<std::uint8_t> sampleImage(std::uint32_t seed, std::size_t size)
{
    auto db = std::make_unique<ChannelDatabase>();
    db->setListingPath({});
    generateSample(*db, {false, seed});
    db->updateCrc(db->version());
    std::vector<std::uint8_t> image(db->image(), db->image() + IMAGE_SIZE);
    if (size) image.resize(size, 0);
    return image;
}

SimOnPty::SimOnPty(stbsim::SimOptions options)
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

stbsim::SimOptions SimOnPty::anyMode(std::vector<std::uint8_t> served, stbsim::SimFaults faults)
{
    stbsim::SimOptions options;
    options.mode = stbsim::SimMode::Any;
    options.data = std::move(served);
    options.data.resize(link::DATABASE_REGION_SIZE, 0);
    options.faults = std::move(faults);
    options.requestRepeatMs = 100;
    return options;
}

SimOnPty::~SimOnPty()
{
    stop_.store(true);
    if (thread_.joinable()) thread_.join();
}

const stbsim::SimResult& SimOnPty::finish()
{
    if (thread_.joinable()) thread_.join();
    return sim_->result();
}

std::vector<SimOnPty::Exchange> SimOnPty::exchanges() const
{
    std::lock_guard lock(mutex_);
    return exchanges_;
}

bool SimOnPty::waitForExchanges(std::size_t n, int timeoutMs, const std::function<void()>& idle) const
{
    return waitFor([&] { return exchanges().size() >= n; }, timeoutMs, idle);
}

} // namespace satorix::test
