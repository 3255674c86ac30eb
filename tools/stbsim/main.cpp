// stbsim: plays the receiver at the other end of the cable, for tests and for trying the editor
// without a receiver. Creates a pseudo-terminal and prints the device to open, unless given one.
#include <CLI/CLI.hpp>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <sys/prctl.h>
#include <thread>
#include <unistd.h>

#include "db/SampleGenerator.h"
#include "link/RegionRules.h"
#include "link/StbPort.h"
#include "satorix/Version.h"
#include "tools/stbsim/Pty.h"
#include "tools/stbsim/ReceiverSim.h"

using namespace satorix;
using namespace satorix::stbsim;

namespace {

bool readFile(const std::string& path, std::vector<std::uint8_t>& out)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out.assign(std::istreambuf_iterator<char>(in), {});
    return true;
}

std::uint32_t parseNumber(const std::string& s) { return static_cast<std::uint32_t>(std::stoul(s, nullptr, 0)); }

std::atomic<bool> stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

void requestStop(int) { stopRequested.store(true); }

bool writeRegion(const std::string& path, const std::vector<std::uint8_t>& data)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    if (!out) std::fprintf(stderr, "stbsim: cannot write %s\n", path.c_str());
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv)
{
    CLI::App app{"Receiver simulator: serves a region to the PC (download) or receives one (upload, "
                 "upgrade) over a pseudo-terminal or a given serial device"};
    SimOptions opt;
    SimFaults& f = opt.faults;
    std::string device, serveFile, outFile, model, badLength, fileInfo, hardwareId;
    bool receive = false, sample = false, forever = false, exitWithParent = false;
    int timeLimit = 120;
    app.set_version_flag("--version", std::string("stbsim ") + version::NUMBER);

    app.add_option("--device", device, "Serial device to use instead of a new pseudo-terminal");
    auto* rx = app.add_flag("--receive", receive, "Receive a region from the PC (it uploads or upgrades)");
    app.add_option("--serve", serveFile, "Serve this file as the region (the PC downloads)")->excludes(rx);
    app.add_flag("--sample", sample, "Serve a generated sample database")->excludes(rx);
    app.add_flag("--forever", forever,
                 "Serve downloads and accept uploads and upgrades, one after another, until stopped; "
                 "an uploaded database is served from then on")
        ->excludes(rx);
    app.add_flag("--exit-with-parent", exitWithParent, "Stop when the program that started the simulator ends");
    app.add_option("-o,--out", outFile, "Write the received region to this file");
    app.add_option("--kind", opt.kind, "Region type served or requested (4: the database)")->capture_default_str();
    app.add_option("--selector", opt.selector, "Selector reported to the PC (default: the region type)");
    app.add_option("--hardware-id", hardwareId, "Reported hardwareId, e.g. 0x7FFFFFFF (a wildcard)");
    app.add_option("--model", model, "Reported model, up to 8 characters");
    app.add_option("--status", f.status, "Status sent before a served region; non-zero refuses");
    app.add_option("--flip-frame", f.flipFrame,
                   "Flip a bit in this packet (serve: 0 reply, 1 status, 2 file header, 3+n block n; "
                   "receive: 0 request, 1 report)");
    app.add_option("--flip-bit", f.flipBit, "Bit offset in the frame for --flip-frame")->capture_default_str();
    app.add_option("--skip-frame", f.skipFrame, "Never send this packet (numbered as for --flip-frame)");
    app.add_option("--garbage-frame", f.garbageFrame, "Send garbage before this packet");
    app.add_option("--garbage-bytes", f.garbageBytes, "How many garbage bytes (25 or more defeat the PC)");
    app.add_option("--stall-frame", f.stallFrame, "Pause while sending this packet");
    app.add_option("--stall-ms", f.stallMs, "Length of the pause");
    app.add_option("--stall-after", f.stallAfter, "Bytes of the packet written before the pause");
    app.add_option("--drop-ack", f.dropAck,
                   "Never acknowledge this packet of the PC (serve: 0 request, 1 report; receive: 0 reply, "
                   "1 file header, 2+n block n)");
    app.add_option("--flip-ack", f.flipAck, "Send this acknowledgement with a broken CRC");
    app.add_option("--wrong-block", f.wrongBlock, "Send block n with the number n+1");
    app.add_option("--bad-length-block", f.badLengthBlock, "Send block n with a bad length");
    app.add_option("--bad-length", badLength, "oversize, badcheck, truncated or a length (e.g. 0x7FFFFF)");
    app.add_option("--file-info", fileInfo, "Served file header: TYPE,ADDRESS,SIZE,BLOCKS (e.g. 4,0,0xFFFFFFFF,1)");
    app.add_option("--repeat-ms", opt.requestRepeatMs, "Pause between repeated requests")->capture_default_str();
    app.add_option("--time-limit", timeLimit, "Give up after this many seconds")->capture_default_str();
    CLI11_PARSE(app, argc, argv);

    opt.mode = forever ? SimMode::Any : receive ? SimMode::Receive : SimMode::Serve;
    opt.timeLimitMs = timeLimit * 1000;
    if (forever) {
        // An exchange the PC abandoned (a cancel) must not keep the next one waiting for long.
        opt.timeouts = opt.timeouts.scaled(0.25);
        std::signal(SIGTERM, requestStop);
        std::signal(SIGINT, requestStop);
    }
    if (exitWithParent) {
        const pid_t parent = ::getppid();
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent) return 0;
    }
    try {
        if (!hardwareId.empty()) opt.identity.hardwareId = parseNumber(hardwareId);
        if (!model.empty()) {
            opt.identity.model.fill(0);
            std::copy_n(model.begin(), std::min<std::size_t>(model.size(), 8), opt.identity.model.begin());
        }
        if (!badLength.empty()) {
            f.badLength = badLength == "oversize"    ? BadLength::Oversize
                          : badLength == "badcheck"  ? BadLength::BadCheck
                          : badLength == "truncated" ? BadLength::Truncated
                                                     : BadLength::Custom;
            if (f.badLength == BadLength::Custom) f.customLength = parseNumber(badLength);
        }
        if (!fileInfo.empty()) {
            FileInfo info;
            std::uint32_t* fields[] = {&info.type, &info.targetAddress, &info.fileSize, &info.blockCount};
            std::size_t pos = 0;
            for (auto* field : fields) {
                const std::size_t comma = fileInfo.find(',', pos);
                *field = parseNumber(fileInfo.substr(pos, comma - pos));
                pos = comma == std::string::npos ? fileInfo.size() : comma + 1;
            }
            f.fileInfo = info;
        }
    } catch (const std::exception&) {
        std::fprintf(stderr, "stbsim: bad number in the options\n");
        return 2;
    }

    if (opt.mode != SimMode::Receive) {
        if (!serveFile.empty()) {
            if (!readFile(serveFile, opt.data)) {
                std::fprintf(stderr, "stbsim: cannot read %s\n", serveFile.c_str());
                return 1;
            }
        } else {
            auto db = std::make_unique<ChannelDatabase>();
            generateSample(*db, {false, 1});
            opt.data.assign(db->image(), db->image() + IMAGE_SIZE);
        }
        // The receiver's database region is 1 MiB; what the image does not fill is zero.
        if (opt.kind == link::REGION_DATABASE && opt.data.size() < link::DATABASE_REGION_SIZE)
            opt.data.resize(link::DATABASE_REGION_SIZE, 0);
    }

    Pty pty;
    link::StbPort port;
    if (device.empty()) {
        if (!pty.open()) {
            std::fprintf(stderr, "stbsim: %s\n", pty.error().c_str());
            return 1;
        }
        port.attach(pty.takeMaster());
        std::printf("%s\n", pty.slavePath().c_str());
    } else if (!port.openDevice(device, 115200)) {
        std::fprintf(stderr, "stbsim: cannot open %s\n", port.lastError().c_str());
        return 1;
    }
    std::fflush(stdout);

    if (forever) {
        if (device.empty()) opt.unreadByPc = [&pty] { return pty.unreadBySlave(); };
        ReceiverSim sim(port, std::move(opt), &stopRequested);
        sim.setExchangeCallback([&outFile](const SimResult& r) {
            std::fprintf(stderr, "stbsim: %s (%u blocks)\n", r.outcome.c_str(), r.blocks);
            if (r.rc == 0 && !outFile.empty() && !r.received.empty()) writeRegion(outFile, r.received);
        });
        sim.run();
        return 0;
    }

    ReceiverSim sim(port, std::move(opt));
    const int rc = sim.run();
    // Closing the pseudo-terminal discards what the PC has not read yet: the last acknowledgement.
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const SimResult& r = sim.result();
    std::fprintf(stderr, "stbsim: %s (%u blocks)\n", r.outcome.c_str(), r.blocks);
    if (rc == 0 && !outFile.empty() && !r.received.empty() && !writeRegion(outFile, r.received)) return 1;
    return rc == 0 ? 0 : 1;
}
