// satorix-cli transfers with the receiver: download, upload and upgrade over a serial line.
#include "tools/cli/LinkCommands.h"

#include <csignal>
#include <cstdio>
#include <memory>
#include <string>
#include <unistd.h>

#include "link/StbPort.h"
#include "link/TransferWorker.h"
#include "tools/cli/CliCommon.h"

namespace satorix::cli {
namespace {

using namespace satorix::link;

std::atomic<bool>* interruptFlag = nullptr;

void onInterrupt(int)
{
    if (interruptFlag) interruptFlag->store(true);
}

// Shows the reports as the transmission dialog would: a status line, the packet counter (live
// on a terminal) and the texts of its message boxes.
class ReportPrinter {
public:
    // portName: what the line is called in place of the dialog's "port COMn".
    explicit ReportPrinter(std::string portName) : live_(::isatty(STDERR_FILENO) == 1), portName_(std::move(portName))
    {
    }
    ~ReportPrinter() { endLiveLine(); }

    void print(const TransferReport& report)
    {
        ReportView v = describeReport(report);
        if (report.code == REPORT_OPENING_PORT) v.status = "Opening " + portName_;
        if (report.code == REPORT_PORT_FAILED) v.box = "Can not open " + portName_;
        if (!v.packet.empty() && v.packet != packet_) {
            packet_ = v.packet;
            if (live_) {
                std::fprintf(stderr, "\rPacket %s ", packet_.c_str());
                liveLine_ = true;
            } else {
                std::fprintf(stderr, "Packet %s\n", packet_.c_str());
            }
        }
        if (!v.status.empty() && v.status != status_) {
            status_ = v.status;
            line(status_);
        }
        if (!v.box.empty()) line(v.box);
        if (v.close == ReportView::Close::Ok) completed_ = true;
        std::fflush(stderr);
    }
    void line(const std::string& text)
    {
        endLiveLine();
        std::fprintf(stderr, "%s\n", text.c_str());
    }
    bool completed() const { return completed_; }

private:
    void endLiveLine()
    {
        if (liveLine_) std::fputc('\n', stderr);
        liveLine_ = false;
    }

    bool live_;
    std::string portName_;
    bool liveLine_ = false;
    bool completed_ = false;
    std::string status_, packet_;
};

// Runs one transfer on the worker thread; Ctrl+C asks it to stop. True when it completed.
bool transfer(TransferKind kind, TransferContext& ctx, ChannelDatabase& db)
{
    const std::string device = ctx.port.device.empty() ? StbPort::devicePath(ctx.port.port) : ctx.port.device;
    ReportPrinter printer(ctx.port.device.empty() ? "port COM" + std::to_string(ctx.port.port) + " (" + device + ")"
                                                  : device);
    TransferWorker worker;
    interruptFlag = &ctx.cancelRequested;
    struct sigaction action {
    }, previous{};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, &previous);
    const bool started = worker.start(kind, ctx, db, [&printer](const TransferReport& r) { printer.print(r); });
    worker.join();
    ::sigaction(SIGINT, &previous, nullptr);
    interruptFlag = nullptr;
    if (!ctx.errorDetail.empty()) printer.line("error: " + ctx.errorDetail);
    return started && worker.result() == 0 && printer.completed();
}

} // namespace

LinkCommands::LinkCommands(CLI::App& app, int& result)
{
    auto addLineOptions = [this](CLI::App* sub) {
        auto* group = sub->add_option_group("line", "Where the receiver is");
        group->add_option("--device", device_, "Serial device, e.g. /dev/ttyUSB0");
        group->add_option("--port", port_, "Port COM1..COM4 (1..4)")->check(CLI::Range(1, 4));
        group->require_option(1);
        sub->add_option("--baud", baud_, "Baud rate")->check(CLI::IsMember({115200, 57600}))->capture_default_str();
    };
    auto context = [this] {
        auto ctx = std::make_unique<TransferContext>();
        ctx->port.port = device_.empty() ? port_ : 1;
        ctx->port.device = device_;
        ctx->port.baudRate = baud_;
        return ctx;
    };

    auto* download = app.add_subcommand("download", "Download the database from the receiver");
    addLineOptions(download);
    download->add_option("-o,--output", file_, "Database file to write (only after a complete download)")->required();
    download->callback([this, &result, context] {
        auto db = std::make_unique<ChannelDatabase>();
        auto ctx = context();
        if (!transfer(TransferKind::Download, *ctx, *db)) {
            result = EXIT_FAILED;
            return;
        }
        db->setLoaded(true);
        db->setLoadedVersion(db->version());
        if (db->save(file_) != 0) {
            std::fprintf(stderr, "error: cannot write %s\n", file_.c_str());
            result = EXIT_FAILED;
            return;
        }
        result = EXIT_OK;
    });

    auto* upload = app.add_subcommand("upload", "Upload a database file to the receiver");
    addLineOptions(upload);
    upload->add_option("FILE", file_, "Database file")->required();
    upload->callback([this, &result, context] {
        auto db = std::make_unique<ChannelDatabase>();
        if (!loadLikeEditor(file_, *db)) {
            result = EXIT_FAILED;
            return;
        }
        db->purgeUnusedProviders();
        db->updateCrc(db->loadedVersion());
        auto ctx = context();
        result = transfer(TransferKind::Upload, *ctx, *db) ? EXIT_OK : EXIT_FAILED;
    });

    auto* upgrade = app.add_subcommand("upgrade", "Send a software file (*.dlp) to the receiver");
    addLineOptions(upgrade);
    upgrade->add_option("FILE", file_, "Software file")->required();
    upgrade->callback([this, &result, context] {
        auto db = std::make_unique<ChannelDatabase>();
        auto ctx = context();
        ctx->softwarePath = file_;
        result = transfer(TransferKind::Upgrade, *ctx, *db) ? EXIT_OK : EXIT_FAILED;
    });
}

} // namespace satorix::cli
