#include <gtest/gtest.h>

#include <memory>

#include "db/DatabaseCheck.h"
#include "db/Names.h"
#include "db/PredefinedSatellites.h"
#include "db/SampleGenerator.h"

using namespace satorix;

TEST(SampleAndCheck, SamplesAreConsistentAndDeterministic)
{
    auto a = std::make_unique<ChannelDatabase>();
    auto b = std::make_unique<ChannelDatabase>();
    generateSample(*a, {false, 11});
    generateSample(*b, {false, 11});
    EXPECT_EQ(checkDatabase(*a), std::vector<std::string>{});
    EXPECT_EQ(std::memcmp(a->image(), b->image(), IMAGE_SIZE), 0);
    EXPECT_GT(a->programCount(), 200);
    EXPECT_GT(a->programCount(), a->tvProgramCount());

    generateSample(*b, {true, 1});
    EXPECT_EQ(checkDatabase(*b), std::vector<std::string>{});
    EXPECT_EQ((std::vector<int>{b->satelliteCount(), b->transponderCount(), b->programCount(), b->tvProgramCount(),
                                b->providerCount()}),
              (std::vector<int>{200, 3000, 20000, 15000, 400}));
    for (int l = 0; l < FAV_LISTS; ++l) EXPECT_EQ(b->favCount(l), 399);

    // Sample satellites come from the predefined table, so Default finds them.
    const std::string first(boundedName(a->raw().namePtr(DatabaseImage::satelliteOffset(0) + layout::sat::NAME)));
    EXPECT_GE(findPredefinedSatellite(first), 0);
}

TEST(SampleAndCheck, CheckFindsEachKindOfProblem)
{
    auto db = std::make_unique<ChannelDatabase>();
    generateSample(*db, {false, 2});
    auto expectProblem = [&](const char* fragment) {
        const auto problems = checkDatabase(*db);
        bool found = false;
        for (const auto& p : problems) found = found || p.find(fragment) != std::string::npos;
        EXPECT_TRUE(found) << fragment;
    };
    db->raw().setU8(700000, 1);
    expectProblem("CRC mismatch");
    db->updateCrc(0);

    db->raw().setU16(DatabaseImage::programOffset(3) + layout::prog::TRANSPONDER, 3000);
    expectProblem("program 3: transponder index 3000");
    db->raw().setU16(DatabaseImage::programOffset(3) + layout::prog::TRANSPONDER, 0);

    const int tvEntry = db->favEntry(0, 0);
    db->setFavEntry(0, 0, db->programCount() - 1); // a radio program in the TV part
    expectProblem("radio program");
    db->setFavEntry(0, 0, tvEntry);

    db->setTvProgramCount(db->programCount() + 1);
    expectProblem("TV program count");
    db->setProgramCount(65535);
    expectProblem("program count 65535 exceeds");
}

// The lookup is exact: case and trailing blanks count.
TEST(PredefinedSatellites, TableRowsAndExactLookup)
{
    const auto t = predefinedSatellites();
    ASSERT_EQ(t.size(), 153u);
    for (std::size_t i = 0; i < t.size(); ++i) EXPECT_EQ(t[i].row, i);
    EXPECT_EQ(t[static_cast<std::size_t>(findPredefinedSatellite("Astra 1E-2C"))].position, 192);
    EXPECT_EQ(findPredefinedSatellite("astra 1E-2C"), -1);
    EXPECT_EQ(findPredefinedSatellite("Insat3E-C"), -1);
    EXPECT_EQ(t[static_cast<std::size_t>(findPredefinedSatellite("Insat3E-C "))].lnbLowLo, 5150);
    EXPECT_EQ(findPredefinedSatellite("Terrestrial"), 152);
}
