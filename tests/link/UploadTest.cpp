// Uploads and software upgrades over a pseudo-terminal against the simulated receiver.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <sys/stat.h>

#include "db/SampleGenerator.h"
#include "link/MemoryLine.h"
#include "link/PacketLink.h"
#include "link/SendSession.h"
#include "tests/link/LinkTestSupport.h"
#include "tests/support/TempDir.h"

// Each table row names only the fault it sets.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

using namespace satorix;
using namespace satorix::link;
using namespace satorix::stbsim;
using namespace satorix::test;

namespace {

SimOptions receiving(const LineTimeouts& timeouts, std::uint32_t kind = 4)
{
    SimOptions o = simOptions(SimMode::Receive, timeouts);
    o.kind = kind;
    return o;
}

struct Transfer : WorkerRun {
    TempDir dir;
    // The software file the upgrade sends: a 24-byte identity, the rest of the 64-byte header,
    // then random data.
    std::string software(std::size_t length, const StbIdentity& id)
    {
        std::string bytes(length, '\0');
        std::mt19937 rng(static_cast<unsigned>(length));
        for (auto& b : bytes) b = static_cast<char>(rng());
        const auto idBytes = id.bytes();
        std::memcpy(bytes.data(), idBytes.data(), 24);
        writeFile(ctx.softwarePath = dir.file("sw.dlp"), bytes);
        return bytes;
    }
};

} // namespace

TEST(Upload, CleanUploadIsTheImagePaddedToOneMebibyte)
{
    Transfer t;
    generateSample(*t.db, {false, 5});
    t.db->raw().setU8(IMAGE_SIZE - 1, 0x5A); // so that a copy one byte short shows
    auto options = receiving(LineTimeouts{});
    options.reserved = {0x11111111, 0x22222222};
    SimOnPty sim(options);
    ASSERT_EQ(t.run(TransferKind::Upload, sim, LineTimeouts{}), 0);
    const SimResult& r = sim.finish();
    ASSERT_EQ(r.rc, 0) << r.outcome;
    std::vector<std::uint8_t> expected(t.db->image(), t.db->image() + IMAGE_SIZE);
    expected.resize(0x100000, 0);
    EXPECT_EQ(r.received, expected);
    EXPECT_EQ(r.fileInfo, (FileInfo{4, 0x006A0000, 0x100000, 256, {}}));
    EXPECT_EQ(t.ctx.currentIdentity, OWN_IDENTITY);
    EXPECT_EQ(t.log.closing(), (TransferReport{REPORT_UPLOAD_DONE, 0}));
    EXPECT_TRUE(t.log.contains(REPORT_UPLOADING, 12));
    const auto progress = t.log.valuesOf(REPORT_PROGRESS);
    ASSERT_EQ(progress.size(), 257u);
    EXPECT_EQ((std::vector{progress[1], progress[255]}), (std::vector{progressValue(0, 100), progressValue(100, 100)}));

    // Reply, status and file header all answer in a received header: the request's reserved words
    // travel to the reply, the report carries them back, status and file header keep them.
    ASSERT_EQ(r.headers.size(), 3u);
    for (const auto& h : r.headers) EXPECT_EQ(h.reserved, options.reserved);
    EXPECT_EQ(r.headers[0].param, 4u);
    EXPECT_EQ(r.pcStatus, 0u);
}

// The file's length chooses the region; the data from offset 64 arrives padded to the region.
TEST(Upgrade, FileGoesToTheRegionItsLengthChooses)
{
    StbIdentity fileId = OWN_IDENTITY;
    fileId.infoDword = 0x12345678;
    for (const auto& [length, info, sizeClass] : {std::tuple{300000u, FileInfo{4, 0x006A0000, 0x100000, 256, {}}, 0u},
                                                  {0x100000u, FileInfo{3, 0x00690000, 0x600000, 0x600, {}}, 1u}}) {
        Transfer t;
        const std::string file = t.software(length, fileId);
        t.ctx.currentIdentity.reserved = {7, 8};
        LineTimeouts timeouts;
        timeouts.blockPauseMs = 0; // 1,536 blocks; the pause is measured by the benchmark
        SimOnPty sim(receiving(timeouts, info.type));
        ASSERT_EQ(t.run(TransferKind::Upgrade, sim, timeouts), 0);
        const SimResult& r = sim.finish();
        ASSERT_EQ(r.rc, 0) << r.outcome;
        EXPECT_EQ(r.fileInfo, info);
        std::vector<std::uint8_t> region(file.begin() + 64,
                                         file.begin() + std::min<std::size_t>(length, 64 + info.fileSize));
        region.resize(info.fileSize, 0);
        EXPECT_EQ(r.received, region);
        // The file's identity but its last 8 bytes.
        EXPECT_EQ((std::array{t.ctx.currentIdentity.infoDword, t.ctx.currentIdentity.reserved[0],
                              t.ctx.currentIdentity.reserved[1]}),
                  (std::array<std::uint32_t, 3>{0x12345678, 7, 8}));
        EXPECT_TRUE(t.log.contains(REPORT_TRACE, length) && t.log.contains(REPORT_TRACE, sizeClass));
        EXPECT_EQ(t.log.closing(), (TransferReport{REPORT_UPLOAD_DONE, 0}));
    }
}

