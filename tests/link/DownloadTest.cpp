// Downloads over a pseudo-terminal against the simulated receiver: the real port, the real worker.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "db/SampleGenerator.h"
#include "link/RegionRules.h"
#include "link/TransferWorker.h"
#include "tests/link/LinkTestSupport.h"

using namespace satorix;
using namespace satorix::link;
using namespace satorix::stbsim;
using namespace satorix::test;

namespace {

struct DownloadFixture {
    std::unique_ptr<ChannelDatabase> db = std::make_unique<ChannelDatabase>();
    std::vector<std::uint8_t> before;
    TransferContext ctx;
    ReportLog log;

    DownloadFixture()
    {
        generateSample(*db, {false, 7});
        before.assign(db->image(), db->image() + IMAGE_SIZE);
    }
    bool unchanged() const { return std::memcmp(db->image(), before.data(), IMAGE_SIZE) == 0; }

    int run(SimOnPty& sim, const LineTimeouts& timeouts)
    {
        ctx.port.device = sim.device();
        ctx.timeouts = timeouts;
        TransferWorker worker;
        EXPECT_TRUE(worker.start(TransferKind::Download, ctx, *db, log.callback()));
        worker.join();
        return worker.result();
    }
};

SimOptions serving(std::vector<std::uint8_t> region, const LineTimeouts& timeouts)
{
    SimOptions o;
    o.mode = SimMode::Serve;
    o.data = std::move(region);
    o.timeouts = timeouts;
    o.timeLimitMs = 20000;
    return o;
}

} // namespace

TEST(Download, CleanDownloadIsByteExact)
{
    DownloadFixture f;
    const auto region = sampleImage(3, DATABASE_REGION_SIZE);
    auto options = serving(region, LineTimeouts {});
    options.reserved = {0xCAFE0001, 0xCAFE0002};
    SimOnPty sim(options);
    ASSERT_EQ(f.run(sim, LineTimeouts {}), 0);
    const SimResult& r = sim.finish();
    EXPECT_EQ(r.rc, 0) << r.outcome;
    EXPECT_EQ(r.blocks, 256u);
    EXPECT_EQ(std::memcmp(f.db->image(), region.data(), IMAGE_SIZE), 0);
    EXPECT_EQ(f.db->version(), DB_VERSION);

    const auto all = f.log.all();
    ASSERT_GE(all.size(), 3u);
    EXPECT_EQ(all[0], (TransferReport {REPORT_OPENING_PORT, 1}));
    EXPECT_EQ(all[1], (TransferReport {REPORT_WAITING, 0}));
    EXPECT_EQ(all.back(), (TransferReport {REPORT_DOWNLOAD_DONE, 0}));
    EXPECT_EQ(f.log.count(REPORT_DOWNLOAD_DONE), 2u);
    const auto progress = f.log.valuesOf(REPORT_PROGRESS);
    ASSERT_EQ(progress.size(), 257u);
    EXPECT_EQ(progress[0], progressValue(0, 100));   // trunc(2 * 100 / 256)
    EXPECT_EQ(progress[1], progressValue(1, 100));
    EXPECT_EQ(progress[255], progressValue(100, 100));

    // Request afresh; the identity report answers in the reply's header, reserved words and all.
    ASSERT_EQ(r.headers.size(), 2u);
    EXPECT_EQ(r.headers[0].tag, PKT_REQUEST);
    EXPECT_EQ(r.headers[0].param, 4u);
    EXPECT_EQ(r.headers[0].version, 0x200u);
    EXPECT_EQ(r.headers[0].reserved, (std::array<std::uint32_t, 2> {0, 0}));
    EXPECT_EQ(r.headers[1].tag, PKT_REPORT);
    EXPECT_EQ(r.headers[1].reserved, options.reserved);
    EXPECT_EQ(r.pcIdentity, OWN_IDENTITY);
}

TEST(Download, PortThatCannotBeOpened)
{
    DownloadFixture f;
    f.ctx.port.device = "/nonexistent/ttyS0";
    TransferWorker worker;
    ASSERT_TRUE(worker.start(TransferKind::Download, f.ctx, *f.db, f.log.callback()));
    worker.join();
    EXPECT_NE(worker.result(), 0);
    EXPECT_EQ(f.log.all(), (std::vector<TransferReport> {{REPORT_OPENING_PORT, 1}, {REPORT_PORT_FAILED, 1}}));
    EXPECT_FALSE(f.ctx.errorDetail.empty());
    EXPECT_TRUE(f.unchanged());

    ReportLog log;
    TransferContext ctx;
    ctx.port.port = 7;
    ASSERT_TRUE(worker.start(TransferKind::Upload, ctx, *f.db, log.callback()));
    worker.join();
    EXPECT_EQ(log.all(), (std::vector<TransferReport> {{REPORT_OPENING_PORT, 7}, {REPORT_PORT_FAILED, 7}}));
}

// One fault of the receiver and how the download ends.
struct DownloadCase {
    const char* name;
    std::function<void(SimOptions&)> fault;
    TransferReport closing; // {0, 0}: the download completes
};

void PrintTo(const DownloadCase& c, std::ostream* os) { *os << c.name; }

class DownloadFaults : public testing::TestWithParam<DownloadCase> {};

