#pragma once

#include <cstddef>
#include <string>

namespace satorix::stbsim {

// A pseudo-terminal for the simulator: the master end is the receiver's side of the cable, the
// slave's path is the device the PC opens. A raw slave descriptor is held open for the pair's
// lifetime, so the master never sees a hang-up between the PC's opens and closes.
class Pty {
public:
    Pty() = default;
    ~Pty();
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    bool open();
    // Hands the master over (the caller closes it); -1 when not open.
    int takeMaster();
    int master() const { return master_; }
    const std::string& slavePath() const { return slavePath_; }
    const std::string& error() const { return error_; }
    // Bytes written by the master that the PC's side has not read yet.
    std::size_t unreadBySlave() const;
    // The baud rate the PC's side last set (0 when neither 57600 nor 115200).
    unsigned slaveSpeed() const;

private:
    int master_ = -1;
    int slaveHold_ = -1;
    std::string slavePath_;
    std::string error_;
};

} // namespace satorix::stbsim
