// The image model: counts and records, joins and lookups, the provider purge, the CRC, hostile
// counters, the undo history's byte differences, samples and their check.
#include <gtest/gtest.h>

#include <random>
#include <tuple>

#include "db/DatabaseBuilder.h"
#include "db/DatabaseCheck.h"
#include "db/ImageCrc.h"
#include "db/ImageDelta.h"
#include "db/Names.h"
#include "db/PredefinedSatellites.h"
#include "db/SampleGenerator.h"

using namespace satorix;
using V = std::vector<int>;
using S = std::vector<std::string_view>;

namespace {

// 3 TV + 2 radio programs on two satellites, three providers.
struct DatabaseModel : ::testing::Test {
    ChannelDatabase db;
    DatabaseModel()
    {
        DatabaseBuilder b{db};
        b.addSatellite({7, 192, "Astra 1E-2C"});
        b.addSatellite({9, 130, "Hotbird 2-8"});
        b.addTransponder({7, 11000, 0, 27500, 3});
        b.addTransponder({9, 12000, 1, 22000, 0});
        for (const char* p : {"Alpha", "Beta", "Gamma"}) b.addProvider(p);
        b.addTvProgram({"One", 0, 0, 101, 512, 650, 512, FLAG_SCRAMBLED});
        b.addTvProgram({"Two", 2, 1, 102});
        b.addTvProgram({"Three", 1, 0, 103});
        b.addRadioProgram({"Radio A", 2, 1, 201});
        b.addRadioProgram({"Radio B", 0, 0, 202});
        for (const auto& [l, p] : {std::pair{0, 0}, {0, 2}, {0, 3}, {3, 4}}) b.addFavourite(l, p);
        b.finish();
    }
};

} // namespace

