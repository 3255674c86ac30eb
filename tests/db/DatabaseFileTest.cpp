#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <grp.h>
#include <memory>
#include <pwd.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include "db/ChannelDatabase.h"
#include "db/DatabaseBuilder.h"
#include "db/FileSystem.h"
#include "db/SampleGenerator.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/TempDir.h"

using namespace satorix;
using satorix::test::MessageRecorder;
using satorix::test::readFile;
using satorix::test::TempDir;
using satorix::test::writeFile;

namespace {

std::string imageBytes(const ChannelDatabase& db) { return {reinterpret_cast<const char*>(db.image()), IMAGE_SIZE}; }

struct FileTest : ::testing::Test {
    TempDir dir;
    std::unique_ptr<ChannelDatabase> db = std::make_unique<ChannelDatabase>();
    MessageRecorder messages{*db};
    FileTest() { db->setListingPath(dir.file("programs.nfo")); }

    int entries() const
    {
        int n = 0;
        for (const auto& e : std::filesystem::directory_iterator(dir.path())) n += e.is_directory() ? 0 : 1;
        return n;
    }
};

std::filesystem::file_type typeOf(const std::string& path) { return std::filesystem::symlink_status(path).type(); }

bool makeSocket(const std::string& path)
{
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (path.size() >= sizeof addr.sun_path) return false;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool ok = fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    if (fd >= 0) ::close(fd); // the socket file stays
    return ok;
}

// Runs f in a child process without root's privileges (as "nobody" when the test runs as root)
// and returns the numbers f wrote to its pipe; false when no such user exists.
bool runUnprivileged(const std::function<void(int out)>& f, std::vector<int>& results)
{
    const passwd* nobody = ::getpwnam("nobody");
    if (::geteuid() == 0 && !nobody) return false;
    const uid_t uid = nobody ? nobody->pw_uid : 0;
    const gid_t gid = nobody ? nobody->pw_gid : 0;
    int fds[2];
    if (::pipe(fds) != 0) return false;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0)) ::_exit(2);
        f(fds[1]);
        ::_exit(0);
    }
    ::close(fds[1]);
    int v;
    while (::read(fds[0], &v, sizeof v) == static_cast<ssize_t>(sizeof v)) results.push_back(v);
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void report(int out, int v)
{
    if (::write(out, &v, sizeof v) != static_cast<ssize_t>(sizeof v)) ::_exit(3);
}

} // namespace

TEST_F(FileTest, RoundTripKeepsEveryByteButCrcAndByte10079)
{
    ASSERT_EQ(db->save(dir.file("empty.si")), 0);
    std::string bytes = readFile(dir.file("empty.si"));
    EXPECT_NE(db->storedCrc(), 0u);
    EXPECT_EQ(bytes.replace(8, 4, 4, '\0'), std::string(IMAGE_SIZE, '\0'));
    EXPECT_EQ(db->lastPath(), dir.file("empty.si"));

    generateSample(*db, {false, 7});
    db->raw().setU32(0, 0x12345678); // receiver-owned header
    db->raw().setU8(5000, 0x5A);     // settings block
    db->raw().setU8(layout::CRC_ZERO_BYTE, 0x77);
    std::string original = imageBytes(*db);
    writeFile(dir.file("in.si"), original);
    auto other = std::make_unique<ChannelDatabase>();
    other->setListingPath("");
    ASSERT_EQ(other->load(dir.file("in.si")), 0);
    EXPECT_TRUE(other->isLoaded());
    ASSERT_EQ(other->save(dir.file("out.si")), 0);
    EXPECT_EQ(other->storedCrc(), other->computeCrc());
    original[layout::CRC_ZERO_BYTE] = 0;
    EXPECT_EQ(readFile(dir.file("out.si")).replace(8, 4, original.substr(8, 4)), original);
}

