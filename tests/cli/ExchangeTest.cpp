// satorix-cli as a new user meets it: every failure names the file and the reason, help shows
// defaults, and the spreadsheet and reference commands round-trip a database.
#include <gtest/gtest.h>

#include <cstdio>
#include <sys/wait.h>

#include "satorix/Version.h"
#include "tests/support/TempDir.h"

using satorix::test::readFile;
using satorix::test::TempDir;

namespace {

struct Case {
    std::string args;
    int code;
    std::string out;      // in stdout
    std::string err;      // in stderr
    std::string notInErr; // never in stderr
};

struct Result {
    int code;
    std::string out, err;
};

Result run(const TempDir& dir, const std::string& command)
{
    const std::string cmd = "cd '" + dir.path() + "' && " + command + " 2>err.txt";
    Result r{-1, {}, {}};
    std::FILE* p = ::popen(cmd.c_str(), "r");
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) r.out.append(buf, n);
    const int status = ::pclose(p);
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.err = readFile(dir.file("err.txt"));
    return r;
}

TEST(CliExchangeTest, CommandsSayWhatFailedAndRoundTrip)
{
    TempDir dir;
    const std::string cli = "'" SATORIX_CLI "' ";
    ASSERT_EQ(run(dir, cli + "sample -o s.si").code, 0);
    const std::string image = readFile(dir.file("s.si"));
    satorix::test::writeFile(dir.file("short.si"), image.substr(0, 1000));
    satorix::test::writeFile(dir.file("long.si"), image + "x");
    ASSERT_EQ(run(dir, cli + "list s.si --format csv > s.csv").code, 0);

    const std::string version = satorix::version::NUMBER;
    const Case cases[] = {
        {"--version", 0, "satorix-cli " + version, "", ""},
        {"'" STBSIM "' --version", 0, "stbsim " + version, "", ""},
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
        {"SATORIX_COM2=/nonexistent/tty2 " + cli + "upload --port 2 s.si", 1, "",
         "Opening port COM2 (/nonexistent/tty2)", ""},
        {"upload --device /nonexistent/tty s.si", 1, "", "Opening /nonexistent/tty", "COM1"},
        {"import s.si s.csv -o i.si", 0, "Rows: 330, matched: 330", "", ""},
        {"import s.si missing.csv -o i.si", 1, "", "cannot open missing.csv", ""},
        {"import s.si s.si -o x.si", 1, "", "no \"key\" column", ""},
        {"apply-reference s.si s.si -o r.si --names", 0, "Matched: 330", "", ""},
        {"apply-reference s.si short.si -o x.si", 1, "", "short.si: 1000 bytes", ""},
    };
    for (const Case& c : cases) {
        // Cases that start with a program or an environment setting are whole commands.
        const bool whole = c.args[0] == '\'' || c.args.rfind("SATORIX_", 0) == 0;
        const Result r = run(dir, whole ? c.args : cli + c.args);
        EXPECT_EQ(r.code, c.code) << c.args << "\n" << r.err;
        EXPECT_NE(r.out.find(c.out), std::string::npos) << c.args << "\n" << r.out;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << c.args << "\n" << r.err;
        if (!c.notInErr.empty()) {
            EXPECT_EQ(r.err.find(c.notInErr), std::string::npos) << c.args << "\n" << r.err;
        }
    }
    EXPECT_EQ(readFile(dir.file("long.si")), image + "x");
    EXPECT_EQ(readFile(dir.file("i.si")), image);
    EXPECT_EQ(readFile(dir.file("r.si")), image);
}

} // namespace
