// Downloads, uploads and software upgrades on the worker thread over a pseudo-terminal against
// the simulated receiver: the real port, the real worker.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <sys/stat.h>

#include "db/SampleGenerator.h"
#include "link/TransferWorker.h"
#include "tests/link/LinkTestSupport.h"
#include "tests/support/TempDir.h"

// Each table row names only the fault it sets.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

using namespace satorix;
using namespace satorix::link;
using namespace satorix::stbsim;
using namespace satorix::test;

namespace {

// A transfer of a sample database as the dialog starts it; a downloading receiver serves another.
struct Transfer {
    std::unique_ptr<ChannelDatabase> db = std::make_unique<ChannelDatabase>();
    TransferContext ctx;
    ReportLog log;
    TempDir dir;
    std::vector<std::uint8_t> before, region = sampleImage(3, DATABASE_REGION_SIZE);
    Transfer()
    {
        generateSample(*db, {false, 7});
        before.assign(db->image(), db->image() + IMAGE_SIZE);
    }
    SimOptions options(SimMode mode, const LineTimeouts& timeouts, std::uint32_t kind = 4) const
    {
        SimOptions o{.mode = mode, .kind = kind, .requestRepeatMs = 100, .timeLimitMs = 30000, .timeouts = timeouts};
        if (mode == SimMode::Serve) o.data = region;
        return o;
    }
    int run(TransferKind kind, SimOnPty& sim, const LineTimeouts& timeouts)
    {
        ctx.port.device = sim.device();
        ctx.timeouts = timeouts;
        TransferWorker worker;
        EXPECT_TRUE(worker.start(kind, ctx, *db, log.callback()));
        worker.join();
        return worker.result();
    }
    bool holds(const std::vector<std::uint8_t>& v) const { return std::memcmp(db->image(), v.data(), IMAGE_SIZE) == 0; }
    // The software file an upgrade sends: a 24-byte identity, the rest of a 64-byte header, random data.
    std::string software(std::size_t length, const StbIdentity& id)
    {
        std::string bytes(length, '\0');
        std::mt19937 rng(static_cast<unsigned>(length));
        for (auto& b : bytes) b = static_cast<char>(rng());
        std::ranges::copy_n(id.bytes().begin(), 24, bytes.begin());
        writeFile(ctx.softwarePath = dir.file("sw.dlp"), bytes);
        return bytes;
    }
};

} // namespace

TEST(Download, CleanDownloadIsByteExact)
{
    Transfer f;
    auto options = f.options(SimMode::Serve, LineTimeouts{});
    options.reserved = {0xCAFE0001, 0xCAFE0002};
    SimOnPty sim(options);
    ASSERT_EQ(f.run(TransferKind::Download, sim, LineTimeouts{}), 0);
    const SimResult& r = sim.finish();
    EXPECT_EQ((std::tuple{r.rc, r.blocks, f.holds(f.region), f.db->version()}), (std::tuple{0, 256u, true, DB_VERSION}))
        << r.outcome;

    const auto all = f.log.all();
    ASSERT_GE(all.size(), 3u);
    EXPECT_EQ((std::vector{all[0], all[1], all.back()}),
              (std::vector<TransferReport>{{REPORT_OPENING_PORT, 1}, {REPORT_WAITING, 0}, {REPORT_DOWNLOAD_DONE, 0}}));
    EXPECT_EQ(f.log.valuesOf(REPORT_DOWNLOAD_DONE).size(), 2u);
    const auto progress = f.log.valuesOf(REPORT_PROGRESS);
    ASSERT_EQ(progress.size(), 257u);
    // Block 1 of 256 is trunc(2 * 100 / 256) = 0 per cent.
    EXPECT_EQ((std::vector{progress[0], progress[1], progress[255]}),
              (std::vector{progressValue(0, 100), progressValue(1, 100), progressValue(100, 100)}));

    // Request afresh; the identity report answers in the reply's header, reserved words and all.
    ASSERT_EQ(r.headers.size(), 2u);
    EXPECT_EQ(r.headers[0].bytes(), PacketHeader::make(PKT_REQUEST, 4).bytes());
    EXPECT_EQ(std::pair(r.headers[1].tag, r.headers[1].reserved), std::pair(PKT_REPORT, options.reserved));
    EXPECT_EQ(r.pcIdentity, OWN_IDENTITY);
}