// A file that does not load changes nothing: the database in memory may hold the user's only copy.
TEST_F(FileTest, ShortLongAndMissingFiles)
{
    writeFile(dir.file("short.si"), std::string(10, '\x11'));
    db->raw().setU8(9, 0x22);
    EXPECT_EQ(db->load(dir.file("short.si")), -3);
    EXPECT_FALSE(db->isLoaded());
    EXPECT_EQ(messages.texts.back(), "Error: Open failed2");
    EXPECT_EQ(messages.icons.back(), MessageIcon::Exclamation);
    EXPECT_EQ(db->raw().u8(9), 0x22);

    std::string longFile(800000, '\0');
    longFile[20000] = '\x42';
    writeFile(dir.file("long.si"), longFile);
    EXPECT_EQ(db->load(dir.file("long.si")), 0);
    EXPECT_EQ(db->raw().u8(20000), 0x42);
    db->raw().setU8(20001, 0x43);
    messages.clear();
    EXPECT_EQ(db->load(dir.file("missing.si")), -1);
    EXPECT_EQ(messages.texts, std::vector<std::string>{"Open1"});
    EXPECT_TRUE(db->isLoaded());
    EXPECT_EQ(db->raw().u8(20001), 0x43);
    EXPECT_EQ(db->lastPath(), dir.file("long.si"));
}

// Listing lines are fixed width and a 16-character name is not cut.
TEST_F(FileTest, LoadPurgesProvidersAndWritesTheListing)
{
    DatabaseBuilder b(*db);
    b.addSatellite({1, 192, "Sat"});
    b.addTransponder({1, 11000});
    for (const char* p : {"Used", "Unused", "Also used"}) b.addProvider(p);
    b.addTvProgram({"News", 0, 0, 1201, 512, 650, 512, 1});
    b.addTvProgram({"ABCDEFGHIJKLMNOP", 0, 0, 1, 2, 3, 4, 0});
    b.addRadioProgram({"\x05Radio", 2, 0, 7, 8191, 32767, 65535, 0x2F});
    b.finish();
    ASSERT_EQ(db->save(dir.file("p.si")), 0);
    auto other = std::make_unique<ChannelDatabase>();
    other->setListingPath(dir.file("programs.nfo"));
    ASSERT_EQ(other->load(dir.file("p.si")), 0);
    EXPECT_EQ(other->providerCount(), 2);
    EXPECT_EQ(readFile(dir.file("programs.nfo")), "                News  1201     0     0  512  650  512 1\n"
                                                  "    ABCDEFGHIJKLMNOP     1     0     0    2    3    4 0\n"
                                                  "05             Radio     7     1     0 8191 32767 65535 2F\n");
    db->writeProgramListing(dir.file("no/such/dir/l.nfo")); // silently nothing
}

