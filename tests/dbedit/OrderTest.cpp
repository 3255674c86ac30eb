// Sort, move, bulk edits and duplicate removal on generated databases: whatever is asked, the
// programs stay the same programs and every favourite entry keeps naming the one it named.
#include <map>
#include <random>
#include <set>

#include "db/Duplicates.h"
#include "db/ProgramOrder.h"
#include "db/SampleGenerator.h"
#include "tests/dbedit/EditFixture.h"

namespace satorix::test {
namespace {

class Order : public EditFixture {
protected:
    Bytes record(int p) const { return bytes(DatabaseImage::programOffset(p), DatabaseImage::programOffset(p + 1)); }
    // Every program's bytes with its kind, and each list's entries as those bytes.
    std::multiset<std::pair<bool, Bytes>> programs() const
    {
        std::multiset<std::pair<bool, Bytes>> out;
        for (int p = 0; p < db.programsInUse(); ++p) out.emplace(p < db.tvProgramCount(), record(p));
        return out;
    }
    std::vector<std::vector<Bytes>> lists() const
    {
        std::vector<std::vector<Bytes>> out(FAV_LISTS);
        for (int l = 0; l < FAV_LISTS; ++l)
            for (int e : entries(l)) out[l].push_back(record(e));
        return out;
    }
};

TEST_F(Order, SortsMovesBulkEditsAndDuplicateRemovalKeepProgramsListsAndOrder)
{
    std::mt19937 rng(7);
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE(seed);
        generateSample(db, {false, seed});
        const auto programsBefore = programs();
        auto listsBefore = lists();
        V chosen;
        for (int p = 0; p < db.programsInUse(); ++p)
            if (rng() % 3 == 0) chosen.push_back(p);
        const int l = static_cast<int>(seed % FAV_LISTS);
        const V positions = collect((db.favInUse(l) + 1) / 2, [](int k) { return 2 * k; });
        const auto key = static_cast<SortKey>(seed / 4 % 4);
        const auto move = static_cast<Move>(seed / 4 % 4);
        switch (seed % 4) {
        case 0: sortPrograms(db, chosen, key); break;
        case 1: sortFavourite(db, l, positions, key); break;
        case 2: movePrograms(db, chosen, move); break;
        default: moveFavourites(db, l, positions, move); break;
        }
        EXPECT_TRUE(programs() == programsBefore);
        auto listsAfter = lists();
        if (seed % 2 == 1) // the list that was sorted or moved holds the same programs
            for (auto* list : {&listsAfter[l], &listsBefore[l]}) std::ranges::sort(*list);
        EXPECT_EQ(listsAfter, listsBefore);
    }

    const std::vector<std::pair<std::string, std::string>> ascending = {
        {"Sport 2", "Sport 10"}, {"alpha", "Beta"}, {"BBC", "bbc 1"}, {"a01", "a2"}, {"", "0"}, {"x9", "xa"}};
    for (const auto& [a, b] : ascending)
        EXPECT_TRUE(naturalCompare(a, b) < 0 && naturalCompare(b, a) > 0) << a << " < " << b;
    EXPECT_EQ(naturalCompare("News 007", "news 7"), 0);

    generateSample(db, {false, 3});
    const int n = db.programsInUse(), tv = db.tvProgramCount();
    sortPrograms(db, collect(n, [](int p) { return p; }), SortKey::ServiceId);
    const V sids = serviceIds();
    for (int p = 1; p < n; ++p) EXPECT_TRUE(p == tv || sids[p - 1] <= sids[p]) << p;
    // The first TV row cannot go up; the row below it, chosen with it, stays too. The first
    // radio row does not cross into the TV part.
    EXPECT_EQ(movePrograms(db, {0, 1, 5, tv}, Move::Up), (V{0, 1, 4, tv}));
    EXPECT_EQ(movePrograms(db, {n - 1, tv - 1}, Move::Down), (V{tv - 1, n - 1}));
    EXPECT_EQ(movePrograms(db, {3, 7}, Move::Top), (V{0, 1}));
    EXPECT_EQ(movePrograms(db, {3, 7}, Move::Bottom), (V{tv - 2, tv - 1}));

    generateSample(db, {false, 2});
    const auto locked = [&](int p) { return field(p, layout::prog::FLAGS) & FLAG_LOCKED; };
    setLocked(db, {1, 2}, true);
    const V both{locked(1), locked(2)};
    setLocked(db, {2}, false);
    EXPECT_EQ((VV{{FLAG_LOCKED, FLAG_LOCKED}, {FLAG_LOCKED, 0}}), (VV{both, {locked(1), locked(2)}}));
    const auto in0 = [&](int p) { return static_cast<int>(std::ranges::count(entries(0), p)); };
    const int count = db.favCount(0);
    ASSERT_EQ((V{0, 0}), (V{in0(1), in0(2)}));
    ASSERT_TRUE(addToFavourite(db, 0, {1, 2, 1}));
    EXPECT_EQ((V{count + 2, 1, 1}), (V{db.favCount(0), in0(1), in0(2)}));
    removeFromFavourite(db, 0, {2});
    EXPECT_EQ((V{1, 0}), (V{in0(1), in0(2)}));

    for (std::uint32_t seed = 1; seed <= 6; ++seed) {
        generateSample(db, {seed % 2 == 0, seed});
        const std::vector<DuplicateGroup> groups = findDuplicates(db);
        // Who stands for whom afterwards, by record bytes: the kept program for each removed one.
        std::map<Bytes, Bytes> standsFor;
        for (int p = 0; p < db.programsInUse(); ++p) standsFor[record(p)] = record(p);
        for (const DuplicateGroup& g : groups) {
            EXPECT_GE(g.programs.size(), 2u);
            for (int p : g.programs) standsFor[record(p)] = record(g.keep);
        }
        const auto before = lists();
        removeDuplicates(db, groups);
        EXPECT_TRUE(std::ranges::none_of(findDuplicates(db), [](const DuplicateGroup& g) { return g.certain; }))
            << seed;
        const auto after = lists();
        for (int l = 0; l < FAV_LISTS; ++l)
            for (const Bytes& member : before[l]) EXPECT_TRUE(std::ranges::count(after[l], standsFor[member])) << seed;
    }
}

} // namespace
} // namespace satorix::test
