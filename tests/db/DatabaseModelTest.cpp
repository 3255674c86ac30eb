#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <tuple>

#include "db/ChannelDatabase.h"
#include "db/DatabaseBuilder.h"
#include "db/ImageCrc.h"
#include "db/Names.h"

using namespace satorix;
using V = std::vector<int>;
using S = std::vector<std::string_view>;

namespace {

// 3 TV + 2 radio programs on two satellites, three providers.
struct SmallDb {
    std::unique_ptr<ChannelDatabase> db = std::make_unique<ChannelDatabase>();
    SmallDb()
    {
        DatabaseBuilder b{*db};
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

TEST(DatabaseModel, EmptyDatabaseAnswersZeroCountsAndRefusesRecords)
{
    ChannelDatabase db;
    for (int code = 500; code <= 523; ++code) {
        int n = -1;
        ASSERT_EQ(db.getCount(code, n), 0) << code;
        EXPECT_EQ(n, code == DBT_FAVOURITE ? 9 : 0) << code;
    }
    int n = 0;
    EXPECT_EQ((V{db.getCount(499, n), db.getCount(524, n)}), (V{-1, -1}));
    RecordView rec;
    const int refused[][3] = {{DBT_PROGRAM, 0, -3},
                              {DBT_PROGRAM, 20000, -2},
                              {DBT_SATELLITE, 200, -2},
                              {DBT_SATELLITE, -1, -2},
                              {DBT_PROVIDER, 0, -3},
                              {DBT_PROVIDER, 400, -2},
                              {499, 0, -1}};
    for (const auto& r : refused) EXPECT_EQ(db.getRecord(r[0], r[1], rec), r[2]) << r[0] << " " << r[1];
    EXPECT_FALSE(db.isLoaded());
}

TEST(DatabaseModel, TransponderSlotsReadWithoutCounterCheck)
{
    SmallDb s;
    RecordView rec;
    rec.field[1] = 4242; // field 1 is never written
    ASSERT_EQ(s.db->getRecord(DBT_TRANSPONDER, 1, rec), 0);
    EXPECT_EQ((V{rec.field[tpf::SAT_ID], rec.field[1], rec.field[tpf::POLARISATION], rec.field[tpf::FREQUENCY],
                 rec.field[tpf::SYMBOL_RATE]}),
              (V{9, 4242, 1, 12000, 22000}));
    EXPECT_EQ((V{0, -4, -4}),
              (V{s.db->getRecord(DBT_TRANSPONDER, 2999, rec), s.db->getRecord(DBT_TRANSPONDER, 3000, rec),
                 s.db->getRecord(DBT_TRANSPONDER, -5, rec)})); // 2999: an unused slot
}

TEST(DatabaseModel, FavouriteRecordPositionRules)
{
    SmallDb s;
    RecordView rec;
    // {position, list, result}: position 0 of an empty list is fine, past it is not.
    const int cases[][3] = {{0, 1, 0}, {1, 1, -3}, {3, 0, -3}, {400, 0, -4}, {-1, 0, -4}, {2, 9, -2}, {2, 0, 0}};
    for (const auto& c : cases) {
        rec.field[favf::POSITION] = c[0];
        EXPECT_EQ(s.db->getRecord(DBT_FAVOURITE, c[1], rec), c[2]) << c[0] << " " << c[1];
    }
    EXPECT_EQ((V{rec.field[favf::ENTRY], rec.field[favf::COUNT], rec.field[favf::TV_COUNT]}), (V{3, 3, 2}));
    rec.field[favf::POSITION] = 0;
    ASSERT_EQ(s.db->getRecord(DBT_FAVOURITE, 8, rec), 0);
    EXPECT_NE(rec.name[0], nullptr);
    EXPECT_EQ(rec.name[1], nullptr); // no list 10 to point into

    // Counts 506.. split each list into TV and radio.
    const auto count = [&](int code) { return s.db->getCount(code, rec.field[0]), rec.field[0]; };
    EXPECT_EQ((V{count(506), count(507), count(506 + 2 * 3), count(507 + 2 * 3)}), (V{2, 1, 0, 1}));
}

TEST(DatabaseModel, ProgramInfoJoinsSatelliteTransponderAndFavourites)
{
    SmallDb s;
    ProgramInfo info;
    ASSERT_EQ(s.db->getProgramInfo(0, 2, info), 0);
    EXPECT_EQ((S{boundedName(info.name), boundedName(info.providerName), boundedName(info.satelliteName)}),
              (S{"Three", "Beta", "Astra 1E-2C"}));
    EXPECT_EQ((V{info.frequency, static_cast<int>(info.isTv), info.favMember[0][1], info.favMember[0][0]}),
              (V{11000, 1, 1, 0}));

    // Radio-only favourite scope counts from the list's first radio entry.
    ASSERT_EQ(s.db->getProgramInfo(scopeFav(0) | SCOPE_RADIO, 0, info), 0);
    EXPECT_EQ((std::pair{boundedName(info.name), info.isTv}), (std::pair{std::string_view("Radio A"), 0u}));
    EXPECT_EQ(s.db->getProgramInfo(0, 6, info), -3);
    s.db->raw().setU8(DatabaseImage::transponderOffset(1) + layout::tp::SAT_ID, 77); // an unknown satellite
    EXPECT_EQ(s.db->getProgramInfo(0, 1, info), -2);

    ASSERT_EQ(s.db->getProgramInfoRaw(3, info), 0);
    EXPECT_EQ((V{info.favPosition[0], info.providerIndex}), (V{2, 2}));
    EXPECT_EQ(s.db->getProgramInfoRaw(6, info), -1);
}

TEST(DatabaseModel, FindersAndFavouriteMask)
{
    SmallDb s;
    int idx = -1;
    EXPECT_EQ(s.db->findSatelliteByName("Hotbird 2-8", &idx), 9);
    EXPECT_EQ(idx, 1);
    EXPECT_EQ((V{s.db->findSatellite(9), s.db->findSatellite(8), s.db->findSatelliteByName("hotbird 2-8")}),
              (V{1, -1, -1}));
    EXPECT_EQ(
        (V{s.db->findTransponder(9, 12000), s.db->findTransponder(9 + 256, 12000), s.db->findTransponder(7, 12000)}),
        (V{1, -1, -1}));
    EXPECT_EQ((V{s.db->findByName(DBT_PROVIDER, "Gamma"), s.db->findByName(DBT_PROVIDER, "Delta"),
                 s.db->findByName(DBT_SATELLITE, "x")}),
              (V{2, -1, -5}));
    std::uint32_t mask2 = 0, mask4 = 0;
    s.db->favouriteMask(2, mask2);
    s.db->favouriteMask(4, mask4);
    EXPECT_EQ((std::pair{mask2, mask4}), (std::pair{SCOPE_FAV1, scopeFav(3)}));
}

TEST(DatabaseModel, PurgeGivesTheBytesOfOneByOneRemoval)
{
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
        std::memcpy(b->image(), a->image(), IMAGE_SIZE);
        a->purgeUnusedProviders();
        reference(*b);
        EXPECT_EQ(std::memcmp(a->image(), b->image(), IMAGE_SIZE), 0) << providers << " providers, " << programs;
    }
}

TEST(DatabaseModel, CrcOfKnownDataAndOfTheImage)
{
    const char* check = "123456789";
    EXPECT_EQ(crcMpeg2(reinterpret_cast<const std::uint8_t*>(check), 9), 0x0376E6E7u);
    EXPECT_EQ(crcMpeg2(nullptr, 0), 0u);

    SmallDb s;
    s.db->raw().setU8(layout::CRC_ZERO_BYTE, 0xAB);
    s.db->updateCrc(0);
    EXPECT_EQ(s.db->raw().u8(layout::CRC_ZERO_BYTE), 0);
    const std::uint8_t* img = s.db->image();
    // Bytewise reference over bytes 12..end.
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 12; i < IMAGE_SIZE; ++i) {
        crc ^= static_cast<std::uint32_t>(img[i]) << 24;
        for (int k = 0; k < 8; ++k) crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
    }
    EXPECT_EQ(s.db->storedCrc(), crc);
    // The header words before the CRC do not take part.
    s.db->raw().setU32(0, 0xDEADBEEF);
    EXPECT_EQ(s.db->computeCrc(), crc);
}

// Runs under the sanitizers in CI.
TEST(DatabaseModel, HostileCountersNeverReachOutsideTheImage)
{
    SmallDb s;
    for (auto set : {&ChannelDatabase::setSatelliteCount, &ChannelDatabase::setProgramCount,
                     &ChannelDatabase::setTransponderCount, &ChannelDatabase::setProviderCount})
        (s.db.get()->*set)(65535);
    for (int l = 0; l < 9; ++l) s.db->setFavCount(l, 65535), s.db->setFavTvCount(l, 65535);
    s.db->raw().setU16(DatabaseImage::programOffset(0) + layout::prog::TRANSPONDER, 65535);
    s.db->raw().setU16(DatabaseImage::programOffset(0) + layout::prog::PROVIDER, 65535);
    ProgramInfo info;
    EXPECT_EQ((V{-2, -3, -3, -1}),
              (V{s.db->getProgramInfo(0, 0, info), s.db->getProgramInfo(scopeFav(0) | SCOPE_RADIO, 0, info),
                 s.db->getProgramInfo(0, 20000, info), s.db->getProgramInfoRaw(20000, info)}));
    std::uint32_t mask = 0;
    s.db->favouriteMask(0, mask);
    s.db->findTransponder(0, 0);
    s.db->findSatelliteByName("none");
    s.db->purgeUnusedProviders();
}
