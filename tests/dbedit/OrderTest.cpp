// Sort, move, bulk edits and duplicate removal on generated databases: whatever is asked, the
// programs stay the same programs and every favourite entry keeps naming the one it named.
#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <numeric>
#include <random>
#include <set>
#include <string>
#include <tuple>

#include "db/ChannelDatabase.h"
#include "db/Duplicates.h"
#include "db/ProgramOrder.h"
#include "db/SampleGenerator.h"

namespace satorix {
namespace {

using V = std::vector<int>;
using Bag = std::multiset<std::string>;

std::string record(const ChannelDatabase& db, int p)
{
    return {reinterpret_cast<const char*>(db.image() + DatabaseImage::programOffset(p)), layout::PROGRAM_SIZE};
}

Bag records(const ChannelDatabase& db, const V& programs)
{
    Bag out;
    for (int p : programs) out.insert(record(db, p));
    return out;
}

// Every program's bytes with its kind, and each list's entries as those bytes.
struct Snapshot {
    Bag tv, radio;
    std::vector<std::vector<std::string>> lists;
    explicit Snapshot(const ChannelDatabase& db) : lists(FAV_LISTS)
    {
        for (int p = 0; p < db.programsInUse(); ++p) (p < db.tvProgramCount() ? tv : radio).insert(record(db, p));
        for (int l = 0; l < FAV_LISTS; ++l)
            for (int e = 0; e < db.favInUse(l); ++e) lists[l].push_back(record(db, db.favEntry(l, e)));
    }
};

void sample(ChannelDatabase& db, std::uint32_t seed, bool full = false)
{
    db.setListingPath({});
    generateSample(db, {full, seed});
}

TEST(OrderTest, NaturalOrderIgnoresCaseAndReadsNumbers)
{
    const std::vector<std::pair<std::string, std::string>> ascending = {
        {"Sport 2", "Sport 10"}, {"alpha", "Beta"}, {"BBC", "bbc 1"}, {"a01", "a2"}, {"", "0"}, {"x9", "xa"}};
    for (const auto& [a, b] : ascending)
        EXPECT_TRUE(naturalCompare(a, b) < 0 && naturalCompare(b, a) > 0) << a << " < " << b;
    EXPECT_EQ(naturalCompare("News 007", "news 7"), 0);
}

TEST(OrderTest, SortsAndMovesKeepProgramsAndFavourites)
{
    std::mt19937 rng(7);
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE(seed);
        ChannelDatabase db;
        sample(db, seed);
        const Snapshot before(db);
        V chosen;
        for (int p = 0; p < db.programsInUse(); ++p)
            if (rng() % 3 == 0) chosen.push_back(p);
        const Bag chosenBytes = records(db, chosen);
        const int l = static_cast<int>(seed % FAV_LISTS);
        V entries;
        for (int e = 0; e < db.favInUse(l); e += 2) entries.push_back(e);
        const auto key = static_cast<SortKey>(seed / 4 % 4);
        const auto move = static_cast<Move>(seed / 4 % 4);
        switch (seed % 4) {
        case 0: sortPrograms(db, chosen, key); break;
        case 1: sortFavourite(db, l, entries, key); break;
        case 2: EXPECT_EQ(records(db, movePrograms(db, chosen, move)), chosenBytes); break;
        default: moveFavourites(db, l, entries, move); break;
        }
        const Snapshot after(db);
        EXPECT_TRUE(after.tv == before.tv && after.radio == before.radio);
        for (int k = 0; k < FAV_LISTS; ++k) {
            const auto& [now, was] = std::tie(after.lists[k], before.lists[k]);
            // The list that was sorted or moved holds the same programs in each part.
            if (seed % 2 == 1 && k == l)
                EXPECT_EQ(Bag(now.begin(), now.end()), Bag(was.begin(), was.end()));
            else
                EXPECT_EQ(now, was) << "list " << k + 1;
        }
    }
}

TEST(OrderTest, SortOrdersEachPartAndMovesStopAtTheirEdge)
{
    ChannelDatabase db;
    sample(db, 3);
    const int n = db.programsInUse(), tv = db.tvProgramCount();
    V all(static_cast<std::size_t>(n));
    std::iota(all.begin(), all.end(), 0);
    sortPrograms(db, all, SortKey::ServiceId);
    const auto sid = [&](int q) { return db.raw().u16(DatabaseImage::programOffset(q) + layout::prog::SERVICE_ID); };
    for (int p = 1; p < n; ++p) EXPECT_TRUE(p == tv || sid(p - 1) <= sid(p)) << p;
    // The first TV row cannot go up; the row below it, chosen with it, stays too. The first
    // radio row does not cross into the TV part.
    EXPECT_EQ(movePrograms(db, {0, 1, 5, tv}, Move::Up), (V{0, 1, 4, tv}));
    EXPECT_EQ(movePrograms(db, {n - 1, tv - 1}, Move::Down), (V{tv - 1, n - 1}));
    EXPECT_EQ(movePrograms(db, {3, 7}, Move::Top), (V{0, 1}));
    EXPECT_EQ(movePrograms(db, {3, 7}, Move::Bottom), (V{tv - 2, tv - 1}));
}

TEST(OrderTest, DuplicateRemovalKeepsMembershipsAndLeavesNoCertainDuplicate)
{
    for (std::uint32_t seed = 1; seed <= 6; ++seed) {
        ChannelDatabase db;
        sample(db, seed, seed % 2 == 0);
        const std::vector<DuplicateGroup> groups = findDuplicates(db);
        // Who stands for whom afterwards, by record bytes: the kept program for each removed one.
        std::map<std::string, std::string> standsFor;
        for (int p = 0; p < db.programsInUse(); ++p) standsFor[record(db, p)] = record(db, p);
        for (const DuplicateGroup& g : groups) {
            EXPECT_GE(g.programs.size(), 2u);
            for (int p : g.programs) standsFor[record(db, p)] = record(db, g.keep);
        }
        const Snapshot before(db);
        removeDuplicates(db, groups);
        const auto left = findDuplicates(db);
        EXPECT_TRUE(std::none_of(left.begin(), left.end(), [](const DuplicateGroup& g) { return g.certain; })) << seed;
        const Snapshot after(db);
        for (int l = 0; l < FAV_LISTS; ++l) {
            const Bag now(after.lists[l].begin(), after.lists[l].end());
            for (const std::string& member : before.lists[l]) EXPECT_TRUE(now.count(standsFor[member])) << seed;
        }
    }
}

TEST(OrderTest, BulkLockAndFavourites)
{
    ChannelDatabase db;
    sample(db, 2);
    const auto locked = [&](int p) {
        return (db.raw().u16(DatabaseImage::programOffset(p) + layout::prog::FLAGS) & FLAG_LOCKED) != 0;
    };
    const auto member = [&](int l, int p) {
        for (int e = 0; e < db.favInUse(l); ++e)
            if (db.favEntry(l, e) == p) return true;
        return false;
    };
    setLocked(db, {1, 2}, true);
    EXPECT_TRUE(locked(1) && locked(2));
    setLocked(db, {2}, false);
    EXPECT_TRUE(locked(1) && !locked(2));
    const int count = db.favCount(0);
    ASSERT_FALSE(member(0, 1) || member(0, 2));
    ASSERT_TRUE(addToFavourite(db, 0, {1, 2, 1}));
    EXPECT_EQ(db.favCount(0), count + 2);
    removeFromFavourite(db, 0, {2});
    EXPECT_TRUE(member(0, 1) && !member(0, 2));
}

} // namespace
} // namespace satorix
