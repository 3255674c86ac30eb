#include "link/SendSession.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

namespace satorix::link {

SendSession::SendSession(PacketLink& link, std::uint32_t kind, const std::uint8_t* data, std::size_t size,
                         const StbIdentity& current)
    : link_(link), kind_(kind), data_(data), size_(data ? size : 0), current_(current)
{
}

int SendSession::cancelled()
{
    link_.post(REPORT_CANCELLED, 1);
    return 1;
}

// The receiver waits for a status after its report; tell it that nothing follows.
int SendSession::refuse(int code, std::uint32_t value)
{
    link_.send_status(1);
    link_.post(code, value);
    return 1;
}

int SendSession::run()
{
    if (link_.cancelRequested()) return cancelled();
    PacketHeader request;
    if (link_.recv_packet(request, nullptr, 0, true) != 0 || request.tag != PKT_REQUEST) {
        if (link_.cancelRequested()) return cancelled();
        link_.post(REPORT_TIMEOUT, 1);
        return 1;
    }

    if (link_.cancelRequested()) return cancelled();
    if (link_.send_packet(request.answer(PKT_REPLY, kind_), nullptr, 0, true) != 0) return refuse(REPORT_TIMEOUT, 4);

    if (link_.cancelRequested()) return cancelled();
    PacketHeader report;
    StbIdentity::Bytes payload{};
    if (link_.recv_packet(report, payload.data(), payload.size(), true) != 0 || report.tag != PKT_REPORT)
        return refuse(REPORT_UNEXPECTED_DATA, 0);
    selector_ = report.param;
    const StbIdentity receiver = StbIdentity::fromBytes(payload.data());

    if (link_.cancelRequested()) return cancelled();
    if (!identityCompatible(kind_, selector_, receiver, current_)) return refuse(REPORT_TIMEOUT, 3);
    link_.post(REPORT_UPLOADING, 12);

    if (link_.cancelRequested()) return cancelled();
    const ReportCallback trace = [this](const TransferReport& r) { link_.post(r.code, r.value); };
    if (!prepareRegion(kind_, selector_, receiver, current_, info_, trace)) return refuse(REPORT_TIMEOUT, 2);

    if (link_.cancelRequested()) return cancelled();
    if (link_.send_packet(report.answer(PKT_STATUS, 0), nullptr, 0, false) != 0) {
        link_.post(REPORT_TIMEOUT, 8);
        return 1;
    }

    if (link_.cancelRequested()) return cancelled();
    const auto info = info_.bytes();
    if (link_.send_packet(report.answer(PKT_FILE_HEADER, 0), info.data(), info.size(), true) != 0) {
        link_.post(REPORT_TIMEOUT, 7);
        return 1;
    }

    const int result = sendBlocks();
    if (result != 0) return result;
    link_.post(REPORT_PROGRESS, progressValue(100, 100));
    link_.post(REPORT_UPLOAD_DONE, 0);
    return 0;
}

const std::uint8_t* SendSession::blockData(std::size_t offset, std::size_t length)
{
    if (offset + length <= size_) return data_ + offset;
    padded_.fill(0);
    if (offset < size_) std::memcpy(padded_.data(), data_ + offset, size_ - offset);
    return padded_.data();
}

int SendSession::sendBlocks()
{
    if (kind_ == REGION_DATABASE) {
        info_.fileSize = DATABASE_REGION_SIZE;
        info_.blockCount = blocksFor(DATABASE_REGION_SIZE);
    }
    const auto pause = std::chrono::milliseconds(link_.line().timeouts().blockPauseMs);
    std::size_t offset = 0;
    for (std::uint32_t i = 0; offset < info_.fileSize && i < info_.blockCount; ++i) {
        if (link_.cancelRequested()) return cancelled();
        const auto percent = (static_cast<std::uint64_t>(i) + 1) * 100 / info_.blockCount;
        link_.post(REPORT_PROGRESS, progressValue(static_cast<std::uint32_t>(percent), 100));
        std::this_thread::sleep_for(pause);
        const std::size_t length = std::min<std::size_t>(info_.fileSize - offset, DATA_BLOCK_SIZE);
        const auto header = BlockHeader::make(kind_, i, static_cast<std::uint32_t>(length));
        if (link_.send_block(header, blockData(offset, length), true) != 0) {
            link_.post(REPORT_TIMEOUT, 5);
            return 1;
        }
        offset += length;
    }
    return 0;
}

} // namespace satorix::link
