// Sort, move, bulk edits and duplicate removal on generated databases: whatever is asked, the
// programs stay the same programs and every favourite entry keeps naming the one it named.
#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <string>

#include "db/ChannelDatabase.h"
#include "db/Duplicates.h"
#include "db/ProgramOrder.h"
#include "db/SampleGenerator.h"

namespace satorix {
namespace {

std::string record(const ChannelDatabase& db, int p)
{
    const auto* at = db.image() + DatabaseImage::programOffset(p);
    return {reinterpret_cast<const char*>(at), layout::PROGRAM_SIZE};
}

// Every program's bytes with its kind, and each list's entries as those bytes.
struct Snapshot {
    std::multiset<std::string> tv, radio;
    std::vector<std::vector<std::string>> lists;
    explicit Snapshot(const ChannelDatabase& db) : lists(FAV_LISTS)
    {
        for (int p = 0; p < db.programsInUse(); ++p) (p < db.tvProgramCount() ? tv : radio).insert(record(db, p));
        for (int l = 0; l < FAV_LISTS; ++l)
            for (int e = 0; e < db.favInUse(l); ++e) lists[l].push_back(record(db, db.favEntry(l, e)));
    }
};

void sample(ChannelDatabase& db, std::uint32_t seed)
{
    db.setListingPath({});
    generateSample(db, {false, seed});
}

TEST(OrderTest, NaturalOrderIgnoresCaseAndReadsNumbers)
{
    const std::vector<std::pair<std::string, std::string>> ascending = {
        {"Sport 2", "Sport 10"}, {"alpha", "Beta"}, {"BBC", "bbc 1"}, {"a01", "a2"}, {"", "0"}, {"x9", "xa"}};
    for (const auto& [a, b] : ascending) {
        EXPECT_LT(naturalCompare(a, b), 0) << a << " < " << b;
        EXPECT_GT(naturalCompare(b, a), 0) << b << " > " << a;
    }
    EXPECT_EQ(naturalCompare("News 007", "news 7"), 0);
}

TEST(OrderTest, SortsAndMovesKeepProgramsAndFavourites)
{
    std::mt19937 rng(7);
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        ChannelDatabase db;
        sample(db, seed);
        const Snapshot before(db);
        const int n = db.programsInUse();
        std::vector<int> chosen;
        for (int p = 0; p < n; ++p)
            if (rng() % 3 == 0) chosen.push_back(p);
        const std::vector<std::string> chosenBytes = [&] {
            std::vector<std::string> v;
            for (int p : chosen) v.push_back(record(db, p));
            return v;
        }();
        const int l = static_cast<int>(seed % FAV_LISTS);
        std::vector<int> entries;
        for (int e = 0; e < db.favInUse(l); e += 2) entries.push_back(e);
        switch (seed % 4) {
        case 0: sortPrograms(db, chosen, static_cast<SortKey>(seed / 4 % 4)); break;
        case 1: sortFavourite(db, l, entries, static_cast<SortKey>(seed / 4 % 4)); break;
        case 2: {
            const std::vector<int> moved = movePrograms(db, chosen, static_cast<Move>(seed / 4 % 4));
            ASSERT_EQ(moved.size(), chosen.size()) << seed;
            std::vector<std::string> now;
            for (int p : moved) now.push_back(record(db, p));
            EXPECT_EQ(std::multiset<std::string>(now.begin(), now.end()),
                      std::multiset<std::string>(chosenBytes.begin(), chosenBytes.end()))
                << seed;
            break;
        }
        default: moveFavourites(db, l, entries, static_cast<Move>(seed / 4 % 4)); break;
        }
        const Snapshot after(db);
        EXPECT_EQ(after.tv, before.tv) << seed;
        EXPECT_EQ(after.radio, before.radio) << seed;
        for (int k = 0; k < FAV_LISTS; ++k) {
            if (seed % 2 == 1 && k == l) {
                // The list that was sorted or moved holds the same programs in each part.
                EXPECT_EQ(std::multiset<std::string>(after.lists[k].begin(), after.lists[k].end()),
                          std::multiset<std::string>(before.lists[k].begin(), before.lists[k].end()))
                    << seed;
            } else {
                EXPECT_EQ(after.lists[k], before.lists[k]) << seed << " list " << k + 1;
            }
        }
    }
}

TEST(OrderTest, SortOrdersEachPartAndMovesStopAtTheirEdge)
{
    ChannelDatabase db;
    sample(db, 3);
    const int n = db.programsInUse(), tv = db.tvProgramCount();
    std::vector<int> all(static_cast<std::size_t>(n));
    std::iota(all.begin(), all.end(), 0);
    sortPrograms(db, all, SortKey::ServiceId);
    for (int p = 1; p < n; ++p) {
        if (p == tv) continue;
        const auto sid = [&](int q) {
            return db.raw().u16(DatabaseImage::programOffset(q) + layout::prog::SERVICE_ID);
        };
        EXPECT_LE(sid(p - 1), sid(p)) << p;
    }
    // The first TV row cannot go up; the row below it, chosen with it, stays too. The first
    // radio row does not cross into the TV part.
    EXPECT_EQ(movePrograms(db, {0, 1, 5, tv}, Move::Up), (std::vector<int>{0, 1, 4, tv}));
    EXPECT_EQ(movePrograms(db, {n - 1, tv - 1}, Move::Down), (std::vector<int>{tv - 1, n - 1}));
    EXPECT_EQ(movePrograms(db, {3, 7}, Move::Top), (std::vector<int>{0, 1}));
    EXPECT_EQ(movePrograms(db, {3, 7}, Move::Bottom), (std::vector<int>{tv - 2, tv - 1}));
}

TEST(OrderTest, DuplicateRemovalKeepsMembershipsAndLeavesNoCertainDuplicate)
{
    for (std::uint32_t seed = 1; seed <= 6; ++seed) {
        ChannelDatabase db;
        db.setListingPath({});
        generateSample(db, {seed % 2 == 0, seed});
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
        EXPECT_TRUE(std::none_of(findDuplicates(db).begin(), findDuplicates(db).end(), [](const DuplicateGroup& g) {
            return g.certain;
        })) << seed;
        const Snapshot after(db);
        for (int l = 0; l < FAV_LISTS; ++l) {
            const std::multiset<std::string> now(after.lists[l].begin(), after.lists[l].end());
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
    setLocked(db, {1, 2}, true);
    EXPECT_TRUE(locked(1) && locked(2));
    setLocked(db, {2}, false);
    EXPECT_TRUE(locked(1) && !locked(2));
    const auto member = [&](int l, int p) {
        for (int e = 0; e < db.favInUse(l); ++e)
            if (db.favEntry(l, e) == p) return true;
        return false;
    };
    const int count = db.favCount(0);
    ASSERT_FALSE(member(0, 1) || member(0, 2));
    ASSERT_TRUE(addToFavourite(db, 0, {1, 2, 1}));
    EXPECT_EQ(db.favCount(0), count + 2);
    removeFromFavourite(db, 0, {2});
    EXPECT_TRUE(member(0, 1) && !member(0, 2));
}

} // namespace
} // namespace satorix
