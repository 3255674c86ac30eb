// A database upload (1 MiB in 256 blocks, with the receiver's 5 ms pause before each) and a
// download, over a pseudo-terminal against the simulated receiver, with the real line timing.
#include <benchmark/benchmark.h>

#include <memory>
#include <thread>

#include "db/SampleGenerator.h"
#include "link/StbPort.h"
#include "link/TransferWorker.h"
#include "tools/stbsim/Pty.h"
#include "tools/stbsim/ReceiverSim.h"

using namespace satorix;
using namespace satorix::link;

namespace {

void runTransfer(benchmark::State& state, TransferKind kind)
{
    auto db = std::make_unique<ChannelDatabase>();
    generateSample(*db, {true, 1});
    std::vector<std::uint8_t> region(db->image(), db->image() + IMAGE_SIZE);
    region.resize(0x100000, 0);
    for (auto _ : state) {
        state.PauseTiming();
        stbsim::Pty pty;
        if (!pty.open()) {
            state.SkipWithError(pty.error().c_str());
            return;
        }
        StbPort simPort;
        simPort.attach(pty.takeMaster());
        stbsim::SimOptions options;
        options.mode = kind == TransferKind::Download ? stbsim::SimMode::Serve : stbsim::SimMode::Receive;
        options.data = region;
        options.requestRepeatMs = 50;
        stbsim::ReceiverSim sim(simPort, options);
        std::thread simThread([&sim] { sim.run(); });
        TransferContext ctx;
        ctx.port.device = pty.slavePath();
        TransferWorker worker;
        int result = -1;
        state.ResumeTiming();

        worker.start(kind, ctx, *db, {});
        worker.join();
        result = worker.result();

        state.PauseTiming();
        simThread.join();
        if (result != 0 || sim.result().rc != 0) state.SkipWithError("transfer failed");
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 0x100000);
}

void BM_Upload1MiB(benchmark::State& state) { runTransfer(state, TransferKind::Upload); }
void BM_Download1MiB(benchmark::State& state) { runTransfer(state, TransferKind::Download); }

} // namespace

BENCHMARK(BM_Upload1MiB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Download1MiB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
