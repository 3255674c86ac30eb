#include <gtest/gtest.h>

#include <memory>
#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "db/ChannelDatabase.h"
#include "db/DatabaseBuilder.h"
#include "db/SampleGenerator.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/TempDir.h"

using namespace satorix;
using satorix::test::MessageRecorder;
using satorix::test::readFile;
using satorix::test::TempDir;
using satorix::test::writeFile;

namespace {

std::string imageBytes(const ChannelDatabase& db)
{
    return {reinterpret_cast<const char*>(db.image()), IMAGE_SIZE};
}

struct FileTest : ::testing::Test {
    TempDir dir;
    std::unique_ptr<ChannelDatabase> db = std::make_unique<ChannelDatabase>();
    MessageRecorder messages{*db};
    FileTest() { db->setListingPath(dir.file("programs.nfo")); }
};

} // namespace

TEST_F(FileTest, SavingAnEmptyDatabaseWritesZerosAndTheCrc)
{
    ASSERT_EQ(db->save(dir.file("empty.si")), 0);
    const std::string bytes = readFile(dir.file("empty.si"));
    ASSERT_EQ(bytes.size(), IMAGE_SIZE);
    for (std::size_t i = 0; i < IMAGE_SIZE; ++i) {
        if (i < 8 || i >= 12) {
            ASSERT_EQ(bytes[i], 0) << i;
        }
    }
    EXPECT_NE(db->storedCrc(), 0u);
    EXPECT_EQ(db->lastPath(), dir.file("empty.si"));
}

TEST_F(FileTest, RoundTripKeepsEveryByteButCrcAndByte10079)
{
    generateSample(*db, {false, 7});
    db->raw().setU32(0, 0x12345678);       // receiver-owned header
    db->raw().setU8(5000, 0x5A);           // settings block
    db->raw().setU8(layout::CRC_ZERO_BYTE, 0x77);
    db->raw().setU32(layout::CRC, 0xBAD);
    const std::string original = imageBytes(*db);
    writeFile(dir.file("in.si"), original);

    auto other = std::make_unique<ChannelDatabase>();
    other->setListingPath("");
    ASSERT_EQ(other->load(dir.file("in.si")), 0);
    EXPECT_TRUE(other->isLoaded());
    ASSERT_EQ(other->save(dir.file("out.si")), 0);
    const std::string saved = readFile(dir.file("out.si"));
    ASSERT_EQ(saved.size(), IMAGE_SIZE);
    for (std::size_t i = 0; i < IMAGE_SIZE; ++i) {
        if ((i >= 8 && i < 12) || i == layout::CRC_ZERO_BYTE) continue;
        ASSERT_EQ(saved[i], original[i]) << "offset " << i;
    }
    EXPECT_EQ(saved[layout::CRC_ZERO_BYTE], 0);
    EXPECT_EQ(other->storedCrc(), other->computeCrc());
}

TEST_F(FileTest, ShortLongAndMissingFiles)
{
    // A short file changes nothing: the database in memory may hold the user's only copy.
    writeFile(dir.file("short.si"), std::string(10, '\x11'));
    db->raw().setU8(9, 0x22);
    const bool wasLoaded = db->isLoaded();
    EXPECT_EQ(db->load(dir.file("short.si")), -3);
    EXPECT_EQ(db->isLoaded(), wasLoaded);
    EXPECT_EQ(messages.texts.back(), "Error: Open failed2");
    EXPECT_EQ(messages.icons.back(), MessageIcon::Exclamation);
    EXPECT_EQ(db->raw().u8(9), 0x22);

    std::string longFile(800000, '\0');
    longFile[20000] = '\x42';
    writeFile(dir.file("long.si"), longFile);
    EXPECT_EQ(db->load(dir.file("long.si")), 0);
    EXPECT_TRUE(db->isLoaded());
    EXPECT_EQ(db->raw().u8(20000), 0x42);

    // A missing file leaves image and flags alone.
    db->raw().setU8(20001, 0x43);
    messages.clear();
    EXPECT_EQ(db->load(dir.file("missing.si")), -1);
    EXPECT_EQ(messages.texts, std::vector<std::string>{"Open1"});
    EXPECT_TRUE(db->isLoaded());
    EXPECT_EQ(db->raw().u8(20001), 0x43);
    EXPECT_EQ(db->lastPath(), dir.file("long.si"));
}

TEST_F(FileTest, LoadPurgesProvidersAndWritesTheListing)
{
    DatabaseBuilder b(*db);
    b.addSatellite({1, 192, "Sat"});
    b.addTransponder({1, 11000});
    b.addProvider("Used");
    b.addProvider("Unused");
    b.addProvider("Also used");
    b.addTvProgram({"News", 0, 0, 1201, 512, 650, 512, 1});
    b.addRadioProgram({"\x05Radio", 2, 0, 7, 8191, 32767, 65535, 0x2F});
    b.finish();
    ASSERT_EQ(db->save(dir.file("p.si")), 0);

    auto other = std::make_unique<ChannelDatabase>();
    other->setListingPath(dir.file("programs.nfo"));
    ASSERT_EQ(other->load(dir.file("p.si")), 0);
    EXPECT_EQ(other->providerCount(), 2);
    EXPECT_EQ(readFile(dir.file("programs.nfo")),
              "                News  1201     0     0  512  650  512 1\n"
              "05             Radio     7     1     0 8191 32767 65535 2F\n");
}

TEST_F(FileTest, ListingLinesAreFixedWidthAndLongNamesAreNotCut)
{
    DatabaseBuilder b(*db);
    b.addTvProgram({"ABCDEFGHIJKLMNOP", 0, 0, 1, 2, 3, 4, 0}); // 16 characters, no NUL
    b.finish();
    db->writeProgramListing(dir.file("l.nfo"));
    EXPECT_EQ(readFile(dir.file("l.nfo")), "    ABCDEFGHIJKLMNOP     1     0     0    2    3    4 0\n");
    db->writeProgramListing(dir.file("no/such/dir/l.nfo")); // silently nothing
}

TEST_F(FileTest, SaveFailureLeavesTargetAndNoTemporaryFile)
{
    generateSample(*db, {false, 3});
    ASSERT_EQ(db->save(dir.file("db.si")), 0);
    const std::string before = readFile(dir.file("db.si"));

    EXPECT_EQ(db->save(dir.file("missing/db.si")), -1);
    // A target that cannot be replaced: a directory in its place.
    ::mkdir(dir.file("dir.si").c_str(), 0755);
    EXPECT_EQ(db->save(dir.file("dir.si")), -1);
    EXPECT_EQ(readFile(dir.file("db.si")), before);
    int entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
        (void)e;
        ++entries;
    }
    EXPECT_EQ(entries, 2); // db.si and dir.si, no leftovers
}

TEST_F(FileTest, AWriteErrorLeavesTheTargetUntouched)
{
    generateSample(*db, {false, 3});
    writeFile(dir.file("t.si"), "old contents");
    // A file size limit makes the write fail part-way, like a full disk.
    struct rlimit old {};
    ::getrlimit(RLIMIT_FSIZE, &old);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &small);
    const int r = db->save(dir.file("t.si"));
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(r, -1);
    EXPECT_EQ(readFile(dir.file("t.si")), "old contents");
    int entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
        (void)e;
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

TEST_F(FileTest, SaveKeepsTheModeOfAnExistingFile)
{
    writeFile(dir.file("m.si"), "x");
    ::chmod(dir.file("m.si").c_str(), 0640);
    ASSERT_EQ(db->save(dir.file("m.si")), 0);
    struct stat st {};
    ::stat(dir.file("m.si").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}