const TransferReport badData{REPORT_UNEXPECTED_DATA, 3};
constexpr int block4 = SERVE_FIRST_BLOCK + 4;
FileInfo info(std::uint32_t type, std::uint32_t size, std::uint32_t blocks) { return {type, 0, size, blocks, {}}; }
SimFaults length(int block, BadLength bad, std::uint32_t custom = 0)
{
    return {.badLengthBlock = block, .badLength = bad, .customLength = custom};
}

// One fault of the receiver, or of the file an upgrade sends, and how the transfer ends. A software
// file for the whole software region (type 1) is checked against the receiver's model: these
// upgrades send one of another model unless the row names a file that cannot be read.
TEST(Worker, ReceiverFaultsAndRefusals)
{
    constexpr auto UP = TransferKind::Upload, UPGRADE = TransferKind::Upgrade;
    const struct {
        const char* name;
        SimFaults faults;
        TransferReport closing; // {0, 0}: the download completes
        bool largeRegion = false;
        TransferKind kind = TransferKind::Download;
        std::int64_t selector = -1; // of the receiver's report; -1: the region's type
        bool refused = false;       // by the PC's status: a wildcard has no region, another model no upgrade
        std::uint32_t trace = 0;
        const char* software = nullptr;
    } cases[] = {
        {"RequestNotAcknowledged", {.dropAck = ACK_OF_REQUEST}, {REPORT_TIMEOUT, 50}},
        {"BrokenAcknowledgement", {.flipAck = ACK_OF_REQUEST}, {REPORT_TIMEOUT, 50}},
        {"NoReply", {.skipFrame = SERVE_REPLY}, {REPORT_TIMEOUT, 62}},
        {"CorruptedReply", {.flipFrame = SERVE_REPLY}, {REPORT_TIMEOUT, 62}},
        {"ReportNotAcknowledged", {.dropAck = ACK_OF_REPORT}, {REPORT_TIMEOUT, 61}},
        {"RefusingStatus", {.status = 1}, {REPORT_TIMEOUT, 63}},
        {"NoStatus", {.skipFrame = SERVE_STATUS}, {REPORT_TIMEOUT, 64}},
        {"ZeroBlockCount", {.fileInfo = info(4, 0x100000, 0)}, {REPORT_TIMEOUT, 66}},
        {"ZeroSize", {.fileInfo = info(4, 0, 256)}, {REPORT_TIMEOUT, 66}},
        {"NoFileHeader", {.skipFrame = SERVE_FILE_HEADER}, {REPORT_UNEXPECTED_DATA, 1}},
        {"RegionType5", {.fileInfo = info(5, 0x100000, 256)}, {REPORT_UNEXPECTED_DATA, 2}},
        {"RegionType9", {.fileInfo = info(9, 0x100000, 256)}, {REPORT_UNEXPECTED_DATA, 2}},
        {"WrongBlockNumber", {.wrongBlock = 3}, badData},
        {"CorruptedBlock", {.flipFrame = SERVE_FIRST_BLOCK + 10, .flipBit = 8 * 300}, badData},
        {"OversizeLength", length(2, BadLength::Oversize), badData},
        {"LengthCheckWrong", length(0, BadLength::BadCheck), badData},
        // A receiver that stops mid-block or between blocks has timed out; it sent nothing wrong.
        {"TruncatedBlockThenSilence", length(5, BadLength::Truncated), {REPORT_TIMEOUT, 67}},
        {"SilentMidTransfer", {.stallFrame = block4, .stallMs = 60000, .stallAfter = 1000}, {REPORT_TIMEOUT, 67}},
        {"BlockPastTheBuffer", length(0, BadLength::Custom, 0x7FFFFF), badData},
        {"LastBlockOneBytePastTheBuffer", length(255, BadLength::Custom, 0x1401), badData},
        {"LargeRegionOverflowsTheBuffer", {}, badData, true},
        {"TooMuchGarbageBeforeABlock", {.garbageFrame = SERVE_FIRST_BLOCK + 1, .garbageBytes = 25}, badData},
        {"StallInsideABlock", {.stallFrame = block4, .stallMs = 400, .stallAfter = 1000}, badData},
        // These the PC rides out.
        {"SomeGarbageBeforeTheReply", {.garbageFrame = SERVE_REPLY, .garbageBytes = 24}, {}},
        {"ShortStallInsideABlock", {.stallFrame = block4, .stallMs = 10, .stallAfter = 1000}, {}},
        {"HugeFileInfo", {.fileInfo = info(4, 0xFFFFFFFF, 0xFFFFFFFF)}, {}},
        {"LastBlockFillsTheBuffer", length(255, BadLength::Custom, 0x1400), {}},
        {"NoRequest", {.skipFrame = RECEIVE_REQUEST}, {REPORT_TIMEOUT, 1}, false, UP},
        {"ReplyNotAcknowledged", {.dropAck = ACK_OF_REPLY}, {REPORT_TIMEOUT, 4}, false, UP},
        {"NoReport", {.skipFrame = RECEIVE_REPORT}, {REPORT_UNEXPECTED_DATA, 0}, false, UP},
        {"WildcardHasNoRegion", {}, {REPORT_TIMEOUT, 2}, false, UP, -1, true},
        {"FileHeaderNotAcknowledged", {.dropAck = ACK_OF_FILE_HEADER}, {REPORT_TIMEOUT, 7}, false, UP},
        {"BlockNotAcknowledged", {.dropAck = ACK_OF_FIRST_BLOCK + 7}, {REPORT_TIMEOUT, 5}, false, UP},
        {"BrokenBlockAcknowledgement", {.flipAck = ACK_OF_FIRST_BLOCK + 100}, {REPORT_TIMEOUT, 5}, false, UP},
        {"OtherModelSelector0", {}, {REPORT_TIMEOUT, 3}, false, UPGRADE, 0, true},
        {"OtherModelSelector2", {}, {REPORT_TIMEOUT, 2}, false, UPGRADE, 2, true, 0x22},
        {"OtherModelSelector8", {}, {REPORT_TIMEOUT, 3}, false, UPGRADE, 8, true},
        // A FIFO held the worker in its read for ever.
        {"MissingSoftwareFile", {}, {REPORT_CANCELLED, 0}, false, UPGRADE, -1, false, 0, "/nonexistent/sw.dlp"},
        {"SoftwareFileIsAFifo", {}, {REPORT_CANCELLED, 0}, false, UPGRADE, -1, false, 0, "fifo"},
    };
    StbIdentity otherModel = OWN_IDENTITY;
    otherModel.model = {'Z', 'Q', 'V', '-', '9', '9', '9', '9'};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Transfer t;
        const bool upgrade = c.kind == UPGRADE;
        if (upgrade && !c.software) t.software(0x700000, otherModel);
        if (c.software) {
            ::mkfifo(t.dir.file("fifo").c_str(), 0666);
            t.ctx.softwarePath = c.software[0] == '/' ? c.software : t.dir.file(c.software);
        }
        const SimMode mode = c.kind == TransferKind::Download ? SimMode::Serve : SimMode::Receive;
        auto options = t.options(mode, fastTimeouts(), upgrade || c.largeRegion ? 1 : 4);
        options.faults = c.faults;
        options.selector = c.selector;
        if (c.largeRegion) options.data.resize(0x200000, 0x5A);
        if (c.refused && !upgrade) options.identity.hardwareId = 0x7FFFFFFF;
        SimOnPty sim(options);
        const TransferReport closing = c.closing.code ? c.closing : TransferReport{REPORT_DOWNLOAD_DONE, 0};
        EXPECT_EQ(t.run(c.kind, sim, fastTimeouts()) == 0, c.closing.code == 0);
        EXPECT_EQ(std::pair(t.log.closing(), t.log.all().back()), std::pair(closing, closing)); // and the last
        EXPECT_TRUE(t.holds(c.closing.code ? t.before : t.region));
        EXPECT_TRUE((c.closing != badData || t.log.contains(REPORT_TRACE, 103)) &&
                    (!c.trace || t.log.contains(REPORT_TRACE, c.trace)));
        if (!c.refused) sim.stop(); // otherwise the refusing status is still on its way
        const SimResult& r = sim.finish();
        EXPECT_EQ(r.pcStatus == 1u, c.refused) << r.outcome;
        EXPECT_TRUE(!c.refused || r.received.empty());
        EXPECT_TRUE(!c.software ||
                    (t.ctx.errorDetail.find(t.ctx.softwarePath) != std::string::npos && r.headers.empty()));
    }
}

