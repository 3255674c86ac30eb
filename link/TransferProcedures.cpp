#include "link/TransferProcedures.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

#include "link/ReceiveSession.h"
#include "link/RegionRules.h"
#include "link/SendSession.h"
#include "link/StbPort.h"

namespace satorix::link {
namespace {

constexpr std::size_t SOFTWARE_HEADER_SIZE = 64;
constexpr std::size_t SOFTWARE_IDENTITY_SIZE = 24;
// Nothing past the largest region is ever sent, so nothing past it is read.
constexpr std::uint64_t SOFTWARE_READ_LIMIT = SOFTWARE_HEADER_SIZE + 0x7FFFFF;

void post(const ReportCallback& report, int code, std::uint32_t value)
{
    if (report) report({code, value});
}

std::unique_ptr<std::uint8_t[]> allocate(std::size_t size)
{
    return std::unique_ptr<std::uint8_t[]>(new (std::nothrow) std::uint8_t[size]());
}

// A transfer that ends before any session (no memory, unreadable file) still closes the dialog.
int endQuietly(const ReportCallback& report)
{
    post(report, REPORT_CANCELLED, 0);
    return 1;
}

bool openPort(StbPort& port, TransferContext& ctx, const ReportCallback& report)
{
    const auto number = static_cast<std::uint32_t>(ctx.port.port) & 0xFFu;
    post(report, REPORT_OPENING_PORT, number);
    port.setTimeouts(ctx.timeouts);
    const int opened = ctx.port.device.empty() ? port.open(ctx.port.port, ctx.port.baudRate)
                                               : port.openDevice(ctx.port.device, ctx.port.baudRate);
    if (!opened) {
        ctx.errorDetail = port.lastError();
        post(report, REPORT_PORT_FAILED, number);
        return false;
    }
    port.purge();
    post(report, REPORT_WAITING, 0);
    return true;
}

} // namespace

std::unique_ptr<std::uint8_t[]> readSoftwareFile(TransferContext& ctx, std::uint64_t& length, std::size_t& stored)
{
    const std::string& path = ctx.softwarePath;
    // Opened for writing too, as the receiver's tools always did: a read-only file is refused.
    // Without blocking: a FIFO or a device would hold the worker for ever.
    int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        ctx.errorDetail = path + ": " + std::strerror(errno);
        if (fd >= 0) ::close(fd);
        return nullptr;
    }
    ::close(fd);
    if (!S_ISREG(st.st_mode)) {
        ctx.errorDetail = path + ": not a regular file";
        return nullptr;
    }
    length = static_cast<std::uint64_t>(st.st_size);
    stored = static_cast<std::size_t>(std::min(length, SOFTWARE_READ_LIMIT));
    auto buffer = allocate(stored + 1);
    if (!buffer) {
        ctx.errorDetail = path + ": not enough memory";
        return nullptr;
    }
    fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    std::size_t got = 0;
    while (fd >= 0 && got < stored) {
        const ssize_t n = ::read(fd, buffer.get() + got, stored - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    if (fd >= 0) ::close(fd);
    if (got < stored) {
        ctx.errorDetail = path + ": cannot be read whole";
        return nullptr;
    }
    return buffer;
}

std::uint32_t upgradeRegionType(std::uint64_t fileLength, std::uint32_t* sizeClass)
{
    const std::uint32_t cls = fileLength < 0x100000 ? 0 : fileLength < 0x700000 ? 1 : 2;
    if (sizeClass) *sizeClass = cls;
    static constexpr std::uint32_t types[] = {4, 3, 1};
    return types[cls];
}

int downloadProcedure(TransferContext& ctx, ChannelDatabase& db, const ReportCallback& report)
{
    StbPort port;
    if (!openPort(port, ctx, report)) return 1;
    db.setVersion(DB_VERSION);
    auto buffer = allocate(RECEIVE_BUFFER_SIZE);
    if (!buffer) return endQuietly(report);
    PacketLink link(port, &ctx.cancelRequested, report);
    ReceiveSession session(link, REGION_DATABASE, buffer.get(), RECEIVE_BUFFER_SIZE);
    const int result = session.run();
    if (result == 0) {
        const std::size_t size = std::min(ChannelDatabase::imageSize(db.version()), RECEIVE_BUFFER_SIZE);
        ctx.receivedBytes = session.received();
        if (ctx.receivedBytes >= size)
            std::memcpy(db.imageBase(db.version()), buffer.get(), size);
        else
            ctx.shortImage.assign(buffer.get(), buffer.get() + size);
        post(report, REPORT_DOWNLOAD_DONE, 0);
    }
    port.close();
    return result;
}

int uploadProcedure(TransferContext& ctx, const ChannelDatabase& db, const ReportCallback& report)
{
    StbPort port;
    if (!openPort(port, ctx, report)) return 1;
    ctx.currentIdentity = OWN_IDENTITY;
    auto buffer = allocate(RECEIVE_BUFFER_SIZE);
    if (!buffer) return endQuietly(report);
    const std::size_t size = std::min(ChannelDatabase::imageSize(db.version()), std::size_t{DATABASE_REGION_SIZE});
    std::memcpy(buffer.get(), db.imageBase(db.version()), size);
    PacketLink link(port, &ctx.cancelRequested, report);
    const int result =
        SendSession(link, REGION_DATABASE, buffer.get(), DATABASE_REGION_SIZE, ctx.currentIdentity).run();
    port.close();
    return result;
}

int upgradeProcedure(TransferContext& ctx, const ReportCallback& report)
{
    StbPort port;
    if (!openPort(port, ctx, report)) return 1;
    std::uint64_t length = 0;
    std::size_t stored = 0;
    auto file = readSoftwareFile(ctx, length, stored);
    if (!file) {
        ctx.softwareUnreadable = true;
        port.close();
        return endQuietly(report);
    }
    ctx.currentIdentity.assignPrefix(file.get(), std::min(stored, SOFTWARE_IDENTITY_SIZE));
    std::uint32_t sizeClass = 0;
    const std::uint32_t kind = upgradeRegionType(length, &sizeClass);
    post(report, REPORT_TRACE, static_cast<std::uint32_t>(length));
    post(report, REPORT_TRACE, sizeClass);
    // A file shorter than the region is padded with zeros by the session.
    const std::size_t dataSize = stored > SOFTWARE_HEADER_SIZE ? stored - SOFTWARE_HEADER_SIZE : 0;
    PacketLink link(port, &ctx.cancelRequested, report);
    const int result =
        SendSession(link, kind, file.get() + std::min(stored, SOFTWARE_HEADER_SIZE), dataSize, ctx.currentIdentity)
            .run();
    port.close();
    return result;
}

int runTransfer(TransferKind kind, TransferContext& ctx, ChannelDatabase& db, const ReportCallback& report)
{
    switch (kind) {
    case TransferKind::Download: return downloadProcedure(ctx, db, report);
    case TransferKind::Upload: return uploadProcedure(ctx, db, report);
    case TransferKind::Upgrade: return upgradeProcedure(ctx, report);
    }
    return 1;
}

} // namespace satorix::link