TEST(Upgrade, UnreadableFileClosesWithoutSending)
{
    // A FIFO held the worker in its read for ever.
    TempDir dir;
    ::mkfifo(dir.file("sw.dlp").c_str(), 0666);
    for (const std::string& path : {std::string("/nonexistent/sw.dlp"), dir.file("sw.dlp")}) {
        Transfer t;
        t.ctx.softwarePath = path;
        auto options = receiving(fastTimeouts());
        options.timeLimitMs = 1500;
        SimOnPty sim(options);
        EXPECT_NE(t.run(TransferKind::Upgrade, sim, fastTimeouts()), 0);
        EXPECT_EQ(t.log.closing(), (TransferReport{REPORT_CANCELLED, 0}));
        EXPECT_NE(t.ctx.errorDetail.find(path), std::string::npos);
        EXPECT_TRUE(sim.finish().headers.empty());
    }
}

// The status write fails: a line that goes dead after the reply-side frames.
TEST(Upload, AcceptingStatusNotSent)
{
    MemoryLine line;
    line.setTimeouts(LineTimeouts{}.scaled(0));
    const auto ack = ackFrame();
    line.appendInput(controlFrame(PKT_REQUEST, 4));
    line.appendInput({ack.begin(), ack.end()}); // of the reply
    line.appendInput(controlFrame(PKT_REPORT, 4, OWN_IDENTITY.bytes()));
    line.failWritesAfter(5); // request acknowledgement (1 write), reply (3), report acknowledgement (1)
    ReportLog log;
    PacketLink link(line, nullptr, log.callback());
    std::vector<std::uint8_t> data(0x100000, 0);
    EXPECT_EQ(SendSession(link, 4, data.data(), data.size(), OWN_IDENTITY).run(), 1);
    EXPECT_EQ(log.closing(), (TransferReport{REPORT_TIMEOUT, 8}));
}

// One fault of the receiver and how the transfer ends. A software file for the whole software
// region (type 1) is checked against the receiver's model: these upgrades send one of another.
TEST(Upload, ReceiverFaultsAndRefusals)
{
    const struct {
        const char* name;
        SimFaults faults;
        TransferReport closing;
        std::int64_t upgradeSelector = -1; // an upgrade to a receiver reporting this selector
        bool wildcard = false;             // a receiver without a region: the PC refuses with its status
        std::uint32_t trace = 0;
    } cases[] = {
        {"NoRequest", {.skipFrame = RECEIVE_REQUEST}, {REPORT_TIMEOUT, 1}},
        {"ReplyNotAcknowledged", {.dropAck = ACK_OF_REPLY}, {REPORT_TIMEOUT, 4}},
        {"NoReport", {.skipFrame = RECEIVE_REPORT}, {REPORT_UNEXPECTED_DATA, 0}},
        {"WildcardHasNoRegion", {}, {REPORT_TIMEOUT, 2}, -1, true},
        {"FileHeaderNotAcknowledged", {.dropAck = ACK_OF_FILE_HEADER}, {REPORT_TIMEOUT, 7}},
        {"BlockNotAcknowledged", {.dropAck = ACK_OF_FIRST_BLOCK + 7}, {REPORT_TIMEOUT, 5}},
        {"BrokenBlockAcknowledgement", {.flipAck = ACK_OF_FIRST_BLOCK + 100}, {REPORT_TIMEOUT, 5}},
        {"OtherModelSelector0", {}, {REPORT_TIMEOUT, 3}, 0},
        {"OtherModelSelector2", {}, {REPORT_TIMEOUT, 2}, 2, false, 0x22},
        {"OtherModelSelector8", {}, {REPORT_TIMEOUT, 3}, 8},
    };
    StbIdentity otherModel = OWN_IDENTITY;
    otherModel.model = {'Z', 'Q', 'V', '-', '9', '9', '9', '9'};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const bool upgrade = c.upgradeSelector >= 0;
        Transfer t;
        generateSample(*t.db, {false, 5});
        if (upgrade) t.software(0x700000, otherModel);
        auto options = receiving(fastTimeouts(), upgrade ? 1 : 4);
        options.faults = c.faults;
        options.selector = c.upgradeSelector;
        if (c.wildcard) options.identity.hardwareId = 0x7FFFFFFF;
        SimOnPty sim(options);
        EXPECT_NE(t.run(upgrade ? TransferKind::Upgrade : TransferKind::Upload, sim, fastTimeouts()), 0);
        EXPECT_EQ(t.log.closing(), c.closing);
        EXPECT_EQ(t.log.all().back(), c.closing);
        EXPECT_TRUE(!upgrade || t.log.contains(REPORT_TRACE, 2)) << "size class of a 7 MiB file";
        EXPECT_TRUE(!c.trace || t.log.contains(REPORT_TRACE, c.trace));
        if (!c.wildcard && !upgrade) sim.stop(); // otherwise the refusing status is still on its way
        const SimResult& r = sim.finish();
        EXPECT_TRUE(!(c.wildcard || upgrade) || r.pcStatus == 1u) << r.outcome;
        EXPECT_TRUE(!upgrade || r.received.empty());
    }
}
