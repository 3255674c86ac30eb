// satorix-cli as scripts and new users meet it: exit codes, outputs, messages, no stray files.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sys/stat.h>
#include <sys/wait.h>

#include "db/DatabaseBuilder.h"
#include "satorix/Version.h"
#include "tests/support/TempDir.h"

using namespace satorix;
using satorix::test::readFile;
using satorix::test::TempDir;

namespace {

struct CliRun {
    int code;
    std::string out;
};

struct CliTest : ::testing::Test {
    TempDir dir;

    // Runs the command line in the temporary directory, after the shell words in before; its
    // stdout and stderr go to out.txt and err.txt there unless args redirect them.
    CliRun cli(const std::string& args, const std::string& before = "")
    {
        const std::string cmd =
            "cd '" + dir.path() + "' && (" + before + " '" SATORIX_CLI "' " + args + ") >out.txt 2>err.txt";
        const int status = std::system(cmd.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(dir.file("out.txt"))};
    }
    std::string err() { return readFile(dir.file("err.txt")); }
};

} // namespace

TEST_F(CliTest, ListFormatsCarryTheRowTexts)
{
    auto db = std::make_unique<ChannelDatabase>();
    DatabaseBuilder b(*db);
    b.addSatellite({1, 192, "Astra 1E-2C"});
    b.addTransponder({1, 11778, 1, 27500, 3});
    b.addProvider("Say \"hi\", all");
    b.addTvProgram({"\x05One", 0, 0, 1, 0, 0, 0, FLAG_SCRAMBLED});
    b.addRadioProgram({"Two", 0, 0, 2});
    b.addFavourite(2, 1);
    b.finish();
    ASSERT_EQ(db->save(dir.file("l.si")), 0);

    CliRun r = cli("list l.si --format csv");
    ASSERT_EQ(r.code, 0) << err();
    EXPECT_EQ(r.out,
              "number,name,kind,service_id,provider,satellite,position,frequency,polarisation,symbol_rate,video_pid,"
              "audio_pid,pcr_pid,scrambled,scpc,locked,user,favourites,key\r\n"
              "1,One,tv,1,\"Say \"\"hi\"\", all\",Astra 1E-2C,19.2E,11778,V,27500,0,0,0,true,false,false,false,,"
              "192E:11778:V:1\r\n"
              "2,Two,radio,2,\"Say \"\"hi\"\", all\",Astra 1E-2C,19.2E,11778,V,27500,0,0,0,false,false,false,false,3,"
              "192E:11778:V:2\r\n");

    r = cli("list l.si --format json --favourite 3 --radio");
    ASSERT_EQ(r.code, 0);
    const auto j = nlohmann::json::parse(r.out);
    ASSERT_EQ(j.size(), 1u);
    EXPECT_EQ(j[0]["number"], 1);
    EXPECT_EQ(j[0]["name"], "Two");

    r = cli("list l.si --tv");
    EXPECT_NE(r.out.find("Ch Index"), std::string::npos);
    EXPECT_NE(r.out.find("One"), std::string::npos);
    EXPECT_EQ(r.out.find("Two"), std::string::npos);
}

TEST_F(CliTest, SpecialFilesAreRefusedAndAFileSizeLimitIsAFailedSave)
{
    ASSERT_EQ(cli("sample -o db.si").code, 0);
    const std::string saved = readFile(dir.file("db.si"));
    ::mkfifo(dir.file("fifo.si").c_str(), 0666);
    // A command that waited on the FIFO would be ended by timeout with 124.
    const struct {
        std::string args, message;
    } reads[] = {
        {"info fifo.si", "not a regular file"},    {"check fifo.si", "not a regular file"},
        {"fix-crc fifo.si", "not a regular file"}, {"list fifo.si", "not a regular file"},
        {"nfo fifo.si", "not a regular file"},     {"upload --device /nonexistent fifo.si", "not a regular file"},
        {"sample -o fifo.si", "cannot write"},
    };
    for (const auto& c : reads) {
        EXPECT_EQ(cli(c.args, "timeout 20").code, 1) << c.args;
        EXPECT_NE(err().find(c.message), std::string::npos) << c.args << ": " << err();
    }
    EXPECT_EQ(std::filesystem::status(dir.file("fifo.si")).type(), std::filesystem::file_type::fifo);

    // Under a file-size limit the save fails and says so, the program is not killed.
    for (const char* args : {"fix-crc db.si", "sample -o new.si"}) {
        const CliRun r = cli(args, "ulimit -f 100 &&");
        EXPECT_EQ(r.code, 1) << args << " (153: the shell saw SIGXFSZ end it)";
        EXPECT_NE(err().find("cannot write"), std::string::npos) << args;
    }
    EXPECT_EQ(readFile(dir.file("db.si")), saved);
    EXPECT_FALSE(std::filesystem::exists(dir.file("new.si")));
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        EXPECT_EQ(e.path().filename().string().find(".si."), std::string::npos) << "a temporary file stayed";
}

