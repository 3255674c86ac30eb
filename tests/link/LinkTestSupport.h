#pragma once

#include <mutex>
#include <vector>

#include "db/ChannelDatabase.h"
#include "link/TransferReport.h"
#include "link/TransferWorker.h"
#include "tests/support/SimOnPty.h"

namespace satorix::test {

// Collects reports from the worker thread.
class ReportLog {
public:
    link::ReportCallback callback();
    std::vector<link::TransferReport> all() const;
    std::vector<std::uint32_t> valuesOf(int code) const;
    bool contains(int code, std::uint32_t value) const;
    // The last report that closes the dialog, or {0, 0}.
    link::TransferReport closing() const;

private:
    mutable std::mutex mutex_;
    std::vector<link::TransferReport> reports_;
};

// A transfer on the worker thread against a simulated receiver, as the dialog starts it.
struct WorkerRun {
    std::unique_ptr<ChannelDatabase> db = std::make_unique<ChannelDatabase>();
    link::TransferContext ctx;
    ReportLog log;
    int run(link::TransferKind kind, SimOnPty& sim, const link::LineTimeouts& timeouts);
};
// The simulator's options for mode with the given time-outs and a time limit.
stbsim::SimOptions simOptions(stbsim::SimMode mode, const link::LineTimeouts& timeouts);

// One whole frame: start byte, header, payload, CRC.
std::vector<std::uint8_t> frame(const std::uint8_t* header, std::size_t headerSize,
                                const std::uint8_t* payload = nullptr, std::size_t payloadLength = 0);
std::vector<std::uint8_t> controlFrame(std::uint32_t tag, std::uint32_t param, const std::uint8_t* payload = nullptr,
                                       std::size_t payloadLength = 0);

} // namespace satorix::test
