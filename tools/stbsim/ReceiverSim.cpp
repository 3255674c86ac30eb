#include "tools/stbsim/ReceiverSim.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <utility>

#include "link/Crc32.h"
#include "link/RegionRules.h"

namespace satorix::stbsim {
namespace {

using namespace satorix::link;

long long nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

} // namespace

ReceiverSim::ReceiverSim(Line& line, SimOptions options, const std::atomic<bool>* stop)
    : line_(line), opt_(std::move(options)), stop_(stop), link_(line, stop)
{
}

int ReceiverSim::run()
{
    result_ = SimResult{};
    acksSent_ = 0;
    deadlineMs_ = nowMs() + opt_.timeLimitMs;
    line_.setTimeouts(opt_.timeouts);
    switch (opt_.mode) {
    case SimMode::Serve: return serve();
    case SimMode::Receive: return receive();
    case SimMode::Any: return any();
    }
    return 1;
}

bool ReceiverSim::timeLeft() const { return nowMs() < deadlineMs_ && !stopped(); }

int ReceiverSim::end(int rc, std::string outcome)
{
    result_.rc = rc;
    result_.outcome = std::move(outcome);
    return rc;
}

bool ReceiverSim::sendFrame(int index, const std::uint8_t* header, std::size_t headerSize, const std::uint8_t* payload,
                            std::size_t payloadLength)
{
    const SimFaults& f = opt_.faults;
    if (index == f.skipFrame) return true;
    std::vector<std::uint8_t> frame;
    frame.reserve(1 + headerSize + payloadLength + 4);
    frame.push_back(FRAME_START);
    frame.insert(frame.end(), header, header + headerSize);
    if (payloadLength) frame.insert(frame.end(), payload, payload + payloadLength);
    std::uint8_t crc[4];
    putU32(crc, crc32(frame.data() + 1, frame.size() - 1));
    frame.insert(frame.end(), crc, crc + 4);
    if (index == f.flipFrame && f.flipBit >= 0 && static_cast<std::size_t>(f.flipBit / 8) < frame.size())
        frame[static_cast<std::size_t>(f.flipBit / 8)] ^= static_cast<std::uint8_t>(1u << (f.flipBit % 8));

    std::size_t written = 0;
    if (index == f.garbageFrame && f.garbageBytes > 0) {
        std::vector<std::uint8_t> garbage(static_cast<std::size_t>(f.garbageBytes));
        for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<std::uint8_t>(0x30 + i % 64);
        if (line_.netd_write(garbage.data(), garbage.size(), written) != 0) return false;
    }
    std::size_t first = 0;
    if (index == f.stallFrame) {
        first = std::min(static_cast<std::size_t>(std::max(f.stallAfter, 0)), frame.size());
        if (first && line_.netd_write(frame.data(), first, written) != 0) return false;
        for (int waited = 0; waited < f.stallMs && !stopped(); waited += 10) sleepMs(std::min(10, f.stallMs - waited));
    }
    return line_.netd_write(frame.data() + first, frame.size() - first, written) == 0;
}

bool ReceiverSim::sendPacket(int index, const PacketHeader& h, const std::uint8_t* payload, std::size_t length,
                             bool wantAck)
{
    const auto bytes = h.bytes();
    if (!sendFrame(index, bytes.data(), bytes.size(), payload, length)) return false;
    return !wantAck || awaitAck();
}

// The PC's acknowledgement, read after read, so that a stop is noticed between the reads.
bool ReceiverSim::awaitAck()
{
    for (int i = 0; i < PacketLink::ACK_READS && !stopped(); ++i)
        if (link_.await_ack(1, false) == 0) return true;
    return false;
}

bool ReceiverSim::sendAck()
{
    const int index = acksSent_++;
    if (index == opt_.faults.dropAck) return true;
    auto frame = ackFrame();
    if (index == opt_.faults.flipAck) frame.back() ^= 0x01;
    std::size_t written = 0;
    return line_.netd_write(frame.data(), frame.size(), written) == 0;
}

bool ReceiverSim::recvFromPc(PacketHeader& h, std::uint8_t* payload, std::size_t length, bool ack, std::uint32_t tag)
{
    if (link_.recv_packet(h, payload, length, false) != 0) return false;
    result_.headers.push_back(h);
    if (h.tag != tag) return false;
    return !ack || sendAck();
}

int ReceiverSim::serve()
{
    // The PC may open its port at any time: keep listening for its request.
    PacketHeader request;
    bool gotRequest = false;
    while (!gotRequest && timeLeft()) {
        if (link_.recv_packet(request, nullptr, 0, false) != 0) continue;
        result_.headers.push_back(request);
        gotRequest = request.tag == PKT_REQUEST;
    }
    if (!gotRequest) return end(1, "no request from the PC");
    return serveRequest(request);
}

int ReceiverSim::serveRequest(const PacketHeader& request)
{
    if (!sendAck()) return end(1, "cannot write");

    PacketHeader reply = request.answer(PKT_REPLY, opt_.kind);
    if (opt_.reserved[0] || opt_.reserved[1]) reply.reserved = opt_.reserved;
    if (!sendPacket(SERVE_REPLY, reply, nullptr, 0, true)) return end(1, "reply not acknowledged");

    PacketHeader report;
    StbIdentity::Bytes id{};
    if (!recvFromPc(report, id.data(), id.size(), true, PKT_REPORT)) return end(1, "no report from the PC");
    result_.pcIdentity = StbIdentity::fromBytes(id.data());

    if (!sendPacket(SERVE_STATUS, report.answer(PKT_STATUS, opt_.faults.status), nullptr, 0, false))
        return end(1, "cannot write");
    if (opt_.faults.status != 0) return end(0, "refused the PC");
    return serveBlocks(report);
}

int ReceiverSim::serveBlocks(const PacketHeader& report)
{
    const SimFaults& f = opt_.faults;
    FileInfo info;
    info.type = opt_.kind;
    info.targetAddress = VariantTable[0].databaseAddress;
    info.fileSize = static_cast<std::uint32_t>(opt_.data.size());
    info.blockCount = blocksFor(info.fileSize);
    if (f.fileInfo) info = *f.fileInfo;
    const auto payload = info.bytes();
    if (!sendPacket(SERVE_FILE_HEADER, report.answer(PKT_FILE_HEADER, 0), payload.data(), payload.size(), true))
        return end(1, "file header not acknowledged");

    std::vector<std::uint8_t> custom;
    std::size_t offset = 0;
    for (std::uint32_t i = 0; offset < opt_.data.size(); ++i) {
        if (!timeLeft()) return end(1, "time limit");
        std::size_t length = std::min<std::size_t>(opt_.data.size() - offset, DATA_BLOCK_SIZE);
        auto header = BlockHeader::make(opt_.kind, i, static_cast<std::uint32_t>(length));
        const std::uint8_t* data = opt_.data.data() + offset;
        std::size_t sent = length;
        const int index = SERVE_FIRST_BLOCK + static_cast<int>(i);
        if (static_cast<int>(i) == f.wrongBlock) header.blockNumber = i + 1;
        if (static_cast<int>(i) == f.badLengthBlock) {
            switch (f.badLength) {
            case BadLength::Oversize:
                header.length = MAX_BLOCK_LENGTH + 1;
                header.lengthCheck = ~header.length;
                break;
            case BadLength::BadCheck: header.lengthCheck = header.length; break;
            case BadLength::Truncated: sent = length / 2; break;
            case BadLength::Custom:
                header.length = f.customLength;
                header.lengthCheck = ~f.customLength;
                // A length the PC refuses unread need not travel; a plausible one does, padded.
                sent = f.customLength <= 0x10000 ? f.customLength : 0;
                custom.assign(sent, 0);
                std::copy_n(data, std::min(sent, opt_.data.size() - offset), custom.begin());
                data = custom.data();
                length = std::min<std::size_t>(f.customLength, opt_.data.size() - offset);
                break;
            case BadLength::None: break;
            }
        }
        const auto h = header.bytes();
        if (!sendFrame(index, h.data(), h.size(), data, sent)) return end(1, "cannot write");
        if (!awaitAck()) return end(1, "block " + std::to_string(i) + " not acknowledged");
        offset += length;
        result_.blocks = i + 1;
    }
    return end(0, "region served");
}

PacketHeader ReceiverSim::ownRequest() const
{
    PacketHeader request = PacketHeader::make(PKT_REQUEST, opt_.kind);
    request.reserved = opt_.reserved;
    return request;
}

int ReceiverSim::receive()
{
    const PacketHeader request = ownRequest();

    // The PC purges its port when it opens it: repeat the request until it is acknowledged.
    LineTimeouts waiting = opt_.timeouts;
    waiting.readConstantMs = opt_.requestRepeatMs;
    waiting.readPerByteMs = 0;
    bool acknowledged = false;
    while (!acknowledged && timeLeft()) {
        line_.setTimeouts(waiting);
        const bool sent = sendPacket(RECEIVE_REQUEST, request, nullptr, 0, false);
        ++result_.requestsSent;
        opt_.faults.flipFrame = opt_.faults.flipFrame == RECEIVE_REQUEST ? -1 : opt_.faults.flipFrame;
        acknowledged = sent && link_.await_ack(1, false) == 0;
    }
    line_.setTimeouts(opt_.timeouts);
    if (!acknowledged) return end(1, "request not acknowledged");
    return receiveAfterRequest();
}

int ReceiverSim::receiveAfterRequest()
{
    const std::uint32_t selector = opt_.selector < 0 ? opt_.kind : static_cast<std::uint32_t>(opt_.selector);
    PacketHeader reply;
    if (!recvFromPc(reply, nullptr, 0, true, PKT_REPLY)) return end(1, "no reply from the PC");
    const auto id = opt_.identity.bytes();
    if (!sendPacket(RECEIVE_REPORT, reply.answer(PKT_REPORT, selector), id.data(), id.size(), true))
        return end(1, "report not acknowledged");

    PacketHeader status;
    if (!recvFromPc(status, nullptr, 0, false, PKT_STATUS)) return end(1, "no status from the PC");
    result_.pcStatus = status.param;
    if (status.param != 0) return end(2, "the PC refused");

    PacketHeader fileHeader;
    FileInfo::Bytes payload{};
    if (!recvFromPc(fileHeader, payload.data(), payload.size(), true, PKT_FILE_HEADER))
        return end(1, "no file header from the PC");
    const FileInfo info = FileInfo::fromBytes(payload.data());
    result_.fileInfo = info;
    if (info.fileSize == 0 || info.fileSize > MAX_RECEIVE) return end(1, "region size refused");
    return receiveBlocks(info);
}

int ReceiverSim::receiveBlocks(const FileInfo& info)
{
    result_.received.assign(info.fileSize, 0);
    std::size_t offset = 0;
    for (std::uint32_t i = 0; i < info.blockCount && offset < info.fileSize; ++i) {
        if (!timeLeft()) return end(1, "time limit");
        BlockHeader header;
        if (link_.recv_block(header, result_.received.data() + offset, info.fileSize - offset, false) != 0)
            return end(1, "block " + std::to_string(i) + " not received");
        if (header.blockNumber != i) return end(1, "block " + std::to_string(i) + " misnumbered");
        if (!sendAck()) return end(1, "cannot write");
        offset += header.length;
        result_.blocks = i + 1;
    }
    result_.received.resize(offset);
    return end(0, "region received");
}

// Waits up to one request period for the PC's next frame. Only the start byte is waited for
// with the short listening time-out: the rest comes with the normal ones, because the PC writes
// a frame in pieces and a stalled PC would otherwise lose its request half-read.
ReceiverSim::Heard ReceiverSim::listen(const LineTimeouts& listening, PacketHeader& h)
{
    line_.setTimeouts(listening);
    bool startSeen = false;
    for (int i = 0; i < PacketLink::START_TRIES && !stopped(); ++i) {
        std::uint8_t b = 0;
        std::size_t got = 0;
        line_.netd_read(&b, 1, got);
        if (got == 1 && b == FRAME_START) {
            startSeen = true;
            break;
        }
        // Stray bytes: the PC is talking, so do not ask it again yet.
        if (got == 1) return Heard::Noise;
    }
    if (!startSeen) return Heard::Nothing;
    line_.setTimeouts(opt_.timeouts);
    PacketHeader::Bytes bytes{};
    std::uint8_t crc[4];
    std::size_t got = 0;
    line_.netd_read(bytes.data(), bytes.size(), got);
    if (got != bytes.size()) return Heard::Noise;
    line_.netd_read(crc, sizeof crc, got);
    if (got != sizeof crc || getU32(crc) != crc32(bytes.data(), bytes.size())) return Heard::Noise;
    h = PacketHeader::fromBytes(bytes.data());
    return Heard::Frame;
}

// The receiver cannot know which transfer the PC will start: it keeps asking for a region (an
// upload answers with an acknowledgement) and listens between its requests (a download begins
// with the PC's own request). Both frames have the same size, so one read tells them apart.
int ReceiverSim::any()
{
    LineTimeouts listening = opt_.timeouts;
    listening.readConstantMs = std::max(1, opt_.requestRepeatMs / PacketLink::START_TRIES);
    listening.readPerByteMs = 0;
    const PacketHeader request = ownRequest();
    int completed = 0;
    bool quiet = true;
    while (!stopped()) {
        result_ = SimResult{};
        acksSent_ = 0;
        deadlineMs_ = nowMs() + opt_.timeLimitMs;
        // Each request the PC reads while awaiting an acknowledgement uses up one of its reads:
        // ask only after a silent period, and only with no request already waiting in its queue.
        if (quiet && (!opt_.unreadByPc || opt_.unreadByPc() == 0)) {
            line_.setTimeouts(opt_.timeouts);
            sendPacket(RECEIVE_REQUEST, request, nullptr, 0, false);
            ++result_.requestsSent;
        }
        PacketHeader h;
        const Heard heard = listen(listening, h);
        quiet = heard == Heard::Nothing;
        if (heard != Heard::Frame) continue;
        if (h.tag != PKT_ACK && h.tag != PKT_REQUEST) continue;
        line_.setTimeouts(opt_.timeouts);
        int rc = 0;
        if (h.tag == PKT_ACK) {
            rc = receiveAfterRequest();
        } else {
            result_.headers.push_back(h);
            rc = serveRequest(h);
        }
        if (rc == 0 && result_.fileInfo && result_.fileInfo->type == REGION_DATABASE) {
            opt_.data = result_.received;
            opt_.data.resize(DATABASE_REGION_SIZE, 0);
        }
        if (rc == 0) ++completed;
        if (onExchange_) onExchange_(result_);
    }
    return completed > 0 ? 0 : 1;
}

} // namespace satorix::stbsim