TEST_F(FileTest, OnlyRegularFilesOrLinksToThemLoadOrAreSaved)
{
    generateSample(*db, {false, 3});
    ASSERT_EQ(db->save(dir.file("db.si")), 0);
    ::mkfifo(dir.file("fifo.si").c_str(), 0666); // an open that blocks on it hangs until ctest gives up
    ASSERT_TRUE(makeSocket(dir.file("socket.si")));
    ::mkdir(dir.file("folder.si").c_str(), 0755);
    for (const auto& [link, to] : {std::pair{"to-fifo.si", "fifo.si"},
                                   {"to-db.si", "db.si"},
                                   {"dangling.si", "new.si"},
                                   {"nowhere.si", "missing/new.si"}})
        ::symlink(to, dir.file(link).c_str());
    for (const char* name : {"fifo.si", "socket.si", "folder.si", "/dev/zero", "to-fifo.si", "to-db.si"}) {
        auto other = std::make_unique<ChannelDatabase>();
        MessageRecorder otherMessages(*other);
        other->setListingPath("");
        other->raw().setU8(20001, 0x43);
        const std::string path = name[0] == '/' ? name : dir.file(name);
        if (path == dir.file("to-db.si")) {
            EXPECT_EQ(other->load(path), 0);
            EXPECT_EQ(imageBytes(*other), imageBytes(*db));
            continue;
        }
        EXPECT_EQ(other->load(path), -1) << name;
        EXPECT_EQ(otherMessages.texts, std::vector<std::string>{"Open1"}) << name;
        EXPECT_EQ(other->raw().u8(20001), 0x43) << name;
        EXPECT_FALSE(other->isLoaded()) << name;
    }

    // A device of the test's own: as root a save over it would have replaced a real one.
    const bool device = ::mknod(dir.file("null.si").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    using std::filesystem::file_type;
    const std::pair<const char*, file_type> refused[] = {
        {"fifo.si", file_type::fifo},           {"socket.si", file_type::socket},  {"to-fifo.si", file_type::symlink},
        {"nowhere.si", file_type::symlink},     {"null.si", file_type::character}, {"folder.si", file_type::directory},
        {"missing/db.si", file_type::not_found}};
    for (const auto& [name, after] : refused) {
        if (after == file_type::character && !device) continue;
        EXPECT_EQ(db->save(dir.file(name)), -1) << name;
        EXPECT_EQ(typeOf(dir.file(name)), after) << name;
    }
    EXPECT_EQ(db->save(dir.file("dangling.si")), 0); // a dangling link: its target is created
    EXPECT_EQ(typeOf(dir.file("dangling.si")), file_type::symlink);
    EXPECT_EQ(readFile(dir.file("new.si")), imageBytes(*db));
    EXPECT_EQ(typeOf(dir.file("new.si")), file_type::regular);
    EXPECT_EQ(entries(), device ? 9 : 8); // nothing left beside them
}

TEST_F(FileTest, SaveKeepsOwnerGroupAndMode)
{
    writeFile(dir.file("m.si"), "x");
    ::chmod(dir.file("m.si").c_str(), 0640);
    // Root may give the file back to anyone; a user keeps its own file and group.
    const passwd* nobody = ::getpwnam("nobody");
    const uid_t uid = ::geteuid() == 0 && nobody ? nobody->pw_uid : ::geteuid();
    const gid_t gid = ::geteuid() == 0 && nobody ? nobody->pw_gid : ::getegid();
    ASSERT_EQ(::chown(dir.file("m.si").c_str(), uid, gid), 0);
    ASSERT_EQ(db->save(dir.file("m.si")), 0);
    struct stat st {};
    ::stat(dir.file("m.si").c_str(), &st);
    EXPECT_EQ((std::tuple{st.st_mode & 07777, st.st_uid, st.st_gid}), (std::tuple{0640u, uid, gid}));
}

TEST_F(FileTest, SaveAsksTheFileAndWritesInPlaceWhenTheFolderIsReadOnly)
{
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

    generateSample(*db, {false, 3});
    std::vector<int> results;
    const bool ran = runUnprivileged(
        [&](int out) {
            report(out, db->save(dir.file("open/read-only.si")));
            report(out, db->save(dir.file("locked/shared.si")));
            report(out, db->save(dir.file("locked/new.si")));
            // A write in place that fails half-way puts the old contents back.
            ignoreFileSizeSignal();
            const rlimit small{4096, 4096};
            ::setrlimit(RLIMIT_FSIZE, &small);
            report(out, db->save(dir.file("locked/small.si")));
        },
        results);
    ::chmod(dir.file("locked").c_str(), 0755);
    if (!ran && results.empty()) GTEST_SKIP() << "cannot run a child without root's privileges here";
    EXPECT_TRUE(ran);
    EXPECT_EQ(results, (std::vector<int>{-1, 0, -1, -1}));
    EXPECT_EQ(readFile(dir.file("open/read-only.si")) + readFile(dir.file("locked/small.si")), "oldold");
    struct stat after {};
    ::stat(dir.file("locked/shared.si").c_str(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino);
    db->updateCrc(db->loadedVersion()); // as the save in the child did
    EXPECT_EQ(readFile(dir.file("locked/shared.si")), imageBytes(*db));
    EXPECT_FALSE(std::filesystem::exists(dir.file("locked/new.si")));
}

TEST_F(FileTest, ASaveRemovesTheTemporaryFilesOfKilledSaves)
{
    generateSample(*db, {false, 3});
    const std::vector<std::string> stale = {"db.si.a1B2c3", "db.si.ZZZZZZ"};
    const std::vector<std::string> kept = {"db.si.abc", "db.si.a1B2c3.x", "other.si.a1B2c3", "db.si.Live00"};
    for (const auto& n : stale) writeFile(dir.file(n), "half");
    for (const auto& n : kept) writeFile(dir.file(n), "keep");
    // A save still writing holds its file locked.
    const int live = ::open(dir.file("db.si.Live00").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(live, LOCK_EX), 0);
    ASSERT_EQ(db->save(dir.file("db.si")), 0);
    ::close(live);
    for (const auto& n : stale) EXPECT_FALSE(std::filesystem::exists(dir.file(n))) << n;
    for (const auto& n : kept) EXPECT_TRUE(std::filesystem::exists(dir.file(n))) << n;
}
