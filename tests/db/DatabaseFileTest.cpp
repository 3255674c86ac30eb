#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <grp.h>
#include <memory>
#include <pwd.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>

#include "db/DatabaseBuilder.h"
#include "db/FileSystem.h"
#include "db/SampleGenerator.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/TempDir.h"

using namespace satorix;
using namespace satorix::test;
using S = std::vector<std::string>;
using V = std::vector<int>;

namespace {

std::string imageBytes(const ChannelDatabase& db) { return {reinterpret_cast<const char*>(db.image()), IMAGE_SIZE}; }

struct FileTest : ::testing::Test {
    TempDir dir;
    std::unique_ptr<ChannelDatabase> db = std::make_unique<ChannelDatabase>();
    MessageRecorder messages{*db};
    FileTest() { db->setListingPath(dir.file("programs.nfo")); }
    // The user the files are given to: "nobody" when the test runs as root, else the user.
    const passwd* nobody = ::getpwnam("nobody");
    const bool root = ::geteuid() == 0;
    uid_t uid() const { return root && nobody ? nobody->pw_uid : ::geteuid(); }
    gid_t gid() const { return root && nobody ? nobody->pw_gid : ::getegid(); }
};

std::filesystem::file_type typeOf(const std::string& path) { return std::filesystem::symlink_status(path).type(); }

} // namespace