TEST_P(DownloadFaults, EndAsExpected)
{
    const DownloadCase& c = GetParam();
    DownloadFixture f;
    const auto region = sampleImage(3, DATABASE_REGION_SIZE);
    auto options = serving(region, fastTimeouts());
    c.fault(options);
    SimOnPty sim(options);
    const int result = f.run(sim, fastTimeouts());
    sim.stop();
    if (c.closing.code == 0) {
        EXPECT_EQ(result, 0);
        EXPECT_EQ(f.log.closing(), (TransferReport {REPORT_DOWNLOAD_DONE, 0}));
        EXPECT_EQ(std::memcmp(f.db->image(), region.data(), IMAGE_SIZE), 0);
        return;
    }
    EXPECT_NE(result, 0);
    EXPECT_EQ(f.log.closing(), c.closing);
    EXPECT_EQ(f.log.all().back(), c.closing) << "the closing report is the last";
    EXPECT_TRUE(f.unchanged());
    if (c.closing == TransferReport {REPORT_UNEXPECTED_DATA, 3}) {
        EXPECT_TRUE(f.log.contains(REPORT_TRACE, 103));
    }
}

using Fault = std::function<void(SimOptions&)>;

Fault badLength(int block, BadLength kind, std::uint32_t length = 0)
{
    return [=](SimOptions& o) {
        o.faults.badLengthBlock = block;
        o.faults.badLength = kind;
        o.faults.customLength = length;
    };
}
Fault garbage(int frame, int bytes)
{
    return [=](SimOptions& o) {
        o.faults.garbageFrame = frame;
        o.faults.garbageBytes = bytes;
    };
}
Fault stallInBlock4(int ms)
{
    return [=](SimOptions& o) {
        o.faults.stallFrame = SERVE_FIRST_BLOCK + 4;
        o.faults.stallAfter = 1000;
        o.faults.stallMs = ms;
    };
}
Fault fileInfo(FileInfo info)
{
    return [=](SimOptions& o) { o.faults.fileInfo = info; };
}

const TransferReport badData {REPORT_UNEXPECTED_DATA, 3};

const DownloadCase downloadCases[] = {
    {"RequestNotAcknowledged", [](SimOptions& o) { o.faults.dropAck = ACK_OF_REQUEST; }, {REPORT_TIMEOUT, 50}},
    {"BrokenAcknowledgement", [](SimOptions& o) { o.faults.flipAck = ACK_OF_REQUEST; }, {REPORT_TIMEOUT, 50}},
    {"NoReply", [](SimOptions& o) { o.faults.skipFrame = SERVE_REPLY; }, {REPORT_TIMEOUT, 62}},
    {"CorruptedReply", [](SimOptions& o) { o.faults.flipFrame = SERVE_REPLY; }, {REPORT_TIMEOUT, 62}},
    {"ReportNotAcknowledged", [](SimOptions& o) { o.faults.dropAck = ACK_OF_REPORT; }, {REPORT_TIMEOUT, 61}},
    {"RefusingStatus", [](SimOptions& o) { o.faults.status = 1; }, {REPORT_TIMEOUT, 63}},
    {"NoStatus", [](SimOptions& o) { o.faults.skipFrame = SERVE_STATUS; }, {REPORT_TIMEOUT, 64}},
    {"ZeroBlockCount", fileInfo({4, 0, 0x100000, 0, {}}), {REPORT_TIMEOUT, 66}},
    {"ZeroSize", fileInfo({4, 0, 0, 256, {}}), {REPORT_TIMEOUT, 66}},
    {"NoFileHeader", [](SimOptions& o) { o.faults.skipFrame = SERVE_FILE_HEADER; }, {REPORT_UNEXPECTED_DATA, 1}},
    {"RegionType5", fileInfo({5, 0, 0x100000, 256, {}}), {REPORT_UNEXPECTED_DATA, 2}},
    {"RegionType9", fileInfo({9, 0, 0x100000, 256, {}}), {REPORT_UNEXPECTED_DATA, 2}},
    {"WrongBlockNumber", [](SimOptions& o) { o.faults.wrongBlock = 3; }, badData},
    {"CorruptedBlock", [](SimOptions& o) { o.faults.flipFrame = SERVE_FIRST_BLOCK + 10; o.faults.flipBit = 8 * 300; },
     badData},
    {"OversizeLength", badLength(2, BadLength::Oversize), badData},
    {"LengthCheckWrong", badLength(0, BadLength::BadCheck), badData},
    // A receiver that stops mid-block or between blocks has timed out; it sent nothing wrong.
    {"TruncatedBlockThenSilence", badLength(5, BadLength::Truncated), {REPORT_TIMEOUT, 67}},
    {"SilentMidTransfer", stallInBlock4(60000), {REPORT_TIMEOUT, 67}},
    {"BlockPastTheBuffer", badLength(0, BadLength::Custom, 0x7FFFFF), badData},
    {"LastBlockOneBytePastTheBuffer", badLength(255, BadLength::Custom, 0x1400 + 1), badData},
    {"LargeRegionOverflowsTheBuffer", [](SimOptions& o) { o.kind = 1; o.data.resize(0x200000, 0x5A); }, badData},
    {"TooMuchGarbageBeforeABlock", garbage(SERVE_FIRST_BLOCK + 1, 25), badData},
    {"StallInsideABlock", stallInBlock4(400), badData},
    // These the PC rides out.
    {"SomeGarbageBeforeTheReply", garbage(SERVE_REPLY, 24), {}},
    {"ShortStallInsideABlock", stallInBlock4(10), {}},
    {"HugeFileInfo", fileInfo({4, 0, 0xFFFFFFFF, 0xFFFFFFFF, {}}), {}},
    {"LastBlockFillsTheBuffer", badLength(255, BadLength::Custom, 0x1400), {}},
};

INSTANTIATE_TEST_SUITE_P(Receiver, DownloadFaults, testing::ValuesIn(downloadCases),
                         [](const testing::TestParamInfo<DownloadCase>& i) { return std::string(i.param.name); });
