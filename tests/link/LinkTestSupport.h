#pragma once

#include <mutex>
#include <vector>

#include "link/TransferReport.h"
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

// One whole frame: start byte, header, payload, CRC.
std::vector<std::uint8_t> frame(const std::uint8_t* header, std::size_t headerSize,
                                const std::uint8_t* payload = nullptr, std::size_t payloadLength = 0);
std::vector<std::uint8_t> controlFrame(std::uint32_t tag, std::uint32_t param, const std::uint8_t* payload = nullptr,
                                       std::size_t payloadLength = 0);

} // namespace satorix::test
