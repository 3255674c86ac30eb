#include "link/StbPort.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace satorix::link {
namespace {

using Clock = std::chrono::steady_clock;

int msUntil(Clock::time_point t)
{
    const auto d = std::chrono::duration_cast<std::chrono::microseconds>(t - Clock::now()).count();
    return d <= 0 ? 0 : static_cast<int>((d + 999) / 1000);
}

void readFailed()
{
    std::fputs("netd_read() Error\n", stdout);
    std::fflush(stdout);
}

} // namespace

StbPort::~StbPort() { close(); }

std::string StbPort::devicePath(int port, const std::string& chosen)
{
    if (port < 1 || port > PORT_COUNT) return {};
    if (std::string env = environmentDevice(port); !env.empty()) return env;
    if (!chosen.empty()) return chosen;
    return defaultDevice(port);
}

std::string StbPort::defaultDevice(int port) { return "/dev/ttyS" + std::to_string(port - 1); }

std::string StbPort::environmentDevice(int port)
{
    const std::string var = "SATORIX_COM" + std::to_string(port);
    const char* env = std::getenv(var.c_str());
    return env ? env : "";
}

int StbPort::open(int port, std::uint32_t baudRate)
{
    const std::string path = devicePath(port);
    if (path.empty()) {
        lastError_ = "no such port";
        return 0;
    }
    return openDevice(path, baudRate);
}

std::string StbPort::openFailure(const std::string& path, int error)
{
    // An exclusive tty refuses a second opener with EBUSY.
    if (error == EBUSY) return path + ": in use by another program";
    std::string text = path + ": " + std::strerror(error);
    struct stat st {};
    if ((error == EACCES || error == EPERM) && ::stat(path.c_str(), &st) == 0) {
        const struct group* g = ::getgrgid(st.st_gid);
        const std::string name = g && g->gr_name ? g->gr_name : std::to_string(st.st_gid);
        text += "\nOnly members of the group \"" + name +
                "\" may use it: add yourself with\n"
                "sudo usermod -aG " +
                name + " $USER, then log out and in again.";
    }
    return text;
}

int StbPort::openDevice(const std::string& path, std::uint32_t baudRate)
{
    close();
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        lastError_ = openFailure(path, errno);
        return 0;
    }
    // TIOCEXCL keeps other openers of the tty out, flock other programs that honour locks.
    if (::ioctl(fd, TIOCEXCL) != 0 && errno != ENOTTY) {
        lastError_ = openFailure(path, errno);
        ::close(fd);
        return 0;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        lastError_ = path + ": in use by another program";
        ::ioctl(fd, TIOCNXCL);
        ::close(fd);
        return 0;
    }
    fd_ = fd;
    exclusive_ = true;
    lastError_.clear();
    purge();
    applyLineSettings(baudRate);
    return 1;
}

int StbPort::attach(int fd)
{
    close();
    if (fd < 0) return 0;
    fd_ = fd;
    exclusive_ = false;
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    applyLineSettings(115200);
    return 1;
}

void StbPort::applyLineSettings(std::uint32_t baudRate)
{
    // Results are not checked: a pseudo-terminal or an adapter may not know every setting, and
    // the line works without them.
    termios tio{};
    ::tcgetattr(fd_, &tio);
    tio.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF |
                                          IXANY | INPCK);
    tio.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    tio.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS | HUPCL);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    const speed_t speed = baudRate == 57600 ? B57600 : B115200;
    ::cfsetispeed(&tio, speed);
    ::cfsetospeed(&tio, speed);
    ::tcsetattr(fd_, TCSANOW, &tio);
    // The receiver does no handshaking; leave DTR and RTS down.
    int lines = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(fd_, TIOCMBIC, &lines);
}

void StbPort::close()
{
    if (fd_ < 0) return;
    if (exclusive_) {
        // The exclusive flag outlives our descriptor while others hold the tty open.
        ::ioctl(fd_, TIOCNXCL);
        ::flock(fd_, LOCK_UN);
    }
    ::close(fd_);
    fd_ = -1;
    exclusive_ = false;
}

void StbPort::purge()
{
    if (fd_ >= 0) ::tcflush(fd_, TCIOFLUSH);
}

int StbPort::netd_read(std::uint8_t* buffer, std::size_t count, std::size_t& received)
{
    received = 0;
    if (fd_ < 0) {
        readFailed();
        return 0;
    }
    const auto start = Clock::now();
    const auto deadline =
        start + std::chrono::milliseconds(timeouts_.readConstantMs) +
        std::chrono::milliseconds(static_cast<long long>(timeouts_.readPerByteMs) * static_cast<long long>(count));
    Clock::time_point lastByte{};
    while (received < count) {
        const ssize_t n = ::read(fd_, buffer + received, count - received);
        if (n > 0) {
            received += static_cast<std::size_t>(n);
            lastByte = Clock::now();
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            readFailed();
            return 0;
        }
        int wait = msUntil(deadline);
        if (received > 0)
            wait = std::min(wait, msUntil(lastByte + std::chrono::milliseconds(timeouts_.readIntervalMs)));
        if (wait <= 0) break;
        pollfd p{fd_, POLLIN, 0};
        const int r = ::poll(&p, 1, wait);
        if (r < 0 && errno != EINTR) {
            readFailed();
            return 0;
        }
        if (r > 0 && !(p.revents & POLLIN) && (p.revents & (POLLHUP | POLLERR | POLLNVAL))) {
            readFailed(); // the other end is gone
            return 0;
        }
    }
    return 0;
}

bool StbPort::writeAttempt(const std::uint8_t* buffer, std::size_t count)
{
    const auto deadline =
        Clock::now() + std::chrono::milliseconds(timeouts_.writeConstantMs) +
        std::chrono::milliseconds(static_cast<long long>(timeouts_.writePerByteMs) * static_cast<long long>(count));
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(fd_, buffer + done, count - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
        const int wait = msUntil(deadline);
        if (wait <= 0) return false;
        pollfd p{fd_, POLLOUT, 0};
        if (::poll(&p, 1, wait) < 0 && errno != EINTR) return false;
    }
    return true;
}

int StbPort::netd_write(const std::uint8_t* buffer, std::size_t count, std::size_t& written)
{
    written = 0;
    if (fd_ < 0) return 1;
    // Each attempt starts again from the first byte, as the receiver expects whole frames.
    for (int attempt = 0; attempt < WRITE_ATTEMPTS; ++attempt) {
        if (writeAttempt(buffer, count)) {
            written = count;
            return 0;
        }
    }
    return 1;
}

} // namespace satorix::link