// Exit codes (2 usage, 1 failure), every failure names the file and the reason, help shows
// defaults, reading writes no listing, and the spreadsheet and reference commands round-trip.
TEST_F(CliTest, CommandsSayWhatFailedAndRoundTrip)
{
    ASSERT_EQ(cli("sample -o s.si --seed 5").code, 0);
    const std::string image = readFile(dir.file("s.si"));
    ASSERT_EQ(image.size(), IMAGE_SIZE);
    test::writeFile(dir.file("short.si"), image.substr(0, 1000));
    test::writeFile(dir.file("long.si"), image + "x");
    std::string bad = image;
    bad[600000] ^= 0x40; // breaks the CRC only
    test::writeFile(dir.file("bad.si"), bad);
    ASSERT_EQ(cli("list s.si --format csv > s.csv").code, 0);
    EXPECT_FALSE(std::filesystem::exists(dir.file("programs.nfo"))) << "reading wrote a listing";

    const std::string version = satorix::version::NUMBER;
    const struct {
        std::string args;
        int code;
        std::string out, err, notInErr; // in stdout, in stderr, never in stderr
        std::string before = "";        // shell words first
    } cases[] = {
        {"--version", 0, "stbsim " + version + "\nsatorix-cli " + version, "", "", "'" STBSIM "' --version &&"},
        {"", 2, "", "", ""},
        {"list", 2, "", "", ""},
        {"list x.si --tv --radio", 2, "", "", ""},
        {"list x.si --favourite 10", 2, "", "", ""},
        {"check --help", 0, "", "", ""},
        {"check missing.si", 1, "", "missing.si", ""},
        {"check s.si", 0, "", "", ""},
        {"check bad.si", 1, "CRC mismatch", "", ""},
        {"fix-crc bad.si", 0, "", "", ""},
        {"check bad.si", 0, "", "", ""},
        {"check short.si", 1, "", "short.si: 1000 bytes", ""},
        {"sample --full -o full.si", 0, "", "", ""},
        {"check full.si", 0, "", "", ""},
        {"info full.si", 0, "Programs: 20000 (TV 15000, radio 5000)", "", ""},
        {"info full.si", 0, "(match)", "", ""},
        {"nfo s.si", 0, "", "", ""},
        {"frobnicate s.si", 2, "", "unknown command 'frobnicate'", ""},
        {"frob", 2, "", "apply-reference", ""},
        {"nfo s.si -o /nonexistent/dir/x.nfo", 1, "", "cannot write /nonexistent/dir/x.nfo: No such file", ""},
        {"fix-crc long.si", 1, "", "long.si: 721969 bytes", ""},
        {"list short.si", 1, "", "short.si: 1000 bytes", "Open"},
        {"nfo short.si", 1, "", "short.si: 1000 bytes", "Open"},
        {"upload --device /nonexistent/tty short.si", 1, "", "short.si: 1000 bytes", "Open"},
        {"list missing.si", 1, "", "cannot open missing.si: No such file", "Open1"},
        {"list --help", 0, "=text", "", ""},
        {"nfo --help", 0, "=programs.nfo", "", ""},
        {"upload --help", 0, "=115200", "", ""},
        {"upload --port 2 s.si", 1, "", "Opening port COM2 (/nonexistent/tty2)", "", "SATORIX_COM2=/nonexistent/tty2"},
        {"upload --device /nonexistent/tty s.si", 1, "", "Opening /nonexistent/tty", "COM1"},
        {"import s.si s.csv -o i.si", 0, "Rows: 330, matched: 330", "", ""},
        {"import s.si missing.csv -o i.si", 1, "", "cannot open missing.csv", ""},
        {"import s.si s.si -o x.si", 1, "", "no \"key\" column", ""},
        {"apply-reference s.si s.si -o r.si --names", 0, "Matched: 330", "", ""},
        {"apply-reference s.si short.si -o x.si", 1, "", "short.si: 1000 bytes", ""},
    };
    for (const auto& c : cases) {
        const CliRun r = cli(c.args, c.before);
        EXPECT_EQ(r.code, c.code) << c.args << "\n" << err();
        EXPECT_NE(r.out.find(c.out), std::string::npos) << c.args << "\n" << r.out;
        EXPECT_NE(err().find(c.err), std::string::npos) << c.args << "\n" << err();
        if (!c.notInErr.empty()) {
            EXPECT_EQ(err().find(c.notInErr), std::string::npos) << c.args << "\n" << err();
        }
    }
    EXPECT_TRUE(std::filesystem::exists(dir.file("programs.nfo")));
    EXPECT_EQ(readFile(dir.file("long.si")), image + "x");
    EXPECT_EQ(readFile(dir.file("i.si")), image);
    EXPECT_EQ(readFile(dir.file("r.si")), image);
}
