// The frames and link operations on an in-memory line, and the rules for the region sent.
#include <gtest/gtest.h>

#include <numeric>

#include "link/MemoryLine.h"
#include "link/PacketLink.h"
#include "link/ReceiveSession.h"
#include "link/SendSession.h"
#include "link/TransferProcedures.h"
#include "tests/link/LinkTestSupport.h"

using namespace satorix;
using namespace satorix::link;
using namespace satorix::test;

namespace {

using Bytes = std::vector<std::uint8_t>;
Bytes bytesOf(const std::string& s) { return {s.begin(), s.end()}; }
const auto ACK = ackFrame();
const Bytes ackBytes(ACK.begin(), ACK.end());

StbIdentity receiver(std::uint32_t hardwareId)
{
    StbIdentity r = OWN_IDENTITY;
    r.hardwareId = hardwareId;
    return r;
}

struct MemoryFixture : testing::Test {
    MemoryLine line;
    ReportLog log;
    std::atomic<bool> cancel{false};
    PacketLink link{line, &cancel, log.callback()};
    void SetUp() override { line.setTimeouts(LineTimeouts{}.scaled(0)); }
    // The receiver's side of a send session's opening: its request, the reply's acknowledgement,
    // its identity report.
    void receiverOpens(std::uint32_t kind)
    {
        line.appendInput(controlFrame(PKT_REQUEST, kind));
        line.appendInput(ackBytes);
        line.appendInput(controlFrame(PKT_REPORT, kind, OWN_IDENTITY.bytes()));
    }
};

} // namespace

TEST_F(MemoryFixture, CrcTagsWholeFramesGarbageAndDamagedFrames)
{
    const auto abc = bytesOf("abc");
    EXPECT_EQ((std::vector{crc32(abc.data(), 3), crc32(abc.data(), 0)}), (std::vector{0x352441C2u, 0u}));
    const auto all = bytesOf("header bytes and then the payload");
    EXPECT_EQ(crc32_2(all.data(), 12, all.data() + 12, all.size() - 12), crc32(all.data(), all.size()));
    EXPECT_EQ(ackBytes, (Bytes{0x02, 'Z', 'K', 'C', 'A', 0x00, 0x02, 0, 0,    0,    0,    0,   0,
                               0,    0,   0,   0,   0,   0,    0,    0, 0xA0, 0xF5, 0x6C, 0x48}));

    std::string tags;
    for (auto tag : {PKT_REQUEST, PKT_REPLY, PKT_REPORT, PKT_STATUS, PKT_FILE_HEADER, PKT_FILE_DATA, PKT_ACK}) {
        const auto h = PacketHeader::make(tag, 0).bytes();
        tags.append(h.begin(), h.begin() + 4);
    }
    EXPECT_EQ(tags, "ZQERZYRQZTPRZATSZDHFZTDFZKCA");
    const auto own = OWN_IDENTITY.bytes();
    EXPECT_EQ(Bytes(own.begin(), own.begin() + 24),
              (Bytes{1, 1, 1, 3, 3, 0, 3, 0, 8, 0, 0x80, 0, 1, 0, 1, 0, 'Z', 'Q', 'V', '-', '5', '1', '2', '0'}));

    PacketHeader h = PacketHeader::make(PKT_REPORT, 4);
    h.reserved = {0x01020304, 0xA0B0C0D0};
    ASSERT_EQ(link.send_packet(h, own.data(), own.size(), false), 0);
    EXPECT_EQ(line.output(), frame(h, own));
    EXPECT_EQ(line.output().size(), 1u + 20 + 32 + 4);

    line.clearOutput();
    const auto bh = BlockHeader::make(4, 7, 3);
    ASSERT_EQ(link.send_block(bh, bytesOf("xyz").data(), false), 0);
    EXPECT_EQ(line.output(), frame(bh, bytesOf("xyz")));

    const auto good = controlFrame(PKT_REPLY, 4);
    auto bad = good;
    bad[3] ^= 0x10;
    // The receive result after `count` copies of `before`: up to 24 bytes of garbage are skipped,
    // and a damaged frame costs one of ten attempts, resynchronising on the next start byte.
    const auto received = [&](const Bytes& before, int count) {
        MemoryLine in;
        for (int i = 0; i < count; ++i) in.appendInput(before);
        in.appendInput(good);
        PacketHeader h;
        return PacketLink(in).recv_packet(h, nullptr, 0, false);
    };
    EXPECT_EQ((std::vector{received({0x55}, 24), received({0x55}, 25), received(bad, 9), received(bad, 10)}),
              (std::vector{0, 1, 0, 1}));
}

