// Downloads over a pseudo-terminal against the simulated receiver: the real port, the real worker.
#include <gtest/gtest.h>

#include <cstring>

#include "db/SampleGenerator.h"
#include "tests/link/LinkTestSupport.h"

// Each table row names only the fault it sets.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

using namespace satorix;
using namespace satorix::link;
using namespace satorix::stbsim;
using namespace satorix::test;

namespace {

// A download into a sample database from a receiver serving another sample.
struct Download : WorkerRun {
    std::vector<std::uint8_t> before, region = sampleImage(3, DATABASE_REGION_SIZE);
    Download()
    {
        generateSample(*db, {false, 7});
        before.assign(db->image(), db->image() + IMAGE_SIZE);
    }
    SimOptions serving(const LineTimeouts& timeouts)
    {
        SimOptions o = simOptions(SimMode::Serve, timeouts);
        o.data = region;
        return o;
    }
    bool holds(const std::vector<std::uint8_t>& image) const
    {
        return std::memcmp(db->image(), image.data(), IMAGE_SIZE) == 0;
    }
};

} // namespace

TEST(Download, CleanDownloadIsByteExact)
{
    Download f;
    auto options = f.serving(LineTimeouts{});
    options.reserved = {0xCAFE0001, 0xCAFE0002};
    SimOnPty sim(options);
    ASSERT_EQ(f.run(TransferKind::Download, sim, LineTimeouts{}), 0);
    const SimResult& r = sim.finish();
    EXPECT_EQ(r.rc, 0) << r.outcome;
    EXPECT_EQ(r.blocks, 256u);
    EXPECT_TRUE(f.holds(f.region));
    EXPECT_EQ(f.db->version(), DB_VERSION);

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
    const auto& h = r.headers[0];
    EXPECT_EQ((std::vector{h.tag, h.param, h.version, h.reserved[0], h.reserved[1], r.headers[1].tag}),
              (std::vector<std::uint32_t>{PKT_REQUEST, 4, 0x200, 0, 0, PKT_REPORT}));
    EXPECT_EQ(r.headers[1].reserved, options.reserved);
    EXPECT_EQ(r.pcIdentity, OWN_IDENTITY);
}

TEST(Download, PortThatCannotBeOpened)
{
    for (const auto& [kind, port, device] :
         {std::tuple{TransferKind::Download, 1, "/nonexistent/ttyS0"}, {TransferKind::Upload, 7, ""}}) {
        Download f;
        f.ctx.port = {port, 115200, device};
        TransferWorker worker;
        ASSERT_TRUE(worker.start(kind, f.ctx, *f.db, f.log.callback()));
        worker.join();
        EXPECT_NE(worker.result(), 0);
        EXPECT_EQ(f.log.all(), (std::vector<TransferReport>{{REPORT_OPENING_PORT, std::uint32_t(port)},
                                                            {REPORT_PORT_FAILED, std::uint32_t(port)}}));
        EXPECT_TRUE(f.holds(f.before));
    }
}

// One fault of the receiver and how the download ends.
struct DownloadCase {
    const char* name;
    SimFaults faults;
    TransferReport closing; // {0, 0}: the download completes
    bool largeRegion = false;
};

void PrintTo(const DownloadCase& c, std::ostream* os) { *os << c.name; }

const TransferReport badData{REPORT_UNEXPECTED_DATA, 3};

class DownloadFaults : public testing::TestWithParam<DownloadCase> {};

TEST_P(DownloadFaults, EndAsExpected)
{
    const DownloadCase& c = GetParam();
    Download f;
    auto options = f.serving(fastTimeouts());
    options.faults = c.faults;
    if (c.largeRegion) options.kind = 1, options.data.resize(0x200000, 0x5A);
    SimOnPty sim(options);
    const int result = f.run(TransferKind::Download, sim, fastTimeouts());
    sim.stop();
    const bool completes = c.closing.code == 0;
    const TransferReport closing = completes ? TransferReport{REPORT_DOWNLOAD_DONE, 0} : c.closing;
    EXPECT_EQ(result == 0, completes);
    EXPECT_EQ(f.log.closing(), closing);
    EXPECT_EQ(f.log.all().back(), closing) << "the closing report is the last";
    EXPECT_TRUE(f.holds(completes ? f.region : f.before));
    EXPECT_TRUE(c.closing != badData || f.log.contains(REPORT_TRACE, 103));
}

constexpr int block4 = SERVE_FIRST_BLOCK + 4;
FileInfo info(std::uint32_t type, std::uint32_t size, std::uint32_t blocks) { return {type, 0, size, blocks, {}}; }

const DownloadCase downloadCases[] = {
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
    {"OversizeLength", {.badLengthBlock = 2, .badLength = BadLength::Oversize}, badData},
    {"LengthCheckWrong", {.badLengthBlock = 0, .badLength = BadLength::BadCheck}, badData},
    // A receiver that stops mid-block or between blocks has timed out; it sent nothing wrong.
    {"TruncatedBlockThenSilence", {.badLengthBlock = 5, .badLength = BadLength::Truncated}, {REPORT_TIMEOUT, 67}},
    {"SilentMidTransfer", {.stallFrame = block4, .stallMs = 60000, .stallAfter = 1000}, {REPORT_TIMEOUT, 67}},
    {"BlockPastTheBuffer", {.badLengthBlock = 0, .badLength = BadLength::Custom, .customLength = 0x7FFFFF}, badData},
    {"LastBlockOneBytePastTheBuffer",
     {.badLengthBlock = 255, .badLength = BadLength::Custom, .customLength = 0x1400 + 1},
     badData},
    {"LargeRegionOverflowsTheBuffer", {}, badData, true},
    {"TooMuchGarbageBeforeABlock", {.garbageFrame = SERVE_FIRST_BLOCK + 1, .garbageBytes = 25}, badData},
    {"StallInsideABlock", {.stallFrame = block4, .stallMs = 400, .stallAfter = 1000}, badData},
    // These the PC rides out.
    {"SomeGarbageBeforeTheReply", {.garbageFrame = SERVE_REPLY, .garbageBytes = 24}, {}},
    {"ShortStallInsideABlock", {.stallFrame = block4, .stallMs = 10, .stallAfter = 1000}, {}},
    {"HugeFileInfo", {.fileInfo = info(4, 0xFFFFFFFF, 0xFFFFFFFF)}, {}},
    {"LastBlockFillsTheBuffer", {.badLengthBlock = 255, .badLength = BadLength::Custom, .customLength = 0x1400}, {}},
};

INSTANTIATE_TEST_SUITE_P(Receiver, DownloadFaults, testing::ValuesIn(downloadCases),
                         [](const testing::TestParamInfo<DownloadCase>& i) { return std::string(i.param.name); });
