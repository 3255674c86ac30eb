// Spreadsheet export and import and reference lists on a full database (20,000 programs).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "db/ChannelDatabase.h"
#include "db/Names.h"
#include "db/ProgramExchange.h"
#include "db/ProgramOrder.h"
#include "db/ReferenceList.h"
#include "db/SampleGenerator.h"

using namespace satorix;

namespace {

void fullDatabase(ChannelDatabase& db) { generateSample(db, {true, 7}); }

void BM_Export(benchmark::State& state)
{
    ChannelDatabase db;
    fullDatabase(db);
    const auto format = state.range(0) ? ExportFormat::Json : ExportFormat::Csv;
    for (auto _ : state) benchmark::DoNotOptimize(exportPrograms(db, format));
}
BENCHMARK(BM_Export)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_DecodeAllNames(benchmark::State& state)
{
    ChannelDatabase db;
    fullDatabase(db);
    for (auto _ : state)
        for (int p = 0; p < db.programCount(); ++p)
            benchmark::DoNotOptimize(
                decodeName(boundedName(db.raw().namePtr(DatabaseImage::programOffset(p) + layout::prog::NAME))));
}
BENCHMARK(BM_DecodeAllNames)->Unit(benchmark::kMillisecond);

// 20,000 rows in a new order, every tenth renamed and every seventh in other lists.
void BM_ImportShuffledRows(benchmark::State& state)
{
    ChannelDatabase db;
    fullDatabase(db);
    const std::vector<std::uint8_t> image(db.image(), db.image() + IMAGE_SIZE);
    auto records = parseCsv(exportPrograms(db, ExportFormat::Csv));
    std::mt19937 rng(3);
    std::shuffle(records.begin() + 1, records.end(), rng);
    std::string csv;
    for (std::size_t i = 0; i < records.size(); ++i) {
        auto& f = records[i].fields;
        if (i && i % 10 == 0) f[1] = "Renamed " + std::to_string(i);
        if (i && i % 7 == 0) f[17] = "1 2";
        for (std::size_t c = 0; c < f.size(); ++c) {
            if (c) csv += ',';
            csv += f[c].find_first_of(",\"") == std::string::npos ? f[c] : '"' + f[c] + '"'; // no quotes inside
        }
        csv += "\r\n";
    }
    for (auto _ : state) {
        const ImportPlan plan = planImport(db, csv);
        applyChanges(db, plan.changes);
        state.PauseTiming();
        std::memcpy(db.image(), image.data(), IMAGE_SIZE);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ImportShuffledRows)->Unit(benchmark::kMillisecond);

// A shuffled copy whose transponders moved by up to 3 MHz, put back in the original's order.
void BM_ApplyReference(benchmark::State& state)
{
    ChannelDatabase reference, db;
    fullDatabase(reference);
    fullDatabase(db);
    std::mt19937 rng(5);
    std::vector<int> order(static_cast<std::size_t>(db.programCount()));
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
    std::shuffle(order.begin(), order.begin() + db.tvProgramCount(), rng);
    std::shuffle(order.begin() + db.tvProgramCount(), order.end(), rng);
    reorderPrograms(db, order);
    for (int t = 0; t < db.transponderCount(); ++t) {
        const std::size_t at = DatabaseImage::transponderOffset(t) + layout::tp::FREQUENCY;
        db.raw().setU16(at, static_cast<std::uint16_t>(db.raw().u16(at) + static_cast<int>(rng() % 7) - 3));
    }
    const std::vector<std::uint8_t> image(db.image(), db.image() + IMAGE_SIZE);
    ReferenceOptions options;
    options.names = true;
    for (auto _ : state) {
        const ReferencePlan plan = planReference(db, reference, options);
        applyChanges(db, plan.changes);
        state.PauseTiming();
        std::memcpy(db.image(), image.data(), IMAGE_SIZE);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ApplyReference)->Unit(benchmark::kMillisecond);

} // namespace