TEST_F(MemoryFixture, AcknowledgementFaultsPostTraces)
{
    line.setTimeouts({0, 0, 0, 0, 0, 30, 0}); // no waits but the trace pause
    Bytes noStart(25);
    std::iota(noStart.begin(), noStart.end(), 0x15);
    line.appendInput(noStart);
    line.appendInput(controlFrame(PKT_REPLY, 0)); // a wrong tag
    auto badCrc = controlFrame(PKT_ACK, 0);
    badCrc[24] ^= 1;
    line.appendInput(badCrc);
    line.appendInput({0x02, 'Z'});

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(link.send_packet(PacketHeader::make(PKT_REQUEST, 4), nullptr, 0, true), 1);
    EXPECT_TRUE(secondsSince(start) >= 7 * 0.030 && secondsSince(start) < 2.0) << secondsSince(start);
    EXPECT_EQ(log.valuesOf(REPORT_TRACE), (std::vector<std::uint32_t>{0x15, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B, 0x11,
                                                                      0x10, 0x13, 0x13, 0x13, 0x13, 0x13, 0x13, 0x13}));

    MemoryLine okLine;
    okLine.appendInput(controlFrame(PKT_ACK, 99)); // param and reserved words are not checked
    EXPECT_EQ(PacketLink(okLine).send_packet(PacketHeader::make(PKT_REQUEST, 4), nullptr, 0, true), 0);
}

TEST_F(MemoryFixture, BlockLengthsAreCheckedBeforeAnythingIsStored)
{
    Bytes buffer(64, 0xEE);
    BlockHeader got;
    // The result and the bytes written back (an acknowledgement or nothing).
    const auto receive = [&](BlockHeader h, std::size_t dataBytes) {
        MemoryLine in;
        in.appendInput(frame(h, Bytes(dataBytes, 0xAB)));
        const int r = PacketLink(in, nullptr, log.callback()).recv_block(got, buffer.data(), 32, true);
        return std::pair(r, in.output().size());
    };
    EXPECT_EQ(receive(BlockHeader::make(4, 0, 0x800000), 16).first, 1);
    EXPECT_EQ(log.valuesOf(REPORT_TRACE), (std::vector<std::uint32_t>{0x80, 0x81, 0x82, 0x83}));
    auto badCheck = BlockHeader::make(4, 0, 16);
    badCheck.lengthCheck = 16;
    EXPECT_EQ(receive(badCheck, 16).first, 1);

    // Valid on the wire but longer than the room left: refused unread, nothing written, never acknowledged.
    EXPECT_EQ(receive(BlockHeader::make(4, 0, 33), 33), std::pair(PacketLink::BLOCK_TOO_LONG, std::size_t{0}));
    EXPECT_EQ(buffer, Bytes(64, 0xEE));
    EXPECT_EQ(receive(BlockHeader::make(4, 9, 32), 32), std::pair(0, ACK_FRAME_SIZE));
    EXPECT_EQ((std::tuple{got.blockNumber, buffer[31], buffer[32]}),
              (std::tuple<std::uint32_t, std::uint8_t, std::uint8_t>{9, 0xAB, 0xEE}));
}

TEST_F(MemoryFixture, CancelStopsWaiting)
{
    line.appendInput(Bytes(10, 0x55));
    cancel = true;
    EXPECT_EQ(link.wait_start(), 1);
    EXPECT_EQ(line.remainingInput(), 9u);
    Bytes buf(0x100400);
    EXPECT_EQ(ReceiveSession(link, 4, buf.data(), buf.size()).run(), 1);
    EXPECT_EQ(log.closing(), (TransferReport{REPORT_CANCELLED, 1}));
    EXPECT_TRUE(line.output().empty());
}

// A whole send session against scripted receiver frames: what goes out, block by block.
TEST_F(MemoryFixture, LargestSoftwareRegionEndsWithAShortBlock)
{
    receiverOpens(1);
    // Far shorter than the region: padded with zeros.
    Bytes data(100, 0x42);
    for (int i = 0; i < 1 + 2048; ++i) line.appendInput(ackBytes); // file header and blocks
    SendSession session(link, 1, data.data(), data.size(), OWN_IDENTITY);
    ASSERT_EQ(session.run(), 0);
    EXPECT_EQ(session.fileInfo(), (FileInfo{1, 0x00690000, 0x7FFFFF, 2048, {}}));
    EXPECT_EQ(log.closing(), (TransferReport{REPORT_UPLOAD_DONE, 0}));

    // The last frame on the line is block 2047 of 4,095 zeros.
    const auto last = frame(BlockHeader::make(1, 2047, 4095), Bytes(4095, 0));
    ASSERT_GT(line.output().size(), last.size());
    EXPECT_EQ(Bytes(line.output().end() - static_cast<long>(last.size()), line.output().end()), last);
    const auto progress = log.valuesOf(REPORT_PROGRESS);
    ASSERT_EQ(progress.size(), 2049u);
    EXPECT_EQ((std::pair{progress[0], progress[2047]}), std::pair(progressValue(0, 100), progressValue(100, 100)));
}

