#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "link/Line.h"
#include "link/PacketLink.h"
#include "link/StbIdentity.h"

namespace satorix::stbsim {

using link::FileInfo;
using link::PacketHeader;
using link::StbIdentity;

enum class SimMode {
    Serve,   // the receiver sends a region: the PC downloads
    Receive, // the receiver asks for a region: the PC uploads or upgrades
    Any      // whichever the PC starts, again and again until stopped
};

enum class BadLength {
    None,
    Oversize,  // header length 0x800000 (complement correct)
    BadCheck,  // length check not the complement
    Truncated, // header as usual, half of the data missing
    Custom,    // header length customLength (complement correct); data padded with zeros
};

// Packets the simulator sends, numbered for fault injection.
constexpr int SERVE_REPLY = 0, SERVE_STATUS = 1, SERVE_FILE_HEADER = 2, SERVE_FIRST_BLOCK = 3;
constexpr int RECEIVE_REQUEST = 0, RECEIVE_REPORT = 1;
// Acknowledgements the simulator sends, numbered the same way.
constexpr int ACK_OF_REQUEST = 0, ACK_OF_REPORT = 1;                            // serve
constexpr int ACK_OF_REPLY = 0, ACK_OF_FILE_HEADER = 1, ACK_OF_FIRST_BLOCK = 2; // receive

struct SimFaults {
    int flipFrame = -1; // packet sent once with one bit flipped
    int flipBit = 40;   // bit offset in that frame (40: inside the header's tag)
    int skipFrame = -1; // packet never sent
    int garbageFrame = -1;
    int garbageBytes = 0; // bytes (never a start byte) written before that packet
    int stallFrame = -1;
    int stallMs = 0;
    int stallAfter = 0;       // bytes of that packet written before the pause
    int dropAck = -1;         // acknowledgement never sent
    int flipAck = -1;         // acknowledgement sent with a bit of its CRC flipped
    std::uint32_t status = 0; // status param of a served region; non-zero refuses
    int wrongBlock = -1;      // block sent with the following block's number
    int badLengthBlock = -1;
    BadLength badLength = BadLength::None;
    std::uint32_t customLength = 0;
    std::optional<FileInfo> fileInfo; // replaces the served file header's payload
};

struct SimOptions {
    SimMode mode = SimMode::Serve;
    std::uint32_t kind = 4;                    // region served or requested
    std::vector<std::uint8_t> data;            // the served region
    StbIdentity identity = link::OWN_IDENTITY; // reported when receiving
    std::int64_t selector = -1;                // param of that report; -1: the kind
    std::array<std::uint32_t, 2> reserved{};   // reserved words of the request, or of the reply when set
    int requestRepeatMs = 300;
    int timeLimitMs = 60000;
    link::LineTimeouts timeouts;
    SimFaults faults;
    // Any: bytes the PC has not read yet, so that unanswered requests never pile up in its queue.
    std::function<std::size_t()> unreadByPc;
};

struct SimResult {
    int rc = -1; // 0 when the exchange went through to its end
    std::string outcome;
    std::vector<PacketHeader> headers; // every control packet from the PC, in order
    std::optional<StbIdentity> pcIdentity;
    std::optional<std::uint32_t> pcStatus;
    std::optional<FileInfo> fileInfo; // the PC's file header
    std::vector<std::uint8_t> received;
    std::uint32_t blocks = 0;
    int requestsSent = 0;
};

// Any: called after every exchange, whatever its end.
using ExchangeCallback = std::function<void(const SimResult&)>;

// The receiver's end of the cable, played with the same link operations as the PC's sessions.
class ReceiverSim {
public:
    // Largest region the simulator accepts from the PC.
    static constexpr std::uint32_t MAX_RECEIVE = 0x800000;

    ReceiverSim(link::Line& line, SimOptions options, const std::atomic<bool>* stop = nullptr);
    // Serve and Receive: one exchange. Any: exchanges until stopped; a database region received
    // from the PC is what later downloads serve, as a receiver would store it.
    int run();
    void setExchangeCallback(ExchangeCallback callback) { onExchange_ = std::move(callback); }
    const SimResult& result() const { return result_; }
    // The region a download gets now.
    const std::vector<std::uint8_t>& servedData() const { return opt_.data; }

private:
    int serve();
    int serveRequest(const PacketHeader& request);
    int receive();
    int receiveAfterRequest();
    int any();
    enum class Heard { Nothing, Noise, Frame };
    Heard listen(const link::LineTimeouts& listening, PacketHeader& h);
    PacketHeader ownRequest() const;
    int serveBlocks(const PacketHeader& report);
    int receiveBlocks(const FileInfo& info);
    bool recvFromPc(PacketHeader& h, std::uint8_t* payload, std::size_t length, bool ack, std::uint32_t tag);
    bool sendFrame(int index, const std::uint8_t* header, std::size_t headerSize, const std::uint8_t* payload,
                   std::size_t payloadLength);
    bool sendPacket(int index, const PacketHeader& h, const std::uint8_t* payload, std::size_t length, bool wantAck);
    bool sendAck();
    bool awaitAck();
    bool timeLeft() const;
    bool stopped() const { return stop_ && stop_->load(); }
    int end(int rc, std::string outcome);

    link::Line& line_;
    SimOptions opt_;
    const std::atomic<bool>* stop_;
    link::PacketLink link_;
    SimResult result_;
    ExchangeCallback onExchange_;
    int acksSent_ = 0;
    long long deadlineMs_ = 0;
};

} // namespace satorix::stbsim
