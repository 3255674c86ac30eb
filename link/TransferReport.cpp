#include "link/TransferReport.h"

#include <cstdio>

namespace satorix::link {
namespace {

std::string format(const char* fmt, long long v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, fmt, v);
    return buf;
}

} // namespace

ReportView describeReport(const TransferReport& r)
{
    ReportView v;
    const auto value = static_cast<long long>(static_cast<std::int32_t>(r.value));
    switch (r.code) {
    case REPORT_THREAD_FAILED:
        v.box = "Can not run communication thread";
        v.stopIcon = true;
        v.close = ReportView::Close::Cancel;
        break;
    case REPORT_OPENING_PORT: v.status = format("Opening port COM%d", value); break;
    case REPORT_PORT_FAILED:
        v.box = format("Can not open port COM%d", value);
        v.stopIcon = true;
        v.close = ReportView::Close::Cancel;
        v.sessionCancelled = true;
        break;
    case REPORT_WAITING: v.status = "Waiting for answer from Set Top Box"; break;
    case REPORT_TIMEOUT:
        v.status = format("Timeout - %d", value);
        v.box = "Communication timeout";
        v.stopIcon = true;
        v.close = ReportView::Close::Cancel;
        break;
    case REPORT_UNEXPECTED_DATA:
        v.box = "Received different data then expected";
        v.stopIcon = true;
        v.close = ReportView::Close::Cancel;
        break;
    case REPORT_PROGRESS: {
        const unsigned low = r.value & 0xFFFFu, high = r.value >> 16;
        char buf[32];
        std::snprintf(buf, sizeof buf, "%u / %u", low, high);
        v.packet = buf;
        v.progress = high ? static_cast<int>(low * 100u / high) : 0;
        break;
    }
    case REPORT_DOWNLOAD_DONE:
    case REPORT_UPLOAD_DONE:
        v.status = "Complete";
        v.close = ReportView::Close::Ok;
        break;
    case REPORT_TRACE: v.status = "Data Download from Set Top Box..."; break;
    case REPORT_CANCELLED:
        v.status = "Wait for Close.....";
        v.close = ReportView::Close::Cancel;
        break;
    case REPORT_UPLOADING: v.status = "Data Upload to Set Top Box..."; break;
    default: break;
    }
    return v;
}

} // namespace satorix::link
