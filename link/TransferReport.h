#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace satorix::link {

constexpr int REPORT_THREAD_FAILED = 1;
constexpr int REPORT_OPENING_PORT = 2;
constexpr int REPORT_PORT_FAILED = 3;
constexpr int REPORT_WAITING = 4;
constexpr int REPORT_TIMEOUT = 5;
constexpr int REPORT_UNEXPECTED_DATA = 6;
constexpr int REPORT_PROGRESS = 13;
constexpr int REPORT_DOWNLOAD_DONE = 19;
constexpr int REPORT_UPLOAD_DONE = 21;
constexpr int REPORT_TRACE = 27;
constexpr int REPORT_CANCELLED = 28;
constexpr int REPORT_UPLOADING = 29;

// What a transfer tells the transmission dialog: a code and a 32-bit value.
struct TransferReport {
    int code = 0;
    std::uint32_t value = 0;
    bool operator==(const TransferReport&) const = default;
};

// Called on the worker thread; must not block (the dialog posts it to itself).
using ReportCallback = std::function<void(const TransferReport&)>;

constexpr std::uint32_t progressValue(std::uint32_t done, std::uint32_t total)
{
    return (done & 0xFFFFu) | (total & 0xFFFFu) << 16;
}

// How the transmission dialog shows a report. Empty texts leave their field unchanged.
struct ReportView {
    enum class Close { No, Ok, Cancel };
    std::string status;
    std::string packet; // "%d / %d" of a progress report
    int progress = -1;  // bar position, -1 unchanged
    std::string box;    // message box text (stop or information icon)
    bool stopIcon = false;
    Close close = Close::No;
    bool sessionCancelled = false; // the port could not be opened
};

ReportView describeReport(const TransferReport& report);

} // namespace satorix::link
