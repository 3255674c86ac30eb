#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "link/LineTimeouts.h"
#include "link/StbIdentity.h"

namespace satorix::link {

enum class TransferKind : std::uint8_t { Download = 1, Upload = 2, Upgrade = 3 };

struct PortSettings {
    int port = 1;                    // COM1..COM4
    std::uint32_t baudRate = 115200; // or 57600
    std::string device;              // what the port maps to; the port's default device when empty
};

// Everything a transfer shares with whoever started it. The owner sets it up before the start and
// touches only cancelRequested while the worker runs.
struct TransferContext {
    std::atomic<bool> cancelRequested{false};
    StbIdentity currentIdentity{}; // what the next send session sends
    PortSettings port;
    LineTimeouts timeouts;
    std::string softwarePath; // the software file of an upgrade
    // The system's words when the port or the software file could not be opened; written by the
    // worker before its closing report.
    std::string errorDetail;
    // Set when the software file could not be read whole, which the dialog's reports do not say.
    bool softwareUnreadable = false;
    // A download that ended well but brought fewer bytes than the image holds: the image is not
    // touched, the received bytes (zeros after them) wait here for the user's word.
    std::size_t receivedBytes = 0;
    std::vector<std::uint8_t> shortImage;
};

} // namespace satorix::link
