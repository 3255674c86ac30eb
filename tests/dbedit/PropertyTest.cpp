// Random operation sequences on random sound databases: after every step the database's own
// consistency check must pass, and a refused step must leave the image as it was.
#include <algorithm>
#include <random>
#include <string>

#include "db/DatabaseCheck.h"
#include "db/SampleGenerator.h"
#include "tests/dbedit/EditFixture.h"

namespace satorix::test {
namespace {

struct Random {
    std::mt19937 rng_;
    int upTo(int n) { return n <= 0 ? 0 : static_cast<int>(rng_() % static_cast<std::uint32_t>(n + 1)); } // 0..n
    int between(int a, int b) { return a + upTo(b - a); }
    bool chance(int percent) { return upTo(99) < percent; }
    // An ascending subset of [from, to), at least one row when the range is not empty.
    V rows(int from, int to)
    {
        V out;
        const int pct = between(5, 60);
        for (int r = from; r < to; ++r)
            if (chance(pct)) out.push_back(r);
        if (out.empty() && from < to) out.push_back(between(from, to - 1));
        return out;
    }
};

class Property : public EditFixture {
protected:
    void randomDatabase(Random& rnd)
    {
        if (rnd.chance(3)) return generateSample(db, {false, static_cast<std::uint32_t>(rnd.upTo(1000))});
        build(rnd.upTo(25), rnd.upTo(12));
        for (int l = 0; l < FAV_LISTS; ++l) {
            V list;
            const int tv = db.tvProgramCount(), all = db.programCount();
            for (int k = rnd.upTo(std::min(tv, 8)); k > 0; --k) list.push_back(rnd.between(0, tv - 1));
            for (int k = rnd.upTo(std::min(all - tv, 5)); k > 0; --k) list.push_back(rnd.between(tv, all - 1));
            setList(l, list); // repeats allowed: a list may hold a program twice
        }
    }

    // The parts of the image a small database uses, with room to spare.
    std::vector<Bytes> usedBytes() const
    {
        return {
            bytes(layout::SATELLITE_COUNT, layout::SATELLITES + layout::SATELLITE_SIZE * (db.satellitesInUse() + 2)),
            bytes(layout::PROGRAMS, layout::PROGRAMS + layout::PROGRAM_SIZE * (db.programsInUse() + 8)),
            bytes(layout::FAVOURITES, layout::TRANSPONDERS + layout::TRANSPONDER_SIZE * (db.transpondersInUse() + 4)),
            bytes(layout::PROVIDERS, layout::PROVIDERS + layout::PROVIDER_SIZE * (db.providersInUse() + 4))};
    }

    void dragInTable(Random& rnd)
    {
        const int tv = db.tvProgramCount(), all = db.programCount();
        const bool radioView = rnd.chance(30);
        const bool radio = radioView || rnd.chance(40);
        const V rows = radio ? rnd.rows(tv, all) : rnd.rows(0, tv);
        if (rows.empty()) return;
        liftFromTable(rows);
        // The view's drop: a row of the same kind, less the lifted rows above it; a radio view counts from its first.
        const int row = radio ? rnd.between(tv, all) : rnd.between(0, tv);
        const int position = row - static_cast<int>(std::ranges::count_if(rows, [&](int r) { return r < row; }));
        const std::uint32_t scope = radioView ? SCOPE_PROGRAMS | SCOPE_RADIO : TABLE;
        const int shift = radioView ? tv : 0;
        for (auto& item : db.dragList()) item.programIndex -= shift;
        db.moveFavouritesForDrop(position - shift, scope);
        EXPECT_EQ(0, db.dropPrograms(DBT_PROGRAM, -1, position, db.dragList(), scope));
        db.setDragInProgress(false);
    }

