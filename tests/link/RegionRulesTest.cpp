// Which receiver may take what, and where the region goes.
#include <gtest/gtest.h>

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
    const StbIdentity c = OWN_IDENTITY, otherHw = receiver(0x03010201), bit31 = receiver(0x83010101);
    StbIdentity otherModel = c, otherWord2 = c;
    otherModel.model[7] = '1';
    otherWord2.compatWord2 = 1;
    // Only region type 1 is checked. Selector 6 refuses any identity with bit 31 set, wildcard or not.
    EXPECT_EQ((std::vector{identityCompatible(4, 99, receiver(0x12345678), c), identityCompatible(3, 0, otherModel, c),
                           identityCompatible(1, 8, c, c), identityCompatible(1, 0, otherModel, c),
                           identityCompatible(1, 1, otherModel, c), identityCompatible(1, 3, otherWord2, c),
                           identityCompatible(1, 2, otherHw, c), identityCompatible(1, 4, otherHw, c),
                           identityCompatible(1, 7, otherWord2, c), identityCompatible(1, 6, c, c),
                           identityCompatible(1, 6, bit31, c), identityCompatible(1, 6, c, bit31)}),
              (std::vector{true, true, false, false, true, false, false, true, true, true, false, false}));
    for (std::uint32_t wildcard : {0x7FFFFFFFu, 0x7F7FFFFFu, 0x7F7F7F7Fu})
        for (std::uint32_t selector = 0; selector <= 7; ++selector)
            EXPECT_TRUE(identityCompatible(1, selector, receiver(wildcard), otherModel)) << selector;
}

TEST(RegionRules, PreparedRegions)
{
    const StbIdentity c = OWN_IDENTITY, any = receiver(0x83010201);
    StbIdentity otherModel = c;
    otherModel.model[0] = 'X';
    const struct {
        std::uint32_t kind, selector;
        StbIdentity r, c;
        FileInfo info; // type 0: refused; a wildcard has no row
    } cases[] = {{4, 4, receiver(0x7FFFFFFF), c, {}},
                 {4, 0, receiver(0x03010101), c, {4, 0x006A0000, 0x100000, 256, {}}},
                 {3, 9, receiver(0x83010101), receiver(0x03010155), {3, 0x00690000, 0x600000, 0x600, {}}},
                 {3, 0, receiver(0x03010101), receiver(0x03010201), {}},
                 {1, 0, any, any, {1, 0x00690000, 0x7FFFFF, 2048, {}}},
                 {1, 1, any, any, {1, 0x00690000, 0x7FFFFF, 2048, {}}},
                 {1, 2, any, any, {2, 0x00690000, 0x77FFFF, 1920, {}}},
                 {1, 3, any, any, {3, 0x00690000, 0x600000, 1536, {}}},
                 {1, 4, any, any, {4, 0x006A0000, 0x100000, 256, {}}},
                 {1, 5, c, c, {}},
                 {6, 0, c, c, {6, 0x00690000, 0x600000, 1536, {}}},
                 {1, 0, otherModel, c, {}},
                 {1, 2, otherModel, c, {}}};
    test::ReportLog log;
    for (const auto& k : cases) {
        FileInfo info;
        const bool prepared = prepareRegion(k.kind, k.selector, k.r, k.c, info, log.callback());
        EXPECT_EQ(prepared ? info : FileInfo{}, k.info) << k.kind << " " << k.selector;
    }
    EXPECT_EQ(log.valuesOf(REPORT_TRACE), (std::vector<std::uint32_t>{0x32, 0x21, 0x22}));
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
