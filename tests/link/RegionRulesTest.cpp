// Which receiver may take what, and where the region goes.
#include <gtest/gtest.h>

#include "link/RegionRules.h"
#include "link/TransferProcedures.h"
#include "tests/link/LinkTestSupport.h"

using namespace satorix;
using namespace satorix::link;

namespace {

StbIdentity receiver(std::uint32_t hardwareId)
{
    StbIdentity r = OWN_IDENTITY;
    r.hardwareId = hardwareId;
    return r;
}

} // namespace

TEST(RegionRules, IdentityRulesBySelector)
{
    const StbIdentity c = OWN_IDENTITY;
    StbIdentity otherModel = c;
    otherModel.model[7] = '1';
    StbIdentity otherWord2 = c;
    otherWord2.compatWord2 = 1;
    StbIdentity otherHw = receiver(0x03010201);

    EXPECT_TRUE(identityCompatible(4, 99, receiver(0x12345678), c)) << "only region type 1 is checked";
    EXPECT_TRUE(identityCompatible(3, 0, otherModel, c));
    EXPECT_FALSE(identityCompatible(1, 8, c, c));

    EXPECT_FALSE(identityCompatible(1, 0, otherModel, c));
    EXPECT_TRUE(identityCompatible(1, 1, otherModel, c));
    EXPECT_FALSE(identityCompatible(1, 3, otherWord2, c));
    EXPECT_FALSE(identityCompatible(1, 2, otherHw, c));
    EXPECT_TRUE(identityCompatible(1, 4, otherHw, c));
    EXPECT_TRUE(identityCompatible(1, 7, otherWord2, c));
    for (std::uint32_t wildcard : {0x7FFFFFFFu, 0x7F7FFFFFu, 0x7F7F7F7Fu})
        for (std::uint32_t selector = 0; selector <= 7; ++selector)
            EXPECT_TRUE(identityCompatible(1, selector, receiver(wildcard), otherModel)) << selector;

    // Selector 6 refuses any identity with bit 31 set, wildcard or not.
    EXPECT_TRUE(identityCompatible(1, 6, c, c));
    EXPECT_FALSE(identityCompatible(1, 6, receiver(0x83010101), c));
    EXPECT_FALSE(identityCompatible(1, 6, c, receiver(0x83010101)));
}

TEST(RegionRules, PreparedRegions)
{
    const StbIdentity c = OWN_IDENTITY;
    test::ReportLog log;
    FileInfo info;
    EXPECT_FALSE(prepareRegion(4, 4, receiver(0x7FFFFFFF), c, info, log.callback())) << "a wildcard has no row";

    ASSERT_TRUE(prepareRegion(4, 0, receiver(0x03010101), c, info, log.callback()));
    EXPECT_EQ(info, (FileInfo{4, 0x006A0000, 0x100000, 256, {}}));

    ASSERT_TRUE(prepareRegion(3, 9, receiver(0x83010101), receiver(0x03010155), info, log.callback()));
    EXPECT_EQ(info, (FileInfo{3, 0x00690000, 0x600000, 0x600, {}}));
    EXPECT_FALSE(prepareRegion(3, 0, receiver(0x03010101), receiver(0x03010201), info, log.callback()));
    EXPECT_TRUE(log.contains(REPORT_TRACE, 0x32));

    const std::pair<std::uint32_t, FileInfo> bySelector[] = {
        {0, {1, 0x00690000, 0x7FFFFF, 2048, {}}}, {1, {1, 0x00690000, 0x7FFFFF, 2048, {}}},
        {2, {2, 0x00690000, 0x77FFFF, 1920, {}}}, {3, {3, 0x00690000, 0x600000, 1536, {}}},
        {4, {4, 0x006A0000, 0x100000, 256, {}}},
    };
    for (const auto& [selector, expected] : bySelector) {
        ASSERT_TRUE(prepareRegion(1, selector, receiver(0x83010201), receiver(0x83010201), info, log.callback()));
        EXPECT_EQ(info, expected) << selector;
    }
    EXPECT_FALSE(prepareRegion(1, 5, c, c, info, log.callback()));
    ASSERT_TRUE(prepareRegion(6, 0, c, c, info, log.callback()));
    EXPECT_EQ(info.fileSize, 0x600000u);

    StbIdentity otherModel = c;
    otherModel.model[0] = 'X';
    EXPECT_FALSE(prepareRegion(1, 0, otherModel, c, info, log.callback()));
    EXPECT_FALSE(prepareRegion(1, 2, otherModel, c, info, log.callback()));
    EXPECT_TRUE(log.contains(REPORT_TRACE, 0x21));
    EXPECT_TRUE(log.contains(REPORT_TRACE, 0x22));
}

TEST(RegionRules, SoftwareFileLengthChoosesTheRegion)
{
    for (const auto [length, type, sizeClass] :
         {std::array<std::uint32_t, 3>{1048575, 4, 0}, {1048576, 3, 1}, {7340031, 3, 1}, {7340032, 1, 2}}) {
        std::uint32_t cls = 9;
        EXPECT_EQ(upgradeRegionType(length, &cls), type) << length;
        EXPECT_EQ(cls, sizeClass) << length;
    }
    EXPECT_EQ((std::array{receiveLimit(5), receiveLimit(7), receiveLimit(2)}),
              (std::array<std::uint32_t, 3>{0, 0, 0x720000}));
}
