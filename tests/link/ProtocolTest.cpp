// The frames and link operations, on an in-memory line.
#include <gtest/gtest.h>

#include <cstring>
#include <numeric>

#include "link/Crc32.h"
#include "link/MemoryLine.h"
#include "link/PacketLink.h"
#include "link/ReceiveSession.h"
#include "link/SendSession.h"
#include "tests/link/LinkTestSupport.h"

using namespace satorix;
using namespace satorix::link;
using namespace satorix::test;

namespace {

std::vector<std::uint8_t> bytesOf(const std::string& s) { return {s.begin(), s.end()}; }

struct MemoryFixture : testing::Test {
    MemoryLine line;
    ReportLog log;
    std::atomic<bool> cancel{false};
    PacketLink link{line, &cancel, log.callback()};
    void SetUp() override { line.setTimeouts(LineTimeouts{}.scaled(0)); }
};

} // namespace

TEST(Frames, CrcAndAcknowledgementBytes)
{
    const auto abc = bytesOf("abc");
    EXPECT_EQ((std::vector{crc32(abc.data(), 3), crc32(abc.data(), 0)}), (std::vector{0x352441C2u, 0u}));
    const auto all = bytesOf("header bytes and then the payload");
    EXPECT_EQ(crc32_2(all.data(), 12, all.data() + 12, all.size() - 12), crc32(all.data(), all.size()));

    const std::vector<std::uint8_t> expected = {0x02, 'Z', 'K', 'C', 'A', 0x00, 0x02, 0x00, 0x00, 0,    0,    0,   0,
                                                0,    0,   0,   0,   0,   0,    0,    0,    0xA0, 0xF5, 0x6C, 0x48};
    const auto ack = ackFrame();
    EXPECT_EQ(std::vector<std::uint8_t>(ack.begin(), ack.end()), expected);

    const std::pair<std::uint32_t, const char*> tags[] = {
        {PKT_REQUEST, "ZQER"},     {PKT_REPLY, "ZYRQ"},     {PKT_REPORT, "ZTPR"}, {PKT_STATUS, "ZATS"},
        {PKT_FILE_HEADER, "ZDHF"}, {PKT_FILE_DATA, "ZTDF"}, {PKT_ACK, "ZKCA"}};
    for (const auto& [tag, text] : tags) {
        const auto h = PacketHeader::make(tag, 0).bytes();
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(h.data()), 4), text);
    }
    const auto own = OWN_IDENTITY.bytes();
    const std::vector<std::uint8_t> ownStart = {1, 1, 1, 3, 3, 0, 3, 0, 8, 0, 0x80, 0, 1, 0, 1, 0};
    EXPECT_TRUE(std::equal(ownStart.begin(), ownStart.end(), own.begin()));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(own.data() + 16), 8), "ZQV-5120");
}

TEST_F(MemoryFixture, SentFrameIsHeaderPayloadAndTheirCrc)
{
    const auto payload = OWN_IDENTITY.bytes();
    PacketHeader h = PacketHeader::make(PKT_REPORT, 4);
    h.reserved = {0x01020304, 0xA0B0C0D0};
    ASSERT_EQ(link.send_packet(h, payload.data(), payload.size(), false), 0);
    const auto hb = h.bytes();
    EXPECT_EQ(line.output(), frame(hb.data(), hb.size(), payload.data(), payload.size()));
    EXPECT_EQ(line.output().size(), 1u + 20 + 32 + 4);

    line.clearOutput();
    const auto bh = BlockHeader::make(4, 7, 3);
    const auto data = bytesOf("xyz");
    ASSERT_EQ(link.send_block(bh, data.data(), false), 0);
    const auto bb = bh.bytes();
    EXPECT_EQ(line.output(), frame(bb.data(), bb.size(), data.data(), 3));
    EXPECT_EQ(BlockHeader::fromBytes(bb.data()).lengthCheck, ~3u);
}

TEST_F(MemoryFixture, GarbageBeforeAStartByteAndDamagedFrames)
{
    const auto good = controlFrame(PKT_REPLY, 4);
    line.appendInput(std::vector<std::uint8_t>(24, 0x55));
    line.appendInput(good);
    PacketHeader h;
    EXPECT_EQ(link.recv_packet(h, nullptr, 0, false), 0) << "24 bytes of garbage are skipped";

    line.appendInput(std::vector<std::uint8_t>(25, 0x55));
    line.appendInput(good);
    EXPECT_EQ(link.recv_packet(h, nullptr, 0, false), 1) << "25 bytes of garbage end the wait";

    // A damaged frame costs one of ten attempts; the receiver resynchronises on the next start byte.
    auto bad = good;
    bad[3] ^= 0x10;
    MemoryLine nine, ten;
    for (int i = 0; i < 9; ++i) nine.appendInput(bad);
    nine.appendInput(good);
    for (int i = 0; i < 10; ++i) ten.appendInput(bad);
    ten.appendInput(good);
    EXPECT_EQ(PacketLink(nine).recv_packet(h, nullptr, 0, false), 0);
    EXPECT_EQ(PacketLink(ten).recv_packet(h, nullptr, 0, false), 1);
}

