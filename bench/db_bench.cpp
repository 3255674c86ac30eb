// Whole-database operations on a full generated database.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <unistd.h>

#include "db/ProgramRowTexts.h"
#include "db/SampleGenerator.h"

using namespace satorix;

namespace {

const std::string& fullDatabaseFile()
{
    static const std::string path = [] {
        std::string p = "/tmp/satorix-bench-full-" + std::to_string(::getpid()) + ".si";
        auto db = std::make_unique<ChannelDatabase>();
        generateSample(*db, {true, 1});
        db->save(p);
        return p;
    }();
    return path;
}

void BM_LoadPurgeListing(benchmark::State& state)
{
    auto db = std::make_unique<ChannelDatabase>();
    const std::string listing = "/tmp/satorix-bench-" + std::to_string(::getpid()) + ".nfo";
    db->setListingPath(listing);
    for (auto _ : state) benchmark::DoNotOptimize(db->load(fullDatabaseFile()));
    ::unlink(listing.c_str());
}
BENCHMARK(BM_LoadPurgeListing)->Unit(benchmark::kMillisecond);

void BM_Load(benchmark::State& state)
{
    auto db = std::make_unique<ChannelDatabase>();
    db->setListingPath("");
    for (auto _ : state) benchmark::DoNotOptimize(db->load(fullDatabaseFile()));
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);

void BM_UpdateCrc(benchmark::State& state)
{
    auto db = std::make_unique<ChannelDatabase>();
    generateSample(*db, {true, 1});
    for (auto _ : state) {
        db->updateCrc(0);
        benchmark::DoNotOptimize(db->storedCrc());
    }
}
BENCHMARK(BM_UpdateCrc)->Unit(benchmark::kMillisecond);

void BM_ProgramInfoAllPrograms(benchmark::State& state)
{
    auto db = std::make_unique<ChannelDatabase>();
    generateSample(*db, {true, 1});
    ProgramInfo info;
    for (auto _ : state)
        for (int i = 0; i < db->programCount(); ++i) benchmark::DoNotOptimize(db->getProgramInfo(0, i, info));
}
BENCHMARK(BM_ProgramInfoAllPrograms)->Unit(benchmark::kMillisecond);

void BM_RowTextsAllPrograms(benchmark::State& state)
{
    auto db = std::make_unique<ChannelDatabase>();
    generateSample(*db, {true, 1});
    std::vector<RowTexts> rows(static_cast<std::size_t>(db->programCount()));
    for (auto _ : state) {
        const ProgramRowBuilder builder(*db);
        for (int i = 0; i < db->programCount(); ++i) builder.build(i, i, rows[static_cast<std::size_t>(i)]);
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(BM_RowTextsAllPrograms)->Unit(benchmark::kMillisecond);

} // namespace
