#include "link/ReceiveSession.h"

#include "link/RegionRules.h"

namespace satorix::link {

ReceiveSession::ReceiveSession(PacketLink& link, std::uint32_t kind, std::uint8_t* buffer, std::size_t bufferSize)
    : link_(link), kind_(kind), buffer_(buffer), bufferSize_(bufferSize)
{
}

int ReceiveSession::cancelled()
{
    link_.post(REPORT_CANCELLED, 1);
    return RESULT_FAILED;
}

int ReceiveSession::timeout(std::uint32_t value, int result)
{
    link_.post(REPORT_TIMEOUT, value);
    return result;
}

// The ends that have no report of their own still have to close the dialog: a user's cancel says
// so, anything else is data the receiver should not have sent. The value tells the ends apart.
int ReceiveSession::unreported(int result)
{
    if (link_.cancelRequested()) return cancelled();
    link_.post(REPORT_UNEXPECTED_DATA, static_cast<std::uint32_t>(result));
    return result;
}

int ReceiveSession::run()
{
    offset_ = 0;
    if (link_.cancelRequested()) return cancelled();
    if (link_.send_packet(PacketHeader::make(PKT_REQUEST, kind_), nullptr, 0, true) != 0)
        return link_.cancelRequested() ? cancelled() : timeout(50, RESULT_FAILED);

    if (link_.cancelRequested()) return cancelled();
    PacketHeader reply;
    if (link_.recv_packet(reply, nullptr, 0, true) != 0 || reply.tag != PKT_REPLY) return timeout(62, RESULT_FAILED);

    if (link_.cancelRequested()) return cancelled();
    const auto own = OWN_IDENTITY.bytes();
    if (link_.send_packet(reply.answer(PKT_REPORT, kind_), own.data(), own.size(), true) != 0)
        return timeout(61, RESULT_FAILED);

    if (link_.cancelRequested()) return cancelled();
    PacketHeader status;
    if (link_.recv_packet(status, nullptr, 0, false) != 0 || status.tag != PKT_STATUS)
        return timeout(64, RESULT_FAILED);
    if (status.param != 0) return timeout(63, RESULT_REFUSED);

    if (link_.cancelRequested()) return cancelled();
    PacketHeader fileHeader;
    FileInfo::Bytes payload{};
    if (link_.recv_packet(fileHeader, payload.data(), payload.size(), true) != 0 || fileHeader.tag != PKT_FILE_HEADER)
        return unreported(RESULT_FAILED);
    info_ = FileInfo::fromBytes(payload.data());

    const std::uint32_t limit = receiveLimit(info_.type);
    if (limit == 0) return unreported(RESULT_BAD_REGION);
    if (info_.blockCount == 0 || info_.fileSize == 0) return timeout(66, RESULT_BAD_REGION);

    const int result = receiveBlocks(limit);
    if (result != RESULT_OK) return result;
    link_.post(REPORT_PROGRESS, progressValue(100, 100));
    link_.post(REPORT_DOWNLOAD_DONE, 0);
    return RESULT_OK;
}

int ReceiveSession::receiveBlocks(std::uint32_t limit)
{
    std::uint32_t i = 0;
    while (offset_ < limit) {
        if (link_.cancelRequested()) return cancelled();
        BlockHeader header;
        const std::size_t room = bufferSize_ - offset_;
        const int r = link_.recv_block(header, buffer_ + offset_, room, true);
        // A receiver that stalls or vanishes mid-transfer is a time-out, not bad data.
        if (r == PacketLink::LINE_SILENT) return link_.cancelRequested() ? cancelled() : timeout(67, RESULT_BAD_BLOCK);
        if (r != 0 || header.blockNumber != i) {
            link_.post(REPORT_TRACE, 103);
            return unreported(RESULT_BAD_BLOCK);
        }
        offset_ += header.length;
        ++i;
        const auto percent = (static_cast<std::uint64_t>(i) + 1) * 100 / info_.blockCount;
        link_.post(REPORT_PROGRESS, progressValue(static_cast<std::uint32_t>(percent), 100));
        if (i == info_.blockCount) break;
    }
    return RESULT_OK;
}

} // namespace satorix::link