TEST_F(FileTest, RoundTripsFailedLoadsListingsTemporaryFilesFileTypesAndASaveKeepingOwnerAndMode)
{
    ASSERT_EQ(db->save(dir.file("empty.si")), 0);
    EXPECT_EQ((std::tuple{db->storedCrc() != 0, readFile(dir.file("empty.si")).replace(8, 4, 4, '\0'), db->lastPath()}),
              (std::tuple{true, std::string(IMAGE_SIZE, '\0'), dir.file("empty.si")}));

    generateSample(*db, {false, 7});
    db->raw().setU32(0, 0x12345678); // receiver-owned header
    db->raw().setU8(5000, 0x5A);     // settings block
    db->raw().setU8(layout::CRC_ZERO_BYTE, 0x77);
    std::string original = imageBytes(*db);
    writeFile(dir.file("in.si"), original);
    auto other = std::make_unique<ChannelDatabase>();
    other->setListingPath("");
    ASSERT_EQ((V{other->load(dir.file("in.si")), other->isLoaded(), other->save(dir.file("out.si"))}), (V{0, 1, 0}));
    EXPECT_EQ(other->storedCrc(), other->computeCrc());
    original[layout::CRC_ZERO_BYTE] = 0;
    EXPECT_EQ(readFile(dir.file("out.si")).replace(8, 4, original.substr(8, 4)), original);

    // A file that does not load changes nothing: the database in memory may hold the user's only copy.
    ChannelDatabase fresh;
    MessageRecorder freshMessages(fresh);
    fresh.setListingPath("");
    writeFile(dir.file("short.si"), std::string(10, '\x11'));
    fresh.raw().setU8(9, 0x22);
    EXPECT_EQ((std::tuple{fresh.load(dir.file("short.si")), fresh.isLoaded(), freshMessages.texts.back(),
                          freshMessages.icons.back(), fresh.raw().u8(9)}),
              (std::tuple{-3, false, "Error: Open failed2", MessageIcon::Exclamation, 0x22}));

    writeFile(dir.file("long.si"), std::string(20000, '\0') + '\x42' + std::string(779999, '\0'));
    EXPECT_EQ((V{fresh.load(dir.file("long.si")), fresh.raw().u8(20000)}), (V{0, 0x42}));
    fresh.raw().setU8(20001, 0x43);
    freshMessages.clear();
    EXPECT_EQ((std::tuple{fresh.load(dir.file("missing.si")), freshMessages.texts, fresh.isLoaded(),
                          fresh.raw().u8(20001), fresh.lastPath()}),
              (std::tuple{-1, S{"Open1"}, true, 0x43, dir.file("long.si")}));

    // Listing lines are fixed width and a 16-character name is not cut.
    db->assignImage(nullptr, 0);
    DatabaseBuilder b(*db);
    b.addSatellite({1, 192, "Sat"});
    b.addTransponder({1, 11000});
    for (const char* p : {"Used", "Unused", "Also used"}) b.addProvider(p);
    b.addTvProgram({"News", 0, 0, 1201, 512, 650, 512, 1});
    b.addTvProgram({"ABCDEFGHIJKLMNOP", 0, 0, 1, 2, 3, 4, 0});
    b.addRadioProgram({"\x05Radio", 2, 0, 7, 8191, 32767, 65535, 0x2F});
    b.finish();
    ASSERT_EQ((V{db->save(dir.file("p.si")), db->load(dir.file("p.si")), db->providerCount()}), (V{0, 0, 2}));
    EXPECT_EQ(readFile(dir.file("programs.nfo")), "                News  1201     0     0  512  650  512 1\n"
                                                  "    ABCDEFGHIJKLMNOP     1     0     0    2    3    4 0\n"
                                                  "05             Radio     7     1     0 8191 32767 65535 2F\n");
    EXPECT_FALSE(db->writeProgramListing(dir.file("no/such/dir/l.nfo")));

    generateSample(*db, {false, 3});
    // A save removes the temporary files of killed saves; one still writing holds its file locked.
    const S stale = {"db.si.a1B2c3", "db.si.ZZZZZZ"};
    const S kept = {"db.si.abc", "db.si.a1B2c3.x", "other.si.a1B2c3", "db.si.Live00"};
    for (const auto& n : stale) writeFile(dir.file(n), "half");
    for (const auto& n : kept) writeFile(dir.file(n), "keep");
    const int live = ::open(dir.file("db.si.Live00").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(live, LOCK_EX), 0);
    ASSERT_EQ(db->save(dir.file("db.si")), 0);
    ::close(live);
    for (const auto& n : stale) EXPECT_FALSE(std::filesystem::exists(dir.file(n))) << n;
    for (const auto& n : kept) EXPECT_TRUE(std::filesystem::exists(dir.file(n))) << n;
    ::mkfifo(dir.file("fifo.si").c_str(), 0666); // an open that blocks on it hangs until ctest gives up
    ::mkdir(dir.file("folder.si").c_str(), 0755);
    const char* links[][2] = {
        {"to-fifo.si", "fifo.si"}, {"to-db.si", "db.si"}, {"dangling.si", "new.si"}, {"nowhere.si", "missing/new.si"}};
    for (const auto& [link, to] : links) ::symlink(to, dir.file(link).c_str());
    for (const char* name : {"fifo.si", "folder.si", "/dev/zero", "to-fifo.si", "to-db.si"}) {
        auto other = std::make_unique<ChannelDatabase>();
        MessageRecorder otherMessages(*other);
        other->setListingPath("");
        other->raw().setU8(20001, 0x43);
        const bool regular = name == std::string("to-db.si");
        EXPECT_EQ((std::tuple{other->load(name[0] == '/' ? name : dir.file(name)), otherMessages.texts,
                              imageBytes(*other) == imageBytes(*db), other->raw().u8(20001), other->isLoaded()}),
                  (std::tuple{regular ? 0 : -1, regular ? S{} : S{"Open1"}, regular,
                              regular ? db->raw().u8(20001) : 0x43, regular}))
            << name;
    }

    using std::filesystem::file_type;
    const std::pair<const char*, file_type> refused[] = {{"fifo.si", file_type::fifo},
                                                         {"to-fifo.si", file_type::symlink},
                                                         {"nowhere.si", file_type::symlink},
                                                         {"folder.si", file_type::directory},
                                                         {"missing/db.si", file_type::not_found}};
    for (const auto& [name, after] : refused) {
        EXPECT_EQ(db->save(dir.file(name)), -1) << name;
        EXPECT_EQ(typeOf(dir.file(name)), after) << name;
    }
    EXPECT_EQ(db->save(dir.file("dangling.si")), 0); // a dangling link: its target is created
    EXPECT_EQ((std::pair{typeOf(dir.file("dangling.si")), typeOf(dir.file("new.si"))}),
              (std::pair{file_type::symlink, file_type::regular}));
    EXPECT_EQ(readFile(dir.file("new.si")), imageBytes(*db));
    const auto it = std::filesystem::directory_iterator(dir.path());
    EXPECT_EQ(std::count_if(begin(it), end(it), [](const auto& e) { return !e.is_directory(); }), 18); // no temporary

    // Root may give the file back to anyone; a user keeps its own file and group.
    writeFile(dir.file("m.si"), "x");
    ::chmod(dir.file("m.si").c_str(), 0640);
    ASSERT_EQ(::chown(dir.file("m.si").c_str(), uid(), gid()), 0);
    ASSERT_EQ(db->save(dir.file("m.si")), 0);
    struct stat st {};
    ::stat(dir.file("m.si").c_str(), &st);
    EXPECT_EQ((std::tuple{st.st_mode & 07777, st.st_uid, st.st_gid}), (std::tuple{0640u, uid(), gid()}));

    // open: the user may write the folder, not the file; locked: the folder, not the file.
    ::chmod(dir.path().c_str(), 0755);
    ::mkdir(dir.file("open").c_str(), 0777);
    ::chmod(dir.file("open").c_str(), 0777);
    ::mkdir(dir.file("locked").c_str(), 0755);
    const auto put = [&](const char* name, const std::string& bytes, mode_t mode) {
        writeFile(dir.file(name), bytes);
        ::chmod(dir.file(name).c_str(), mode);
    };
    put("open/read-only.si", "old", 0444);
    put("locked/shared.si", std::string(IMAGE_SIZE + 100, 'o'), 0666);
    put("locked/small.si", "old", 0666);
    ::chmod(dir.file("locked").c_str(), 0555);
    struct stat before {};
    ::stat(dir.file("locked/shared.si").c_str(), &before);

    if (root && !nobody) GTEST_SKIP() << "no user to run a child without root's privileges";
    // The child's exit status has bit k set when save k succeeded.
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (root && (::setgroups(0, nullptr) != 0 || ::setgid(gid()) != 0 || ::setuid(uid()) != 0)) ::_exit(255);
        int saved = db->save(dir.file("open/read-only.si")) == 0;
        saved |= (db->save(dir.file("locked/shared.si")) == 0) << 1;
        saved |= (db->save(dir.file("locked/new.si")) == 0) << 2;
        // A write in place that fails half-way puts the old contents back.
        ignoreFileSizeSignal();
        const rlimit small{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &small);
        ::_exit(saved | (db->save(dir.file("locked/small.si")) == 0) << 3);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ::chmod(dir.file("locked").c_str(), 0755);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 255) GTEST_SKIP() << "cannot drop root's privileges here";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0b0010) << status;
    EXPECT_EQ(readFile(dir.file("open/read-only.si")) + readFile(dir.file("locked/small.si")), "oldold");
    struct stat after {};
    ::stat(dir.file("locked/shared.si").c_str(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino);
    db->updateCrc(db->loadedVersion()); // as the save in the child did
    EXPECT_EQ(readFile(dir.file("locked/shared.si")), imageBytes(*db));
    EXPECT_FALSE(std::filesystem::exists(dir.file("locked/new.si")));
}