TEST_F(DatabaseModel, RecordsCountsFindersMaskProgramInfoCrcAndHostileCounters)
{
    RecordView rec{{0, 4242}}; // field 1 is never written
    ASSERT_EQ(db.getRecord(DBT_TRANSPONDER, 1, rec), 0);
    EXPECT_EQ((V{rec.field[tpf::SAT_ID], rec.field[1], rec.field[tpf::POLARISATION], rec.field[tpf::FREQUENCY],
                 rec.field[tpf::SYMBOL_RATE]}),
              (V{9, 4242, 1, 12000, 22000}));
    // Slots are read without a look at the counter: 2999 is an unused one.
    EXPECT_EQ((V{0, -4, -4}), (V{db.getRecord(DBT_TRANSPONDER, 2999, rec), db.getRecord(DBT_TRANSPONDER, 3000, rec),
                                 db.getRecord(DBT_TRANSPONDER, -5, rec)}));

    // {position, list, result}: position 0 of an empty list is fine, past it is not.
    const int cases[][3] = {{0, 1, 0}, {1, 1, -3}, {3, 0, -3}, {400, 0, -4}, {-1, 0, -4}, {2, 9, -2}, {2, 0, 0}};
    for (const auto& c : cases) {
        rec.field[favf::POSITION] = c[0];
        EXPECT_EQ(db.getRecord(DBT_FAVOURITE, c[1], rec), c[2]) << c[0] << " " << c[1];
    }
    EXPECT_EQ((V{rec.field[favf::ENTRY], rec.field[favf::COUNT], rec.field[favf::TV_COUNT]}), (V{3, 3, 2}));
    rec.field[favf::POSITION] = 0; // list 9 has a name, and no list 10 to point into
    EXPECT_EQ((std::tuple{db.getRecord(DBT_FAVOURITE, 8, rec), rec.name[0] != nullptr, rec.name[1] == nullptr}),
              (std::tuple{0, true, true}));
    // Counts 506.. split each list into TV and radio.
    const auto count = [&](int code) { return db.getCount(code, rec.field[0]), rec.field[0]; };
    EXPECT_EQ((V{count(506), count(507), count(506 + 2 * 3), count(507 + 2 * 3)}), (V{2, 1, 0, 1}));

    int idx = -1;
    EXPECT_EQ((V{db.findSatelliteByName("Hotbird 2-8", &idx), idx}), (V{9, 1}));
    EXPECT_EQ((V{db.findSatellite(9), db.findSatellite(8), db.findSatelliteByName("hotbird 2-8")}), (V{1, -1, -1}));
    EXPECT_EQ((V{db.findTransponder(9, 12000), db.findTransponder(9 + 256, 12000), db.findTransponder(7, 12000)}),
              (V{1, -1, -1}));
    EXPECT_EQ((V{db.findByName(DBT_PROVIDER, "Gamma"), db.findByName(DBT_PROVIDER, "Delta"),
                 db.findByName(DBT_SATELLITE, "x")}),
              (V{2, -1, -5}));
    std::uint32_t m = 0;
    const auto mask = [&](int p) { return m = 0, db.favouriteMask(p, m), m; };
    EXPECT_EQ((std::pair{mask(2), mask(4)}), (std::pair{SCOPE_FAV1, scopeFav(3)}));

    ProgramInfo info;
    ASSERT_EQ(db.getProgramInfo(0, 2, info), 0);
    EXPECT_EQ((S{boundedName(info.name), boundedName(info.providerName), boundedName(info.satelliteName)}),
              (S{"Three", "Beta", "Astra 1E-2C"}));
    EXPECT_EQ((V{info.frequency, static_cast<int>(info.isTv), info.favMember[0][1], info.favMember[0][0]}),
              (V{11000, 1, 1, 0}));
    // Radio-only favourite scope counts from the list's first radio entry.
    ASSERT_EQ(db.getProgramInfo(scopeFav(0) | SCOPE_RADIO, 0, info), 0);
    EXPECT_EQ((std::pair{boundedName(info.name), info.isTv}), (std::pair{std::string_view("Radio A"), 0u}));
    EXPECT_EQ(db.getProgramInfo(0, 6, info), -3);
    ASSERT_EQ(db.getProgramInfoRaw(3, info), 0);
    EXPECT_EQ((V{info.favPosition[0], info.providerIndex, db.getProgramInfoRaw(6, info)}), (V{2, 2, -1}));
    db.raw().setU8(DatabaseImage::transponderOffset(1) + layout::tp::SAT_ID, 77); // an unknown satellite
    EXPECT_EQ(db.getProgramInfo(0, 1, info), -2);

    EXPECT_EQ(crcMpeg2(reinterpret_cast<const std::uint8_t*>("123456789"), 9), 0x0376E6E7u);
    EXPECT_EQ(crcMpeg2(nullptr, 0), 0u);
    db.raw().setU8(layout::CRC_ZERO_BYTE, 0xAB);
    db.updateCrc(0);
    EXPECT_EQ(db.raw().u8(layout::CRC_ZERO_BYTE), 0);
    // Bytewise reference over bytes 12..end.
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 12; i < IMAGE_SIZE; ++i) {
        crc ^= static_cast<std::uint32_t>(db.image()[i]) << 24;
        for (int k = 0; k < 8; ++k) crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
    }
    EXPECT_EQ(db.storedCrc(), crc);
    db.raw().setU32(0, 0xDEADBEEF); // the header words before the CRC do not take part
    EXPECT_EQ(db.computeCrc(), crc);

    // Hostile counters never reach outside the image (run under the sanitizers in CI).
    for (auto set : {&ChannelDatabase::setSatelliteCount, &ChannelDatabase::setProgramCount,
                     &ChannelDatabase::setTransponderCount, &ChannelDatabase::setProviderCount})
        (db.*set)(65535);
    for (int l = 0; l < 9; ++l) db.setFavCount(l, 65535), db.setFavTvCount(l, 65535);
    for (auto at : {layout::prog::TRANSPONDER, layout::prog::PROVIDER})
        db.raw().setU16(DatabaseImage::programOffset(0) + at, 65535);
    EXPECT_EQ((V{-2, -3, -3, -1}),
              (V{db.getProgramInfo(0, 0, info), db.getProgramInfo(scopeFav(0) | SCOPE_RADIO, 0, info),
                 db.getProgramInfo(0, 20000, info), db.getProgramInfoRaw(20000, info)}));
    mask(0);
    db.findTransponder(0, 0);
    db.findSatelliteByName("none");
    db.purgeUnusedProviders();
}

