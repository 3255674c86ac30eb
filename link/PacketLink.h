#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "link/Line.h"
#include "link/Packets.h"
#include "link/TransferReport.h"

namespace satorix::link {

// The link operations over one line: framed, CRC-checked packets and data blocks, each with a
// bounded number of attempts. 0 is success, anything else failure; nothing is shown to the user,
// only trace reports are posted. Used by both ends: the sessions and the receiver simulator.
class PacketLink {
public:
    static constexpr int ATTEMPTS = 10;
    static constexpr int ACK_READS = 10;
    static constexpr int START_TRIES = 25;
    static constexpr int START_FOUND = 2;
    static constexpr int START_NOT_FOUND = -1;
    // recv_block: a block longer than the space left for it; nothing was stored.
    static constexpr int BLOCK_TOO_LONG = 2;
    // recv_block: not a byte arrived while it waited for a block (the receiver stalled or went away).
    static constexpr int LINE_SILENT = 3;

    PacketLink(Line& line, const std::atomic<bool>* cancel = nullptr, ReportCallback report = {});

    Line& line() { return line_; }
    bool cancelRequested() const { return cancel_ && cancel_->load(); }
    void post(int code, std::uint32_t value) const;

    // START_FOUND, START_NOT_FOUND after 25 reads without a start byte, or 1 when cancelled.
    int wait_start();
    int send_packet(const PacketHeader& header, const std::uint8_t* payload, std::size_t payloadLength, bool wantAck);
    int recv_packet(PacketHeader& header, std::uint8_t* payload, std::size_t payloadLength, bool sendAck);
    int send_block(const BlockHeader& header, const std::uint8_t* data, bool wantAck);
    // capacity: room at data; a longer block is never stored and gives BLOCK_TOO_LONG.
    int recv_block(BlockHeader& header, std::uint8_t* data, std::size_t capacity, bool sendAck);
    int send_status(std::uint32_t status);

    // Up to maxReads reads of one acknowledgement. verbose: send_packet's way, with trace
    // reports, pauses and cancel polling; otherwise send_block's silent way.
    int await_ack(int maxReads, bool verbose);
    // Writes the acknowledgement frame, up to ten times.
    int send_ack();

private:
    bool readExactly(std::uint8_t* buffer, std::size_t count);
    bool writeAll(const std::uint8_t* buffer, std::size_t count);
    bool writeFrame(const std::uint8_t* header, std::size_t headerSize, const std::uint8_t* payload,
                    std::size_t payloadLength);

    Line& line_;
    const std::atomic<bool>* cancel_;
    ReportCallback report_;
    bool heardNothing_ = false; // the last wait_start read no byte at all
};

} // namespace satorix::link