    void dragInList(Random& rnd)
    {
        const int l = rnd.upTo(FAV_LISTS - 1);
        const std::uint32_t part = rnd.chance(50) ? SCOPE_TV_RADIO : rnd.chance(50) ? SCOPE_TV : SCOPE_RADIO;
        const std::uint32_t scope = scopeFav(l) | part;
        const int tvCount = db.favTvCount(l), count = db.favCount(l);
        // Rows of the shown part; with both kinds shown, all of one kind.
        const bool radio = part == SCOPE_RADIO || (part == SCOPE_TV_RADIO && rnd.chance(40));
        const V rows = part == SCOPE_RADIO ? rnd.rows(0, count - tvCount)
                       : radio             ? rnd.rows(tvCount, count)
                                           : rnd.rows(0, tvCount);
        if (rows.empty()) return;
        liftFromList(db, l, scope, rows);
        // Dropped on a shown row of the lifted kind; 15% below the rows, refused unless that part is empty.
        const int tvAfter = db.favTvCount(l);
        const bool both = part == SCOPE_TV_RADIO;
        const int shown = part == SCOPE_RADIO ? db.favCount(l) - tvAfter : part == SCOPE_TV ? tvAfter : db.favCount(l);
        const int position =
            rnd.chance(85) ? rnd.between(both && radio ? tvAfter : 0, both && !radio ? tvAfter : shown) : -1;
        const int r = db.dropPrograms(DBT_FAVOURITE, l, position, db.dragList(), scope);
        db.setDragInProgress(false);
        EXPECT_TRUE(r == 0 || r == -6) << r;
    }

    // Pastes whatever the clipboard holds now, after any number of other steps since the copy; checks its own refusals.
    void pasteSomewhere(Random& rnd)
    {
        if (db.clipboard().empty()) return;
        const bool toList = rnd.chance(40);
        int position = rnd.between(0, db.programCount());
        const int l = toList ? rnd.upTo(FAV_LISTS - 1) : 0;
        const std::uint32_t scope = toList ? scopeFav(l) | SCOPE_TV_RADIO : TABLE;
        if (toList) position = db.favCount(l) == 0 && rnd.chance(50) ? -1 : rnd.between(0, db.favCount(l));
        if (!db.checkPastePosition(position, scope)) return;
        const auto before = usedBytes();
        EXPECT_TRUE(db.pasteClipboard(position, scope) == 0 || before == usedBytes()) << "refused, yet changed";
        // An item pasted into a list names a program with its own name, service id and kind, never a neighbour.
        for (const ProgramInfo& item : db.clipboard()) {
            if (!toList || !item.placed || item.programIndex < 0) continue;
            const int p = item.programIndex;
            EXPECT_EQ((std::tuple{item.serviceId, boundedName(item.name), item.isTv != 0}),
                      (std::tuple{field(p, layout::prog::SERVICE_ID),
                                  boundedName(db.raw().namePtr(DatabaseImage::programOffset(p) + layout::prog::NAME)),
                                  p < db.tvProgramCount()}));
        }
    }

