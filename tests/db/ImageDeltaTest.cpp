// The undo history's byte differences: any change comes back exactly in both directions, and a
// small edit costs a few bytes, not a copy of the image.
#include <gtest/gtest.h>
#include <random>
#include <vector>

#include "db/DatabaseImage.h"
#include "db/ImageDelta.h"

namespace satorix {
namespace {

std::vector<std::uint8_t> image(std::uint32_t seed)
{
    std::vector<std::uint8_t> bytes(IMAGE_SIZE);
    std::mt19937 rng(seed);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(rng());
    return bytes;
}

TEST(ImageDeltaTest, EveryChangeUndoesAndRedoesExactly)
{
    // Offsets and lengths of changed runs: the edges of the image, block edges, runs closer and
    // farther apart than the join gap, one byte and whole regions.
    const std::vector<std::vector<std::pair<std::size_t, std::size_t>>> cases = {
        {},
        {{0, 1}},
        {{IMAGE_SIZE - 1, 1}},
        {{63, 2}, {127, 1}},
        {{1000, 1}, {1010, 1}},
        {{1000, 1}, {1017, 1}, {1040, 3}},
        {{layout::PROGRAMS, 20000 * layout::PROGRAM_SIZE}},
        {{0, IMAGE_SIZE}},
    };
    for (std::size_t c = 0; c < cases.size(); ++c) {
        const std::vector<std::uint8_t> before = image(static_cast<std::uint32_t>(c));
        std::vector<std::uint8_t> after = before;
        for (const auto& [at, n] : cases[c])
            for (std::size_t i = at; i < at + n; ++i) after[i] ^= 0x5A;
        const ImageDelta d = ImageDelta::between(before, after);
        EXPECT_EQ(d.empty(), cases[c].empty()) << c;
        std::vector<std::uint8_t> image = after;
        d.applyBefore(image);
        EXPECT_TRUE(image == before) << c;
        d.applyAfter(image);
        EXPECT_TRUE(image == after) << c;
    }
}

TEST(ImageDeltaTest, SmallEditsAreSmallAndSayWhatTheyTouch)
{
    const std::vector<std::uint8_t> before = image(9);
    std::vector<std::uint8_t> after = before;
    const std::size_t program = DatabaseImage::programOffset(5) + layout::prog::FLAGS;
    after[program] ^= 4;
    after[layout::CRC] ^= 1;
    ImageDelta d = ImageDelta::between(before, after);
    EXPECT_EQ(d.rangeCount(), 2u);
    EXPECT_LT(d.storedBytes(), 256u);
    EXPECT_TRUE(d.touches(program, program + 1));
    EXPECT_FALSE(d.touches(program + 1, program + 100));
    EXPECT_FALSE(touchesTree(d));

    // Names and nodes of the tree: a satellite, a transponder, a provider, a list's name.
    for (std::size_t at : {DatabaseImage::satelliteOffset(3) + 4, DatabaseImage::transponderOffset(7),
                           DatabaseImage::providerOffset(2), DatabaseImage::favOffset(8) + 3}) {
        std::vector<std::uint8_t> renamed = before;
        renamed[at] ^= 1;
        EXPECT_TRUE(touchesTree(ImageDelta::between(before, renamed))) << at;
    }
    std::vector<std::uint8_t> entry = before;
    entry[DatabaseImage::favEntryOffset(8, 0)] ^= 1;
    EXPECT_FALSE(touchesTree(ImageDelta::between(before, entry)));
}

} // namespace
} // namespace satorix
