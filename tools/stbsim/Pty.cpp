#include "tools/stbsim/Pty.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace satorix::stbsim {

Pty::~Pty()
{
    if (master_ >= 0) ::close(master_);
    if (slaveHold_ >= 0) ::close(slaveHold_);
}

bool Pty::open()
{
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        error_ = std::string("pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    char name[128];
    if (::ptsname_r(master_, name, sizeof name) != 0) {
        error_ = std::string("ptsname: ") + std::strerror(errno);
        return false;
    }
    slavePath_ = name;
    slaveHold_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slaveHold_ < 0) {
        error_ = slavePath_ + ": " + std::strerror(errno);
        return false;
    }
    // Raw from the start: requests written before the PC opens must not be echoed or edited.
    termios tio{};
    ::tcgetattr(slaveHold_, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(slaveHold_, TCSANOW, &tio);
    return true;
}

int Pty::takeMaster()
{
    const int fd = master_;
    master_ = -1;
    return fd;
}

std::size_t Pty::unreadBySlave() const
{
    int n = 0;
    if (slaveHold_ < 0 || ::ioctl(slaveHold_, FIONREAD, &n) != 0 || n < 0) return 0;
    return static_cast<std::size_t>(n);
}

unsigned Pty::slaveSpeed() const
{
    termios tio{};
    if (slaveHold_ < 0 || ::tcgetattr(slaveHold_, &tio) != 0) return 0;
    switch (::cfgetospeed(&tio)) {
    case B57600: return 57600;
    case B115200: return 115200;
    default: return 0;
    }
}

} // namespace satorix::stbsim