TEST(DatabaseModelBounds, EmptyCountsPurgeAsOneByOneRemovalDeltasUndoExactlySamplesCheckAndLookup)
{
    ChannelDatabase db;
    int n = -1;
    for (int code = 500; code <= 523; ++code)
        EXPECT_EQ((V{0, code == DBT_FAVOURITE ? 9 : 0}), (V{db.getCount(code, n = -1), n})) << code;
    EXPECT_EQ((V{db.getCount(499, n), db.getCount(524, n)}), (V{-1, -1}));
    RecordView rec;
    for (const auto& [type, index, result] : {std::tuple{DBT_PROGRAM, 0, -3},
                                              {DBT_PROGRAM, 20000, -2},
                                              {DBT_SATELLITE, 200, -2},
                                              {DBT_SATELLITE, -1, -2},
                                              {DBT_PROVIDER, 0, -3},
                                              {DBT_PROVIDER, 400, -2},
                                              {499, 0, -1}})
        EXPECT_EQ(db.getRecord(type, index, rec), result) << type << " " << index;
    EXPECT_FALSE(db.isLoaded());

    // The reference removes one provider at a time: move the slots above down, renumber, re-check.
    auto reference = [](ChannelDatabase& db) {
        const auto at = [](int i) { return DatabaseImage::programOffset(i) + layout::prog::PROVIDER; };
        int count = db.providerCount();
        for (int p = 0; p < std::min(count, MAX_PROVIDERS);) {
            bool used = false;
            for (int i = 0; i < db.programsInUse(); ++i) used = used || db.raw().u16(at(i)) == p;
            if (used && ++p) continue;
            const int above = std::max(std::min(count--, MAX_PROVIDERS) - p - 1, 0);
            std::memmove(db.image() + DatabaseImage::providerOffset(p),
                         db.image() + DatabaseImage::providerOffset(p + 1),
                         static_cast<std::size_t>(above) * layout::PROVIDER_SIZE);
            for (int i = 0; i < db.programsInUse(); ++i)
                if (const int v = db.raw().u16(at(i)); v > p) db.raw().setU16(at(i), static_cast<std::uint16_t>(v - 1));
        }
        db.setProviderCount(count);
    };
    // {providers, programs, spread of their provider numbers}
    for (const auto& [providers, programs, spread] :
         {std::tuple{3, 5, 4}, {400, 30, 400}, {65535, 40, 700}, {401, 400, 500}, {50, 0, 1}, {400, 2, 65535}}) {
        auto a = std::make_unique<ChannelDatabase>(), b = std::make_unique<ChannelDatabase>();
        std::uint32_t seed = static_cast<std::uint32_t>(providers * 31 + programs);
        auto next = [&seed] { return seed = seed * 1664525u + 1013904223u, seed >> 8; };
        for (std::size_t i = DatabaseImage::providerOffset(0); i < IMAGE_SIZE; ++i)
            a->raw().setU8(i, static_cast<std::uint8_t>(next()));
        a->setProviderCount(providers);
        a->setProgramCount(programs);
        for (int i = 0; i < programs; ++i)
            a->raw().setU16(DatabaseImage::programOffset(i) + layout::prog::PROVIDER,
                            static_cast<std::uint16_t>(next() % spread));
        b->assignImage(a->image(), IMAGE_SIZE);
        a->purgeUnusedProviders();
        reference(*b);
        EXPECT_EQ(std::memcmp(a->image(), b->image(), IMAGE_SIZE), 0) << providers << " providers, " << programs;
    }

    // The undo history's byte differences: any change comes back exactly in both directions, and a
    // small edit costs a few bytes, not a copy of the image.
    const auto image = [](std::uint32_t seed) {
        std::vector<std::uint8_t> bytes(IMAGE_SIZE);
        std::mt19937 rng(seed);
        for (auto& b : bytes) b = static_cast<std::uint8_t>(rng());
        return bytes;
    };
    // Offsets and lengths of changed runs: the edges of the image, block edges, runs closer and
    // farther apart than the join gap, one byte and whole regions.
    using Runs = std::vector<std::pair<std::size_t, std::size_t>>;
    std::uint32_t c = 0;
    for (const Runs& runs : {Runs{}, Runs{{0, 1}}, Runs{{IMAGE_SIZE - 1, 1}}, Runs{{63, 2}, {127, 1}},
                             Runs{{1000, 1}, {1010, 1}}, Runs{{1000, 1}, {1017, 1}, {1040, 3}},
                             Runs{{layout::PROGRAMS, 20000 * layout::PROGRAM_SIZE}}, Runs{{0, IMAGE_SIZE}}}) {
        const std::vector<std::uint8_t> before = image(c++);
        std::vector<std::uint8_t> after = before;
        for (const auto& [at, n] : runs)
            for (std::size_t i = at; i < at + n; ++i) after[i] ^= 0x5A;
        const ImageDelta d = ImageDelta::between(before, after);
        EXPECT_EQ(d.empty(), runs.empty()) << c;
        std::vector<std::uint8_t> image = after;
        d.applyBefore(image);
        EXPECT_TRUE(image == before) << c;
        d.applyAfter(image);
        EXPECT_TRUE(image == after) << c;
    }

    const std::vector<std::uint8_t> before = image(9);
    const auto changed = [&](std::initializer_list<std::size_t> at) {
        std::vector<std::uint8_t> after = before;
        for (std::size_t i : at) after[i] ^= 1;
        return ImageDelta::between(before, after);
    };
    const std::size_t program = DatabaseImage::programOffset(5) + layout::prog::FLAGS;
    const ImageDelta d = changed({program, layout::CRC});
    EXPECT_EQ((std::tuple{d.rangeCount(), d.storedBytes() < 256, d.touches(program, program + 1),
                          d.touches(program + 1, program + 100), touchesTree(d)}),
              (std::tuple{2u, true, true, false, false}));
    // Names and nodes of the tree: a satellite, a transponder, a provider, a list's name; not a list's entry.
    for (std::size_t at : {DatabaseImage::satelliteOffset(3) + 4, DatabaseImage::transponderOffset(7),
                           DatabaseImage::providerOffset(2), DatabaseImage::favOffset(8) + 3})
        EXPECT_TRUE(touchesTree(changed({at}))) << at;
    EXPECT_FALSE(touchesTree(changed({DatabaseImage::favEntryOffset(8, 0)})));

    auto a = std::make_unique<ChannelDatabase>(), b = std::make_unique<ChannelDatabase>();
    for (auto* x : {a.get(), b.get()}) generateSample(*x, {false, 11});
    EXPECT_EQ(checkDatabase(*a), std::vector<std::string>{});
    EXPECT_EQ(std::memcmp(a->image(), b->image(), IMAGE_SIZE), 0);
    EXPECT_TRUE(a->programCount() > 200 && a->programCount() > a->tvProgramCount());

    generateSample(*b, {true, 1});
    EXPECT_EQ(checkDatabase(*b), std::vector<std::string>{});
    EXPECT_EQ(
        (V{b->satelliteCount(), b->transponderCount(), b->programCount(), b->tvProgramCount(), b->providerCount()}),
        (V{200, 3000, 20000, 15000, 400}));
    for (int l = 0; l < FAV_LISTS; ++l) EXPECT_EQ(b->favCount(l), 399);

    // Sample satellites come from the predefined table, so Default finds them.
    const std::string first(boundedName(a->raw().namePtr(DatabaseImage::satelliteOffset(0) + layout::sat::NAME)));
    EXPECT_GE(findPredefinedSatellite(first), 0);

    // The check finds each kind of problem; each corruption stays, its message is its own.
    generateSample(db, {false, 2});
    auto expectProblem = [&](const char* fragment) {
        EXPECT_TRUE(std::ranges::any_of(checkDatabase(db), [&](const auto& p) { return p.find(fragment) != p.npos; }))
            << fragment;
    };
    db.raw().setU8(700000, 1);
    expectProblem("CRC mismatch");
    db.raw().setU16(DatabaseImage::programOffset(3) + layout::prog::TRANSPONDER, 3000);
    expectProblem("program 3: transponder index 3000");
    db.setFavEntry(0, 0, db.programCount() - 1); // a radio program in the TV part
    expectProblem("radio program");
    db.setTvProgramCount(db.programCount() + 1);
    expectProblem("TV program count");
    db.setProgramCount(65535);
    expectProblem("program count 65535 exceeds");

    // The lookup is exact: case and trailing blanks count.
    const auto t = predefinedSatellites();
    ASSERT_EQ(t.size(), 153u);
    for (std::size_t i = 0; i < t.size(); ++i) EXPECT_EQ(t[i].row, i);
    EXPECT_EQ(t[static_cast<std::size_t>(findPredefinedSatellite("Astra 1E-2C"))].position, 192);
    EXPECT_EQ((V{findPredefinedSatellite("astra 1E-2C"), findPredefinedSatellite("Insat3E-C"),
                 findPredefinedSatellite("Terrestrial")}),
              (V{-1, -1, 152}));
    EXPECT_EQ(t[static_cast<std::size_t>(findPredefinedSatellite("Insat3E-C "))].lnbLowLo, 5150);
}