    // Step kinds: 0 add, 1 edit, 2 delete program, 3 remove entry, 4 favourite add/delete, 5 the view's
    // Delete, 6-7 transponders, 8 providers, 9 satellites, 10-11 drags, 12 copy or cut, 13 purge, 14-15 paste.
    // False when the step was refused as a whole.
    bool step(Random& rnd, int& kind)
    {
        const int count = db.programCount(), tv = db.tvProgramCount();
        const int anyProgram = rnd.between(-1, count);
        const int list = rnd.upTo(FAV_LISTS);
        RecordView rec = program(rnd.upTo(500), rnd.chance(50) ? "Some" : "A name of twenty chars");
        const bool referable = db.providersInUse() > 0 && db.transpondersInUse() > 0;
        rec.field[progf::PROVIDER] = rnd.upTo(db.providersInUse() - 1);
        rec.field[progf::TRANSPONDER] = rnd.upTo(db.transpondersInUse() - 1);
        switch (kind = rnd.upTo(15)) {
        case 0:
            if (!referable) return true;
            db.setPendingInsertKind(rnd.upTo(1));
            return op(DBT_PROGRAM, OP_ADD, db.pendingInsertKind() ? rnd.between(tv, count) : rnd.upTo(tv), rec) == 0;
        case 1: return !referable || op(DBT_PROGRAM, OP_EDIT, anyProgram, rec) == 0;
        case 2: return op(DBT_PROGRAM, OP_DELETE, anyProgram, rec) == 0;
        case 3:
            rec.field[entryf::LIST] = list;
            rec.field[entryf::RADIO_PART] = rnd.upTo(1);
            return op(DBT_PROGRAM, OP_REMOVE_ENTRY, rnd.upTo(10), rec) == 0;
        case 4:
            if (count == 0) return true;
            rec.field[favf::ENTRY] = rnd.upTo(count - 1);
            return op(DBT_FAVOURITE, rnd.chance(60) ? OP_ADD : OP_DELETE, list, rec) == 0;
        case 5: {
            std::uint32_t mask = 0;
            db.favouriteMask(anyProgram, mask);
            const std::uint32_t scope = rnd.chance(40) ? scopeFav(rnd.upTo(8)) | SCOPE_TV_RADIO : TABLE;
            return db.deleteProgram(anyProgram, mask, scope, rnd.chance(30) ? "Favs" : "Satellites") == 0;
        }
        case 6:
        case 7: {
            const int sat = db.satellitesInUse() ? rnd.upTo(db.satellitesInUse() - 1) : 0;
            rec.field[tpf::SAT_ID] = db.raw().u16(DatabaseImage::satelliteOffset(sat) + layout::sat::ID);
            rec.field[tpf::FREQUENCY] = 10700 + 100 * rnd.upTo(20);
            rec.field[tpf::SYMBOL_RATE] = rnd.chance(50) ? 27500 : 22000;
            const int o = rnd.chance(50) ? OP_ADD : rnd.chance(50) ? OP_DELETE : OP_EDIT;
            return op(DBT_TRANSPONDER, o, rnd.between(-1, db.transponderCount()), rec) == 0;
        }
        case 8: {
            rec.name[0] = rnd.chance(50) ? "Alpha" : "Omega";
            const int o = rnd.chance(50) ? OP_ADD : OP_EDIT;
            return op(DBT_PROVIDER, o, rnd.chance(80) ? db.providerCount() : rnd.upTo(db.providerCount()), rec) == 0;
        }
        case 9: {
            const int s = rnd.upTo(db.satelliteCount());
            rec.field[satf::ID] = s < db.satelliteCount() ? db.raw().u16(DatabaseImage::satelliteOffset(s)) : 100 + s;
            rec.field[satf::DISEQC12] = rnd.upTo(1);
            rec.field[satf::POSITIONER] = rnd.chance(50) ? 0 : rnd.upTo(60);
            return db.setSatellite(s, rec) == 0;
        }
        case 10: return dragInTable(rnd), true;
        case 11: return dragInList(rnd), true;
        case 12: {
            const V rows = rnd.chance(20) ? rnd.rows(0, count) : rnd.chance(50) ? rnd.rows(0, tv) : rnd.rows(tv, count);
            return copyRows(rows, rnd.chance(50)), true;
        }
        case 13: return db.purgeUnusedProviders(), true;
        default: return pasteSomewhere(rnd), true;
        }
    }
};

TEST_F(Property, RandomSequencesKeepTheDatabaseSound)
{
    for (int seed = 1; seed <= 2000; ++seed) {
        Random rnd{std::mt19937(static_cast<std::uint32_t>(seed))};
        randomDatabase(rnd);
        for (int s = 0; s < 20; ++s) {
            SCOPED_TRACE(testing::Message() << "seed " << seed << " step " << s);
            const auto before = usedBytes();
            int kind = -1;
            ASSERT_TRUE(step(rnd, kind) || before == usedBytes()) << "kind " << kind << " refused, yet changed";
            ASSERT_EQ(checkDatabase(db, {false}), std::vector<std::string>{}) << "kind " << kind;
            if (HasFailure()) FAIL() << "kind " << kind;
        }
    }
}

} // namespace
} // namespace satorix::test
