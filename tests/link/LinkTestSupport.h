#pragma once

#include <algorithm>
#include <mutex>
#include <span>
#include <vector>

#include "db/ChannelDatabase.h"
#include "link/Crc32.h"
#include "link/RegionRules.h"
#include "link/TransferReport.h"
#include "tests/support/SimOnPty.h"

namespace satorix::test {

// Collects reports from the worker thread.
struct ReportLog {
    link::ReportCallback callback()
    {
        return [this](const link::TransferReport& r) {
            std::lock_guard lock(mutex_);
            reports_.push_back(r);
        };
    }
    std::vector<link::TransferReport> all() const
    {
        std::lock_guard lock(mutex_);
        return reports_;
    }
    std::vector<std::uint32_t> valuesOf(int code) const
    {
        std::vector<std::uint32_t> v;
        for (const auto& r : all())
            if (r.code == code) v.push_back(r.value);
        return v;
    }
    bool contains(int code, std::uint32_t value) const { return std::ranges::count(valuesOf(code), value) > 0; }
    // The first report that closes the dialog, or {0, 0}.
    link::TransferReport closing() const
    {
        for (const auto& r : all())
            if (link::describeReport(r).close != link::ReportView::Close::No) return r;
        return {};
    }
    mutable std::mutex mutex_;
    std::vector<link::TransferReport> reports_;
};

// One whole frame: start byte, header, payload, CRC.
template <typename Header>
std::vector<std::uint8_t> frame(const Header& header, std::span<const std::uint8_t> payload = {})
{
    const auto h = header.bytes();
    std::vector<std::uint8_t> f(1 + h.size() + payload.size() + 4, link::FRAME_START);
    std::ranges::copy(payload, std::ranges::copy(h, f.begin() + 1).out);
    link::putU32(f.data() + f.size() - 4, link::crc32(f.data() + 1, f.size() - 5));
    return f;
}
inline std::vector<std::uint8_t> controlFrame(std::uint32_t tag, std::uint32_t param,
                                              std::span<const std::uint8_t> payload = {})
{
    return frame(link::PacketHeader::make(tag, param), payload);
}

} // namespace satorix::test
