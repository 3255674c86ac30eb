#include "link/PacketLink.h"

#include <chrono>
#include <thread>
#include <utility>

#include "link/Crc32.h"

namespace satorix::link {

PacketLink::PacketLink(Line& line, const std::atomic<bool>* cancel, ReportCallback report)
    : line_(line), cancel_(cancel), report_(std::move(report))
{
}

void PacketLink::post(int code, std::uint32_t value) const
{
    if (report_) report_({code, value});
}

bool PacketLink::readExactly(std::uint8_t* buffer, std::size_t count)
{
    std::size_t got = 0;
    line_.netd_read(buffer, count, got);
    return got == count;
}

bool PacketLink::writeAll(const std::uint8_t* buffer, std::size_t count)
{
    std::size_t written = 0;
    return line_.netd_write(buffer, count, written) == 0 && written == count;
}

int PacketLink::wait_start()
{
    heardNothing_ = true;
    for (int i = 0; i < START_TRIES; ++i) {
        std::uint8_t b = 0;
        const bool got = readExactly(&b, 1);
        if (cancelRequested()) return 1;
        if (got) heardNothing_ = false;
        if (got && b == FRAME_START) return START_FOUND;
    }
    return START_NOT_FOUND;
}

bool PacketLink::writeFrame(const std::uint8_t* header, std::size_t headerSize, const std::uint8_t* payload,
                            std::size_t payloadLength)
{
    const std::uint8_t start = FRAME_START;
    if (!writeAll(&start, 1) || !writeAll(header, headerSize)) return false;
    if (payload && payloadLength && !writeAll(payload, payloadLength)) return false;
    std::uint8_t crc[4];
    putU32(crc, crc32_2(header, headerSize, payload, payload ? payloadLength : 0));
    return writeAll(crc, sizeof crc);
}

int PacketLink::await_ack(int maxReads, bool verbose)
{
    std::uint8_t ack[ACK_FRAME_SIZE];
    for (int i = 0; i < maxReads; ++i) {
        std::size_t got = 0;
        line_.netd_read(ack, sizeof ack, got);
        if (verbose && cancelRequested()) return 1;
        if (got < sizeof ack) {
            if (verbose) post(REPORT_TRACE, 0x13);
            continue;
        }
        if (ack[0] != FRAME_START) {
            if (verbose) {
                for (int k = 0; k < 7; ++k) {
                    post(REPORT_TRACE, ack[k]);
                    std::this_thread::sleep_for(std::chrono::milliseconds(line_.timeouts().tracePauseMs));
                }
            }
            continue;
        }
        if (getU32(ack + 1) != PKT_ACK) {
            if (verbose) post(REPORT_TRACE, 0x11);
            continue;
        }
        if (crc32(ack + 1, PACKET_HEADER_SIZE) != getU32(ack + 1 + PACKET_HEADER_SIZE)) {
            if (verbose) post(REPORT_TRACE, 0x10);
            continue;
        }
        return 0;
    }
    return 1;
}

int PacketLink::send_ack()
{
    static const auto frame = ackFrame();
    for (int i = 0; i < ATTEMPTS; ++i) {
        const bool written = writeAll(frame.data(), frame.size());
        if (cancelRequested()) return 1;
        if (written) return 0;
    }
    return 1;
}

int PacketLink::send_packet(const PacketHeader& header, const std::uint8_t* payload, std::size_t payloadLength,
                            bool wantAck)
{
    const auto h = header.bytes();
    int attempt = 0;
    while (!writeFrame(h.data(), h.size(), payload, payloadLength))
        if (++attempt == ATTEMPTS) return 1;
    return wantAck ? await_ack(ACK_READS, true) : 0;
}

int PacketLink::send_block(const BlockHeader& header, const std::uint8_t* data, bool wantAck)
{
    const auto h = header.bytes();
    int attempt = 0;
    while (!writeFrame(h.data(), h.size(), data, header.length))
        if (++attempt == ATTEMPTS) return 1;
    return wantAck ? await_ack(ACK_READS, false) : 0;
}

int PacketLink::send_status(std::uint32_t status)
{
    return send_packet(PacketHeader::make(PKT_STATUS, status), nullptr, 0, false);
}

int PacketLink::recv_packet(PacketHeader& header, std::uint8_t* payload, std::size_t payloadLength, bool sendAck)
{
    const std::size_t expected = payload ? payloadLength : 0;
    PacketHeader::Bytes h{};
    for (int attempt = 0;;) {
        if (wait_start() != START_FOUND) return 1;
        bool ok = readExactly(h.data(), h.size());
        if (ok && expected) ok = readExactly(payload, expected);
        std::uint8_t crc[4];
        if (ok) ok = readExactly(crc, sizeof crc) && getU32(crc) == crc32_2(h.data(), h.size(), payload, expected);
        if (ok) break;
        if (cancelRequested() || ++attempt == ATTEMPTS) return 1;
    }
    header = PacketHeader::fromBytes(h.data());
    return sendAck ? send_ack() : 0;
}

int PacketLink::recv_block(BlockHeader& header, std::uint8_t* data, std::size_t capacity, bool sendAck)
{
    BlockHeader::Bytes h{};
    bool ok = false;
    bool corrupt = false; // a whole frame arrived and was wrong, rather than the line going quiet
    for (int attempt = 0; attempt < ATTEMPTS && !ok; ++attempt) {
        if (const int start = wait_start(); start != START_FOUND)
            return start == START_NOT_FOUND && heardNothing_ && !corrupt ? LINE_SILENT : 1;
        post(REPORT_TRACE, 0x80);
        if (!readExactly(h.data(), h.size()) || getU32(h.data()) != PKT_FILE_DATA) {
            corrupt = corrupt || getU32(h.data()) != PKT_FILE_DATA;
            post(REPORT_TRACE, 0x85);
            continue;
        }
        post(REPORT_TRACE, 0x81);
        header = BlockHeader::fromBytes(h.data());
        if (!header.lengthValid()) {
            corrupt = true;
            post(REPORT_TRACE, 0x82);
            post(REPORT_TRACE, 0x83);
            continue;
        }
        // The length comes from the line: never let it reach past the caller's buffer.
        if (header.length > capacity) return BLOCK_TOO_LONG;
        if (!readExactly(data, header.length)) {
            post(REPORT_TRACE, 0x83);
            continue;
        }
        std::uint8_t crc[4];
        if (!readExactly(crc, sizeof crc)) continue;
        ok = getU32(crc) == crc32_2(h.data(), h.size(), data, header.length);
        corrupt = corrupt || !ok;
    }
    post(REPORT_TRACE, 0x81);
    if (!ok) return 1;
    if (!sendAck) return 0;
    post(REPORT_TRACE, 0x82);
    return send_ack();
}

} // namespace satorix::link
