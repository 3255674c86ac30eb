#include <gtest/gtest.h>

#include <memory>

#include "db/DatabaseBuilder.h"
#include "db/ProgramRowTexts.h"

using namespace satorix;

namespace {

struct RowDb {
    std::unique_ptr<ChannelDatabase> db = std::make_unique<ChannelDatabase>();
    RowDb()
    {
        DatabaseBuilder b(*db);
        b.addSatellite({5, 192, "Astra 1E-2C"});
        b.addSatellite({5, 130, "Shadowed"}); // same id: the first satellite wins
        b.addTransponder({5, 11778, 1, 27500, 3});
        b.addTransponder({5, 10700, 7, 22000, 0});
        b.addTransponder({5, 12000, 2, 6111, 9});
        b.addProvider("Alpha");
        b.addTvProgram({"\x05Kanal", 0, 0, 1, 0, 0, 0, FLAG_LOCKED | FLAG_SCPC | FLAG_SCRAMBLED});
        b.addTvProgram({"Plain", 0, 1, 2, 0, 0, 0, 0});
        b.addRadioProgram({"Tune", 0, 2, 3, 0, 0, 0, FLAG_SCRAMBLED});
        b.addFavourite(1, 0);
        b.addFavourite(8, 0);
        b.addFavourite(8, 2);
        b.finish();
    }
};

} // namespace

TEST(RowTexts, AllTenColumns)
{
    RowDb r;
    ProgramRowBuilder rows(*r.db);
    RowTexts t;
    ASSERT_FALSE(rows.build(0, 41, t).failed());
    EXPECT_EQ(
        t, (RowTexts{"0042", "Kanal", "T LSC", "Alpha", "Astra 1E-2C", "11778", "27500", "V", "DVBS2", " 2      9"}));
    // Polarisation 7 has no letter, fec 9 no name.
    const std::vector<std::string> flagsPolarisationFecLists[] = {{"T    ", " ", "DVBS", "         "},
                                                                  {"R   C", "L", "    ", "        9"}};
    for (int p : {1, 2}) {
        ASSERT_FALSE(rows.build(p, p, t).failed());
        EXPECT_EQ((std::vector<std::string>{t[2], t[7], t[8], t[9]}), flagsPolarisationFecLists[p - 1]);
    }
}

TEST(RowTexts, UnreadableRecordsReportTheFirstFailure)
{
    RowDb r;
    r.db->raw().setU16(DatabaseImage::programOffset(1) + layout::prog::PROVIDER, 3);
    r.db->raw().setU8(DatabaseImage::transponderOffset(0) + layout::tp::SAT_ID, 99);
    ProgramRowBuilder rows(*r.db);
    RowTexts t;
    const auto failure = [&](int p) {
        const RowTextError e = rows.build(p, 0, t);
        return std::pair{e.type, e.code};
    };
    EXPECT_EQ(failure(1), std::pair(DBT_PROVIDER, -3));
    EXPECT_EQ(t[1], "Plain");
    EXPECT_EQ(failure(0).first, DBT_SATELLITE);
    EXPECT_EQ(t[5], "11778"); // what could be read is still shown
    EXPECT_EQ(failure(7), std::pair(DBT_PROGRAM, -3));
}

TEST(RowTexts, ScopeRangesAndRadioNumbering)
{
    RowDb r;
    std::vector<RowRef> refs;
    RowTextError err;
    ASSERT_TRUE(rowsForScope(*r.db, SCOPE_PROGRAMS | SCOPE_RADIO, refs, err));
    ASSERT_EQ(refs.size(), 1u);
    EXPECT_EQ(refs[0].position, 2); // shown as 0003: numbered after the TV programs
    ASSERT_TRUE(rowsForScope(*r.db, SCOPE_PROGRAMS | SCOPE_TV, refs, err));
    EXPECT_EQ(refs.size(), 2u);
    ASSERT_TRUE(rowsForScope(*r.db, scopeFav(8) | SCOPE_RADIO, refs, err));
    ASSERT_EQ(refs.size(), 1u);
    EXPECT_EQ(refs[0].position, 1);
    EXPECT_EQ(refs[0].programIndex, 2);
    ASSERT_TRUE(rowsForScope(*r.db, scopeFav(8) | scopeFav(1) | SCOPE_TV_RADIO, refs, err));
    EXPECT_EQ(refs.size(), 1u); // the lowest list wins
    EXPECT_FALSE(rowsForScope(*r.db, SCOPE_TV_RADIO, refs, err));

    // Hostile counters stay inside the lists.
    r.db->setFavCount(3, 60000);
    r.db->setFavTvCount(3, 70);
    ASSERT_TRUE(rowsForScope(*r.db, scopeFav(3) | SCOPE_RADIO, refs, err));
    EXPECT_EQ(refs.size(), 330u);
}
