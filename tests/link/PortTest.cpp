// StbPort on a pseudo-terminal: port names, exclusive opens and the waiting rules at full length.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <termios.h>
#include <unistd.h>

#include "tests/link/LinkTestSupport.h"

using namespace satorix;
using namespace satorix::link;
using satorix::test::secondsSince;
using Clock = std::chrono::steady_clock;

namespace {

// A pseudo-terminal whose master end the test drives by hand.
struct PtyPair : testing::Test {
    stbsim::Pty pty;
    PtyPair() { EXPECT_TRUE(pty.open()) << pty.error(); }
    void send(const std::string& bytes) const
    {
        EXPECT_EQ(::write(pty.master(), bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
};

} // namespace

TEST_F(PtyPair, PortNumbersAClosedPortExclusiveOpensPurgeAndRawReads)
{
    ::unsetenv("SATORIX_COM2");
    EXPECT_EQ(
        (std::vector<std::string>{"/dev/ttyS0", "/dev/ttyS3", "", "", "/dev/ttyUSB0", "/dev/ttyS1"}),
        (std::vector{StbPort::devicePath(1), StbPort::devicePath(4), StbPort::devicePath(0), StbPort::devicePath(5),
                     StbPort::devicePath(2, "/dev/ttyUSB0"), StbPort::devicePath(2, "")}));
    ::setenv("SATORIX_COM2", "/dev/ttyACM7", 1);
    EXPECT_EQ(StbPort::devicePath(2, "/dev/ttyUSB0"), "/dev/ttyACM7"); // the environment wins
    ::unsetenv("SATORIX_COM2");

    StbPort port;
    EXPECT_EQ(port.open(0, 115200) + port.open(5, 115200), 0);
    EXPECT_FALSE(port.isOpen());
    // A read on a port that is not open prints what the receiver's tools printed; a write fails.
    std::uint8_t byte = 0;
    std::size_t got = 7;
    testing::internal::CaptureStdout();
    EXPECT_EQ(port.netd_read(&byte, 1, got), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "netd_read() Error\n");
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(port.netd_write(&byte, 1, got), 1);

    ::setenv("SATORIX_COM3", pty.slavePath().c_str(), 1);
    StbPort a, b;
    ASSERT_EQ(a.open(3, 57600), 1);
    EXPECT_EQ(b.openDevice(pty.slavePath(), 115200), 0) << "second open of a port in use";
    EXPECT_EQ(b.lastError(), pty.slavePath() + ": in use by another program");
    a.close();
    EXPECT_FALSE(a.isOpen());
    EXPECT_EQ(b.open(3, 115200), 1);
    ::unsetenv("SATORIX_COM3");

    EXPECT_EQ(port.openDevice("/nonexistent/ttyS9", 115200), 0);
    EXPECT_EQ(port.lastError(), "/nonexistent/ttyS9: No such file or directory");
    // A device the user may not open names its group and how to join it.
    const std::string denied = StbPort::openFailure(pty.slavePath(), EACCES);
    EXPECT_EQ(denied.substr(0, denied.find('\n')), pty.slavePath() + ": Permission denied");
    EXPECT_NE(denied.find("sudo usermod -aG "), std::string::npos) << denied;
    b.close();

    const std::string stale = "stale bytes before the open";
    send(stale);
    for (int i = 0; i < 1000 && pty.unreadBySlave() < stale.size(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ASSERT_GE(pty.unreadBySlave(), stale.size());
    ASSERT_EQ(port.openDevice(pty.slavePath(), 115200), 1);
    // Control characters pass untouched: no echo, no line editing, no CR/LF mapping, no XON/XOFF.
    const std::string raw("\x02\r\n\x11\x13\x03\x7f\x00", 8);
    send(raw);
    char buf[8]{};
    got = 0;
    EXPECT_EQ(port.netd_read(reinterpret_cast<std::uint8_t*>(buf), sizeof buf, got), 0);
    EXPECT_EQ(std::string(buf, got), raw);
    termios mode{};
    ASSERT_EQ(::tcgetattr(port.fd(), &mode), 0);
    EXPECT_EQ(std::pair(mode.c_lflag & (ECHO | ICANON | ISIG), mode.c_iflag & (IXON | IXOFF | ICRNL | INLCR)),
              std::pair(0u, 0u));
}

TEST_F(PtyPair, ReadWaitsConstantPlusPerByteOrUntilSilenceAndBlockedWriteFailsAfterTenAttempts)
{
    StbPort port;
    ASSERT_EQ(port.openDevice(pty.slavePath(), 115200), 1);
    std::uint8_t buf[100];
    // 1,000 ms plus 20 ms a byte asked for.
    for (const auto& [bytes, least, most] : {std::tuple{1, 1.01, 2.0}, {100, 2.99, 4.5}}) {
        std::size_t got = 99;
        const auto t = Clock::now();
        EXPECT_EQ(port.netd_read(buf, static_cast<std::size_t>(bytes), got), 0);
        EXPECT_TRUE(got == 0 && secondsSince(t) >= least && secondsSince(t) < most) << got << " " << secondsSince(t);
    }

    std::thread late([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        send("0123456789");
    });
    std::size_t got = 0;
    const auto t = Clock::now();
    port.netd_read(buf, 25, got);
    late.join();
    // 300 ms before the first byte, then 200 ms of silence; the 1,500 ms total is not reached.
    EXPECT_TRUE(got == 10 && secondsSince(t) >= 0.49 && secondsSince(t) < 1.4) << got << " " << secondsSince(t);

    // Nobody reads the master: fill the pseudo-terminal until it takes no more. The kernel moves
    // data on to the master's side in the background, so fill until it stays full.
    std::vector<std::uint8_t> chunk(4096, 0x55);
    for (int settled = 0; settled < 5; std::this_thread::sleep_for(std::chrono::milliseconds(20))) {
        bool took = false;
        while (::write(port.fd(), chunk.data(), chunk.size()) > 0) took = true;
        ASSERT_EQ(errno, EAGAIN);
        settled = took ? 0 : settled + 1;
    }
    got = 9;
    const auto w = Clock::now();
    EXPECT_EQ(port.netd_write(chunk.data(), 1, got), 1);
    EXPECT_TRUE(got == 0 && secondsSince(w) >= 10 * 1.01 && secondsSince(w) < 16.0) << secondsSince(w);
}