// What the receiver gets: the image padded to one mebibyte, or a software file's data from offset
// 64 padded to the region its length chooses.
TEST(Upload, CleanUploadAndUpgrades)
{
    StbIdentity fileId = OWN_IDENTITY;
    fileId.infoDword = 0x12345678;
    for (const auto& [length, info, sizeClass] : {std::tuple{0u, FileInfo{4, 0x006A0000, 0x100000, 256, {}}, 0u},
                                                  {300000u, FileInfo{4, 0x006A0000, 0x100000, 256, {}}, 0u},
                                                  {0x100000u, FileInfo{3, 0x00690000, 0x600000, 0x600, {}}, 1u}}) {
        SCOPED_TRACE(length);
        Transfer t;
        t.db->raw().setU8(IMAGE_SIZE - 1, 0x5A); // so that a copy one byte short shows
        std::vector<std::uint8_t> expected(t.db->image(), t.db->image() + IMAGE_SIZE);
        if (length) {
            const std::string file = t.software(length, fileId);
            expected.assign(file.begin() + 64, file.begin() + std::min<std::size_t>(length, 64 + info.fileSize));
        }
        expected.resize(info.fileSize, 0);
        t.ctx.currentIdentity.reserved = {7, 8};
        const LineTimeouts timeouts{.blockPauseMs = 0}; // 1,536 blocks; the pause is measured by the benchmark
        auto options = t.options(SimMode::Receive, timeouts, info.type);
        options.reserved = {0x11111111, 0x22222222};
        SimOnPty sim(options);
        ASSERT_EQ(t.run(length ? TransferKind::Upgrade : TransferKind::Upload, sim, timeouts), 0);
        const SimResult& r = sim.finish();
        ASSERT_EQ(r.rc, 0) << r.outcome;
        EXPECT_EQ(r.received, expected);
        EXPECT_EQ(std::pair(r.fileInfo, t.log.closing()),
                  std::pair(std::optional(info), TransferReport{REPORT_UPLOAD_DONE, 0}));
        // Reply, status and file header all answer in a received header: the request's reserved
        // words travel to the reply, the report carries them back, status and file header keep them.
        ASSERT_EQ(r.headers.size(), 3u);
        for (const auto& h : r.headers) EXPECT_EQ(h.reserved, options.reserved);
        EXPECT_EQ(std::pair(r.headers[0].param, r.pcStatus), std::pair(info.type, std::optional(0u)));
        if (length) {
            // The file's identity but its last 8 bytes.
            const StbIdentity& id = t.ctx.currentIdentity;
            EXPECT_EQ((std::array{id.infoDword, id.reserved[0], id.reserved[1]}), (std::array{0x12345678u, 7u, 8u}));
            EXPECT_TRUE(t.log.contains(REPORT_TRACE, length) && t.log.contains(REPORT_TRACE, sizeClass));
            continue;
        }
        EXPECT_EQ(t.ctx.currentIdentity, OWN_IDENTITY);
        EXPECT_TRUE(t.log.contains(REPORT_UPLOADING, 12));
        const auto progress = t.log.valuesOf(REPORT_PROGRESS);
        ASSERT_EQ(progress.size(), 257u);
        EXPECT_EQ((std::vector{progress[1], progress[255]}),
                  (std::vector{progressValue(0, 100), progressValue(100, 100)}));
    }
}