TEST_F(MemoryFixture, AcknowledgementFaultsPostTraces)
{
    LineTimeouts t = LineTimeouts{}.scaled(0);
    t.tracePauseMs = 30;
    line.setTimeouts(t);
    std::vector<std::uint8_t> noStart(25);
    std::iota(noStart.begin(), noStart.end(), 0x15);
    line.appendInput(noStart);
    line.appendInput(controlFrame(PKT_REPLY, 0)); // a wrong tag
    auto badCrc = controlFrame(PKT_ACK, 0);
    badCrc[24] ^= 1;
    line.appendInput(badCrc);
    line.appendInput({0x02, 'Z'});

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(link.send_packet(PacketHeader::make(PKT_REQUEST, 4), nullptr, 0, true), 1);
    EXPECT_GE(secondsSince(start), 7 * 0.030);
    EXPECT_LT(secondsSince(start), 2.0);
    EXPECT_EQ(log.valuesOf(REPORT_TRACE), (std::vector<std::uint32_t>{0x15, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B, 0x11,
                                                                      0x10, 0x13, 0x13, 0x13, 0x13, 0x13, 0x13, 0x13}));

    MemoryLine okLine;
    okLine.appendInput(controlFrame(PKT_ACK, 99)); // param and reserved words are not checked
    EXPECT_EQ(PacketLink(okLine).send_packet(PacketHeader::make(PKT_REQUEST, 4), nullptr, 0, true), 0);
}

TEST_F(MemoryFixture, BlockLengthsAreCheckedBeforeAnythingIsStored)
{
    std::vector<std::uint8_t> buffer(64, 0xEE);
    BlockHeader got;
    // The result and the bytes written back (an acknowledgement or nothing).
    const auto receive = [&](BlockHeader h, std::size_t dataBytes) {
        MemoryLine in;
        in.setTimeouts(LineTimeouts{}.scaled(0));
        const auto hb = h.bytes();
        const std::vector<std::uint8_t> data(dataBytes, 0xAB);
        in.appendInput(frame(hb.data(), hb.size(), data.data(), data.size()));
        const int r = PacketLink(in, nullptr, log.callback()).recv_block(got, buffer.data(), 32, true);
        return std::pair(r, in.output().size());
    };
    EXPECT_EQ(receive(BlockHeader::make(4, 0, 0x800000), 16).first, 1);
    const auto traces = log.valuesOf(REPORT_TRACE);
    ASSERT_GE(traces.size(), 4u);
    EXPECT_EQ(std::vector<std::uint32_t>(traces.begin(), traces.begin() + 4),
              (std::vector<std::uint32_t>{0x80, 0x81, 0x82, 0x83}));
    auto badCheck = BlockHeader::make(4, 0, 16);
    badCheck.lengthCheck = 16;
    EXPECT_EQ(receive(badCheck, 16).first, 1);

    // Valid on the wire but longer than the room left: refused unread, nothing written, never acknowledged.
    EXPECT_EQ(receive(BlockHeader::make(4, 0, 33), 33), std::pair(PacketLink::BLOCK_TOO_LONG, std::size_t{0}));
    EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](std::uint8_t b) { return b == 0xEE; }));
    EXPECT_EQ(receive(BlockHeader::make(4, 9, 32), 32), std::pair(0, ACK_FRAME_SIZE));
    EXPECT_EQ(got.blockNumber, 9u);
    EXPECT_EQ((std::vector{buffer[31], buffer[32]}), (std::vector<std::uint8_t>{0xAB, 0xEE}));
}

TEST_F(MemoryFixture, CancelStopsWaiting)
{
    line.appendInput(std::vector<std::uint8_t>(10, 0x55));
    cancel = true;
    EXPECT_EQ(link.wait_start(), 1);
    EXPECT_EQ(line.remainingInput(), 9u);
    std::vector<std::uint8_t> buf(0x100400);
    EXPECT_EQ(ReceiveSession(link, 4, buf.data(), buf.size()).run(), 1);
    EXPECT_EQ(log.closing(), (TransferReport{REPORT_CANCELLED, 1}));
    EXPECT_TRUE(line.output().empty());
}

// A whole send session against scripted receiver frames: what goes out, block by block.
TEST(SendSessionScript, LargestSoftwareRegionEndsWithAShortBlock)
{
    MemoryLine line;
    line.setTimeouts(LineTimeouts{}.scaled(0));
    const auto ack = ackFrame();
    const std::vector<std::uint8_t> ackBytes(ack.begin(), ack.end());
    line.appendInput(controlFrame(PKT_REQUEST, 1));
    line.appendInput(ackBytes); // reply
    const auto id = OWN_IDENTITY.bytes();
    line.appendInput(controlFrame(PKT_REPORT, 1, id.data(), id.size()));
    line.appendInput(ackBytes); // file header
    for (int i = 0; i < 2048; ++i) line.appendInput(ackBytes);

    ReportLog log;
    PacketLink link(line, nullptr, log.callback());
    std::vector<std::uint8_t> data(100, 0x42); // far shorter than the region: padded with zeros
    SendSession session(link, 1, data.data(), data.size(), OWN_IDENTITY);
    ASSERT_EQ(session.run(), 0);
    EXPECT_EQ((std::vector{session.fileInfo().fileSize, session.fileInfo().blockCount, session.fileInfo().type}),
              (std::vector<std::uint32_t>{0x7FFFFF, 2048, 1}));
    EXPECT_EQ(log.closing(), (TransferReport{REPORT_UPLOAD_DONE, 0}));

    // The last frame on the line is block 2047 of 4,095 bytes.
    const auto& out = line.output();
    const std::size_t last = out.size() - (1 + 32 + 4095 + 4);
    ASSERT_EQ(out[last], FRAME_START);
    const auto h = BlockHeader::fromBytes(out.data() + last + 1);
    EXPECT_EQ((std::vector{h.blockNumber, h.length, h.kind}), (std::vector<std::uint32_t>{2047, 4095, 1}));
    const auto progress = log.valuesOf(REPORT_PROGRESS);
    ASSERT_EQ(progress.size(), 2049u);
    EXPECT_EQ((std::vector{progress[0], progress[2047]}),
              (std::vector{progressValue(0, 100), progressValue(100, 100)}));
}
