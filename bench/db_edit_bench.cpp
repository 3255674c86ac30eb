// Editing operations on a full database (20,000 programs, 3,000 transponders, 9 x 399 favourites).
#include <benchmark/benchmark.h>

#include <cstring>
#include <numeric>
#include <vector>

#include "db/ChannelDatabase.h"
#include "db/Duplicates.h"
#include "db/ProgramOrder.h"
#include "db/SampleGenerator.h"

using namespace satorix;

namespace {

constexpr std::uint32_t TABLE_SCOPE = SCOPE_PROGRAMS | SCOPE_TV_RADIO;

// Restores the image between iterations outside the timed part.
class Snapshot {
public:
    explicit Snapshot(const ChannelDatabase& db) : bytes_(db.image(), db.image() + IMAGE_SIZE) {}
    void restore(ChannelDatabase& db) const { std::memcpy(db.image(), bytes_.data(), IMAGE_SIZE); }

private:
    std::vector<std::uint8_t> bytes_;
};

void fullDatabase(ChannelDatabase& db) { generateSample(db, {true, 7}); }

void BM_DeleteProgramZero(benchmark::State& state)
{
    ChannelDatabase db;
    fullDatabase(db);
    const Snapshot snap(db);
    for (auto _ : state) {
        std::uint32_t mask = 0;
        db.favouriteMask(0, mask);
        benchmark::DoNotOptimize(db.deleteProgram(0, mask, TABLE_SCOPE, "Satellites"));
        state.PauseTiming();
        snap.restore(db);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DeleteProgramZero)->Unit(benchmark::kMicrosecond);

void BM_AddTransponderAtFront(benchmark::State& state)
{
    ChannelDatabase db;
    fullDatabase(db);
    // Free the last slot: move its programs to transponder 0 and delete it.
    const int last = MAX_TRANSPONDERS - 1;
    for (int i = 0; i < db.programCount(); ++i) {
        const std::size_t o = DatabaseImage::programOffset(i) + layout::prog::TRANSPONDER;
        if (db.raw().u16(o) == last) db.raw().setU16(o, 0);
    }
    RecordView none;
    db.recordOp(DBT_TRANSPONDER, OP_DELETE, last, none);
    RecordView tp;
    db.getRecord(DBT_TRANSPONDER, 0, tp);
    tp.field[tpf::FREQUENCY] = 1000; // below every frequency of the first satellite's group
    const Snapshot snap(db);
    for (auto _ : state) {
        if (db.recordOp(DBT_TRANSPONDER, OP_ADD, 0, tp) != 0) state.SkipWithError("add refused");
        state.PauseTiming();
        snap.restore(db);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AddTransponderAtFront)->Unit(benchmark::kMicrosecond);

// Pastes 1,000 items at row 0 of a table with room for them; state.range(0): 1 = cut items.
void BM_PasteThousandAtRowZero(benchmark::State& state)
{
    ChannelDatabase db;
    fullDatabase(db);
    RecordView none;
    while (db.programCount() > MAX_PROGRAMS - 1000) db.recordOp(DBT_PROGRAM, OP_DELETE, db.programCount() - 1, none);
    ProgramClipboard items(1000);
    for (int k = 0; k < 1000; ++k) {
        auto& item = items[static_cast<std::size_t>(k)];
        db.getProgramInfoRaw(k * 7, item);
        item.programIndex = state.range(0) ? -1 : k * 7;
    }
    const Snapshot snap(db);
    for (auto _ : state) {
        state.PauseTiming();
        snap.restore(db);
        db.clipboard() = items;
        state.ResumeTiming();
        int position = 0;
        if (db.pasteClipboard(position, TABLE_SCOPE) != 0) state.SkipWithError("paste refused");
    }
}
BENCHMARK(BM_PasteThousandAtRowZero)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The worst case of finding copied programs again: every index in the clipboard is stale (a
// program was added in front of them all), so each item is looked up by its fields.
void BM_PasteStaleCopiesIntoAList(benchmark::State& state)
{
    ChannelDatabase db;
    fullDatabase(db);
    const int l = 8;
    db.setFavCount(l, 0);
    db.setFavTvCount(l, 0);
    const int tv = db.tvProgramCount();
    const int step = (db.programCount() - tv) / 200;
    ProgramClipboard items(200);
    for (int k = 0; k < 200; ++k) {
        auto& item = items[static_cast<std::size_t>(k)];
        const int program = tv + step * k; // radio programs spread over their part
        db.getProgramInfoRaw(program, item);
        item.programIndex = program - 1;
    }
    const Snapshot snap(db);
    for (auto _ : state) {
        state.PauseTiming();
        snap.restore(db);
        db.clipboard() = items;
        state.ResumeTiming();
        int position = 0;
        if (db.pasteClipboard(position, scopeFav(l) | SCOPE_TV_RADIO) != 0) state.SkipWithError("paste refused");
    }
    state.counters["placed"] = db.favCount(l);
}
BENCHMARK(BM_PasteStaleCopiesIntoAList)->Unit(benchmark::kMillisecond);

// The view's drag of 10,000 TV programs: lift each with OP_DELETE while dragInProgress is set,
// renumber the favourites and drop the block back at another row.
void BM_DragTenThousand(benchmark::State& state)
{
    ChannelDatabase db;
    fullDatabase(db);
    const Snapshot snap(db);
    const int first = static_cast<int>(state.range(0));
    constexpr int lifted = 10000;
    constexpr int dropRow = 500;
    RecordView none;
    for (auto _ : state) {
        state.PauseTiming();
        snap.restore(db);
        state.ResumeTiming();
        db.setDragInProgress(true);
        ProgramClipboard& drag = db.dragList();
        drag.assign(lifted, ProgramInfo{});
        for (int k = 0; k < lifted; ++k) {
            const int r = first + k;
            auto& item = drag[static_cast<std::size_t>(k)];
            db.getProgramInfo(0, first, item); // row r-k: the rows above have gone already
            db.recordOp(DBT_PROGRAM, OP_DELETE, first, none);
            item.programIndex = r;
        }
        db.moveFavouritesForDrop(dropRow, TABLE_SCOPE);
        if (db.dropPrograms(DBT_PROGRAM, -1, dropRow, drag, TABLE_SCOPE) != 0) state.SkipWithError("drop refused");
        db.setDragInProgress(false);
    }
}
BENCHMARK(BM_DragTenThousand)->Arg(0)->Arg(2000)->Arg(5000)->Unit(benchmark::kMillisecond);

void BM_CopyWholeTableToClipboard(benchmark::State& state)
{
    ChannelDatabase db;
    fullDatabase(db);
    for (auto _ : state) {
        ProgramClipboard& clip = db.clipboard();
        clip.clear();
        clip.shrink_to_fit();
        clip.resize(MAX_PROGRAMS);
        for (int i = 0; i < MAX_PROGRAMS; ++i) {
            db.getProgramInfoRaw(i, clip[static_cast<std::size_t>(i)]);
            clip[static_cast<std::size_t>(i)].programIndex = i;
        }
        benchmark::DoNotOptimize(clip.data());
    }
    state.counters["bytes_per_item"] = sizeof(ProgramInfo);
    state.counters["clipboard_MB"] =
        static_cast<double>(sizeof(ProgramInfo) * db.clipboard().capacity()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_CopyWholeTableToClipboard)->Unit(benchmark::kMillisecond);

// Sort of every program, favourites following; the keys are read inside the timed part.
void BM_SortAllPrograms(benchmark::State& state)
{
    ChannelDatabase db;
    fullDatabase(db);
    const Snapshot start(db);
    std::vector<int> all(static_cast<std::size_t>(db.programsInUse()));
    std::iota(all.begin(), all.end(), 0);
    for (auto _ : state) {
        state.PauseTiming();
        start.restore(db);
        state.ResumeTiming();
        sortPrograms(db, all, static_cast<SortKey>(state.range(0)));
    }
    state.counters["programs"] = static_cast<double>(all.size());
}
BENCHMARK(BM_SortAllPrograms)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

void BM_DuplicateScan(benchmark::State& state)
{
    ChannelDatabase db;
    fullDatabase(db);
    std::size_t groups = 0;
    for (auto _ : state) groups = findDuplicates(db).size();
    state.counters["groups"] = static_cast<double>(groups);
}
BENCHMARK(BM_DuplicateScan)->Unit(benchmark::kMillisecond);

// 5,000 programs made duplicates of others (same transponder and service id), then removed.
void BM_RemoveDuplicates5000(benchmark::State& state)
{
    ChannelDatabase db;
    fullDatabase(db);
    for (int p = 0; p < 5000; ++p)
        std::memcpy(db.image() + DatabaseImage::programOffset(2 * p + 1),
                    db.image() + DatabaseImage::programOffset(2 * p), layout::PROGRAM_SIZE);
    const Snapshot start(db);
    std::size_t removed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        start.restore(db);
        const std::vector<DuplicateGroup> groups = findDuplicates(db);
        state.ResumeTiming();
        removeDuplicates(db, groups);
        removed = static_cast<std::size_t>(20000 - db.programCount());
    }
    state.counters["removed"] = static_cast<double>(removed);
}
BENCHMARK(BM_RemoveDuplicates5000)->Unit(benchmark::kMillisecond);

// One row down for 1,000 rows spread over the table.
void BM_MoveDown1000(benchmark::State& state)
{
    ChannelDatabase db;
    fullDatabase(db);
    std::vector<int> rows;
    for (int p = 0; p < 1000; ++p) rows.push_back(p * 19);
    for (auto _ : state) movePrograms(db, rows, Move::Down);
}
BENCHMARK(BM_MoveDown1000)->Unit(benchmark::kMillisecond);

} // namespace
