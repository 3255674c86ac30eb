#include "tests/link/LinkTestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>

#include "link/Crc32.h"
#include "link/RegionRules.h"

namespace satorix::test {

link::ReportCallback ReportLog::callback()
{
    return [this](const link::TransferReport& r) {
        std::lock_guard lock(mutex_);
        reports_.push_back(r);
    };
}

std::vector<link::TransferReport> ReportLog::all() const
{
    std::lock_guard lock(mutex_);
    return reports_;
}

std::vector<std::uint32_t> ReportLog::valuesOf(int code) const
{
    std::vector<std::uint32_t> v;
    for (const auto& r : all())
        if (r.code == code) v.push_back(r.value);
    return v;
}

bool ReportLog::contains(int code, std::uint32_t value) const
{
    const auto v = valuesOf(code);
    return std::find(v.begin(), v.end(), value) != v.end();
}

link::TransferReport ReportLog::closing() const
{
    for (const auto& r : all())
        if (link::describeReport(r).close != link::ReportView::Close::No) return r;
    return {};
}

int WorkerRun::run(link::TransferKind kind, SimOnPty& sim, const link::LineTimeouts& timeouts)
{
    ctx.port.device = sim.device();
    ctx.timeouts = timeouts;
    link::TransferWorker worker;
    EXPECT_TRUE(worker.start(kind, ctx, *db, log.callback()));
    worker.join();
    return worker.result();
}

stbsim::SimOptions simOptions(stbsim::SimMode mode, const link::LineTimeouts& timeouts)
{
    stbsim::SimOptions o;
    o.mode = mode;
    o.timeouts = timeouts;
    o.requestRepeatMs = 100;
    o.timeLimitMs = 30000;
    return o;
}

std::vector<std::uint8_t> frame(const std::uint8_t* header, std::size_t headerSize, const std::uint8_t* payload,
                                std::size_t payloadLength)
{
    std::vector<std::uint8_t> f{link::FRAME_START};
    f.insert(f.end(), header, header + headerSize);
    if (payloadLength) f.insert(f.end(), payload, payload + payloadLength);
    std::uint8_t crc[4];
    link::putU32(crc, link::crc32(f.data() + 1, f.size() - 1));
    f.insert(f.end(), crc, crc + 4);
    return f;
}

std::vector<std::uint8_t> controlFrame(std::uint32_t tag, std::uint32_t param, const std::uint8_t* payload,
                                       std::size_t payloadLength)
{
    const auto h = link::PacketHeader::make(tag, param).bytes();
    return frame(h.data(), h.size(), payload, payloadLength);
}

} // namespace satorix::test