// The status write fails: a line that goes dead after the reply-side frames.
TEST_F(MemoryFixture, AcceptingStatusNotSent)
{
    receiverOpens(4);
    line.failWritesAfter(5); // request acknowledgement (1 write), reply (3), report acknowledgement (1)
    Bytes data(0x100000, 0);
    EXPECT_EQ(SendSession(link, 4, data.data(), data.size(), OWN_IDENTITY).run(), 1);
    EXPECT_EQ(log.closing(), (TransferReport{REPORT_TIMEOUT, 8}));
}

TEST(RegionRules, IdentityRulesPreparedRegionsAndSoftwareLengths)
{
    const StbIdentity c = OWN_IDENTITY, otherHw = receiver(0x03010201), bit31 = receiver(0x83010101);
    const StbIdentity any = receiver(0x83010201);
    StbIdentity otherModel = c, otherWord2 = c;
    otherModel.model[7] = '1';
    otherWord2.compatWord2 = 1;
    // Only region type 1 is checked. Selector 6 refuses any identity with bit 31 set, wildcard or not.
    EXPECT_EQ((std::vector{identityCompatible(4, 99, receiver(0x12345678), c), identityCompatible(3, 0, otherModel, c),
                           identityCompatible(1, 8, c, c), identityCompatible(1, 0, otherModel, c),
                           identityCompatible(1, 1, otherModel, c), identityCompatible(1, 3, otherWord2, c),
                           identityCompatible(1, 2, otherHw, c), identityCompatible(1, 4, otherHw, c),
                           identityCompatible(1, 7, otherWord2, c), identityCompatible(1, 6, c, c),
                           identityCompatible(1, 6, bit31, c), identityCompatible(1, 6, c, bit31)}),
              (std::vector{true, true, false, false, true, false, false, true, true, true, false, false}));
    for (std::uint32_t wildcard : {0x7FFFFFFFu, 0x7F7FFFFFu, 0x7F7F7F7Fu})
        for (std::uint32_t selector = 0; selector <= 7; ++selector)
            EXPECT_TRUE(identityCompatible(1, selector, receiver(wildcard), otherModel)) << selector;

    ReportLog log;
    // Type 0: refused; a wildcard has no row.
    for (const auto& [kind, selector, r, cur, expected] :
         {std::tuple{4u, 4u, receiver(0x7FFFFFFF), c, FileInfo{}},
          {4, 0, receiver(0x03010101), c, {4, 0x006A0000, 0x100000, 256, {}}},
          {3, 9, receiver(0x83010101), receiver(0x03010155), {3, 0x00690000, 0x600000, 0x600, {}}},
          {3, 0, receiver(0x03010101), receiver(0x03010201), {}},
          {1, 0, any, any, {1, 0x00690000, 0x7FFFFF, 2048, {}}},
          {1, 1, any, any, {1, 0x00690000, 0x7FFFFF, 2048, {}}},
          {1, 2, any, any, {2, 0x00690000, 0x77FFFF, 1920, {}}},
          {1, 3, any, any, {3, 0x00690000, 0x600000, 1536, {}}},
          {1, 4, any, any, {4, 0x006A0000, 0x100000, 256, {}}},
          {1, 5, c, c, {}},
          {6, 0, c, c, {6, 0x00690000, 0x600000, 1536, {}}},
          {1, 0, otherModel, c, {}},
          {1, 2, otherModel, c, {}}}) {
        FileInfo info;
        const bool prepared = prepareRegion(kind, selector, r, cur, info, log.callback());
        EXPECT_EQ(prepared ? info : FileInfo{}, expected) << kind << " " << selector;
    }
    EXPECT_EQ(log.valuesOf(REPORT_TRACE), (std::vector<std::uint32_t>{0x32, 0x21, 0x22}));

    // The software file's length chooses the region.
    for (const auto [length, type, sizeClass] :
         {std::array<std::uint32_t, 3>{1048575, 4, 0}, {1048576, 3, 1}, {7340031, 3, 1}, {7340032, 1, 2}}) {
        std::uint32_t cls = 9;
        EXPECT_EQ(upgradeRegionType(length, &cls), type) << length;
        EXPECT_EQ(cls, sizeClass) << length;
    }
    EXPECT_EQ((std::array{receiveLimit(5), receiveLimit(7), receiveLimit(2)}),
              (std::array<std::uint32_t, 3>{0, 0, 0x720000}));
}
