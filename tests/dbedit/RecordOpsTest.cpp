// Record operations on programs, favourite entries, transponders, providers and satellites.
#include "tests/dbedit/EditFixture.h"

namespace satorix::test {
namespace {

class RecordOps : public EditFixture {
protected:
    V frequencies() const
    {
        return collect(db.transpondersInUse(), [&](int t) {
            return db.raw().u16(DatabaseImage::transponderOffset(t) + layout::tp::FREQUENCY);
        });
    }
    int tally(int s) const { return db.raw().u16(DatabaseImage::satelliteOffset(s) + layout::sat::TALLY); }
    int addTp(const RecordView& r) { return op(DBT_TRANSPONDER, OP_ADD, 0, r); }
};

TEST_F(RecordOps, ProgramsListsTranspondersProvidersAndSatellitesAddEditDeleteAndRefuse)
{
    build(3, 2, {{0, 3, 4}, {}, {}, {}, {}, {}, {}, {}, {4}});
    const auto add = [&](int row, int serviceId) { return op(DBT_PROGRAM, OP_ADD, row, program(serviceId)); };
    db.setPendingInsertKind(0);
    ASSERT_EQ(0, add(3, 900)); // end of the TV part
    EXPECT_EQ((VV{{100, 101, 102, 900, 103, 104}, {4, -1}, {0, 4, 5}, {5}}),
              (VV{serviceIds(), {db.tvProgramCount(), db.pendingInsertKind()}, entries(0), entries(8)}));
    // Without a kind (a move puts it back): the row decides, the lists are the mover's business.
    EXPECT_EQ((V{0, 4, 0, 5}), (V{add(4, 901), db.tvProgramCount(), add(1, 902), db.tvProgramCount()}));
    EXPECT_EQ((V{0, 4, 5}), entries(0));

    build(3, 2);
    const auto pristine = bytes();
    db.setPendingInsertKind(0);
    const int refused[][4] = {
        {DBT_PROGRAM, OP_ADD, MAX_PROGRAMS, -2}, {DBT_PROGRAM, OP_ADD, -1, -2},   {DBT_PROGRAM, OP_ADD, 6, -3},
        {DBT_PROGRAM, OP_EDIT, 5, -3},           {DBT_PROGRAM, OP_DELETE, 5, -3}, {DBT_PROGRAM, 999, 0, -1},
        {DBT_TV_PROGRAMS, OP_ADD, 0, -1}};
    for (const auto& r : refused) EXPECT_EQ(r[3], op(r[0], r[1], r[2], program(1))) << r[1] << " " << r[2];
    EXPECT_EQ(pristine, bytes());
    db.setProgramCount(MAX_PROGRAMS), db.setTvProgramCount(MAX_PROGRAMS);
    const auto fullTable = bytes();
    EXPECT_EQ((V{-4, 0}), (V{add(0, 1), db.pendingInsertKind()})); // the kind is kept for the next try
    EXPECT_EQ((std::pair{fullTable == bytes(), messages.texts}), (std::pair{true, S{"Database is full."}}));

    build(3, 2, {{0, 2, 0, 3}, {1, 3, 4}}); // program 0 twice; first radio program heads the radio part
    ASSERT_EQ(0, op(DBT_PROGRAM, OP_DELETE, 0));
    // Closing the gaps one by one leaves the freed slots holding the old last entry.
    EXPECT_EQ((VV{{2}, {1}, {2}, {3, 3}}),
              (VV{{db.tvProgramCount()}, parts(0)[0], parts(0)[1], {db.favEntry(0, 2), db.favEntry(0, 3)}}));
    ASSERT_EQ(0, op(DBT_PROGRAM, OP_DELETE, 2)); // the first radio
    EXPECT_EQ((VV{{0}, {2}}), parts(1));

    build(3, 2, {{0, 1, 3, 4}}); // entries removed from list 0 by the row shown
    const auto remove = [&](int radioPart, int row) { return op(DBT_PROGRAM, OP_REMOVE_ENTRY, row, {{0, radioPart}}); };
    ASSERT_EQ(0, remove(1, 0));
    EXPECT_EQ((VV{{0, 1}, {4}}), parts(0));
    ASSERT_EQ(0, remove(0, 1));
    EXPECT_EQ((VV{{0}, {4}}), parts(0));

    build(10, 40, {{5, 7, 30, 31}});
    RecordView r;
    const auto fav = [&](int o, int l, int entry) {
        r.field[favf::ENTRY] = entry;
        return op(DBT_FAVOURITE, o, l, r);
    };
    ASSERT_EQ(0, fav(OP_ADD, 0, 2));
    EXPECT_EQ((VV{{5, 7, 2}, {30, 31}}), parts(0)); // a TV entry goes before the radio ones
    const auto before = bytes();
    // Already in, not in, no list 10.
    EXPECT_EQ((V{0, 0, -4, -4, -2}), (V{fav(OP_ADD, 0, 2), fav(OP_DELETE, 0, 20), fav(OP_ADD, 9, 20),
                                        fav(OP_DELETE, 9, 20), fav(OP_EDIT, 9, 20)}));
    EXPECT_EQ(before, bytes());
    ASSERT_EQ(0, fav(OP_DELETE, 0, 7));
    EXPECT_EQ((VV{{5, 2}, {30, 31}}), parts(0));
    r.name[0] = "A name of twenty chars";
    EXPECT_EQ((std::pair{fav(OP_EDIT, 3, 7), boundedName(db.raw().namePtr(DatabaseImage::favOffset(3)))}),
              (std::pair{0, std::string_view("A name of twenty")})); // no NUL

    setList(2, collect(398, [](int i) { return 10 + i % 40; }));
    ASSERT_EQ((V{0, 399}), (V{fav(OP_ADD, 2, 3), db.favCount(2)})); // 398 -> 399
    const auto full = bytes();
    EXPECT_EQ((std::pair{fav(OP_ADD, 2, 4), full == bytes()}), (std::pair{-6, true}));

    build(4, 2, {{1, 2, 4}, {2, 5}, {2}});
    EXPECT_EQ(0, db.deleteProgram(2, 0, FAV1, "Fav_1")); // the entry only
    EXPECT_EQ((VV{{1}, {4}}), parts(0));
    EXPECT_EQ((V{-1, 6}), (V{db.deleteProgram(2, 0, FAV1, "Fav_1"), db.programCount()}));
    EXPECT_EQ(0, db.deleteProgram(2, scopeFav(1), TABLE, "Favs")); // marked lists, no renumbering
    EXPECT_EQ((VV{{5}, {2}}), (VV{entries(1), entries(2)}));
    const auto mid = bytes(); // neither table nor list
    EXPECT_EQ((std::pair{db.deleteProgram(2, 0, SCOPE_TV_RADIO, "Favs"), mid == bytes()}), (std::pair{0, true}));
    for (int index : {1, 3, -1}) db.clipboard().emplace_back().programIndex = index;
    EXPECT_EQ(0, db.deleteProgram(2, 0, TABLE, "Satellites"));
    EXPECT_EQ((VV{{100, 101, 103, 104, 105}, {3}, {1, 3}, {4}, {}, {1, 2, -1}}),
              (VV{serviceIds(), {db.tvProgramCount()}, entries(0), entries(1), entries(2), clipIndices()}));
    EXPECT_EQ(-1, db.deleteProgram(5, 0, TABLE, "Satellites"));

    build(5, 5, {{0, 1, 5}, {1, 2, 3, 4, 6}}); // a restored program goes back to its place, within its kind's part
    ProgramInfo tv, radio;
    tv.isTv = 1;
    tv.favMember[0][0] = radio.favMember[1][0] = true;
    tv.favPosition[0] = 7;
    radio.favPosition[1] = 0; // the TV part has grown over its old place
    EXPECT_EQ(1, db.addToFavourites(3, tv));
    db.addToFavourites(7, radio);
    EXPECT_EQ((VV{{0, 1, 3}, {5}, {1, 2, 3, 4}, {7, 6}}), (VV{parts(0)[0], parts(0)[1], parts(1)[0], parts(1)[1]}));

    build(3, 0); // 11000, 12000 on satellite 1, 10800 on satellite 2; programs on 0, 1, 2
    ASSERT_EQ((V{0, 0}), (V{addTp(tp(1, 11778)), addTp(tp(1, 10700))}));
    EXPECT_EQ((V{10700, 11000, 11778, 12000, 10800}), frequencies());
    EXPECT_EQ((VV{{1, 3, 4}, {4}}), (VV{fields(layout::prog::TRANSPONDER), {tally(0)}}));
    ASSERT_EQ(0, addTp(tp(1, 11000, 22000))); // after the equal one
    EXPECT_EQ(22000, db.raw().u16(DatabaseImage::transponderOffset(2) + layout::tp::SYMBOL_RATE));
    DatabaseBuilder(db).addSatellite({3, 50, "Thor"});
    ASSERT_EQ(0, addTp(tp(3, 10000))); // a new group goes last
    EXPECT_EQ((V{10000, 1}), (V{frequencies().back(), tally(2)}));

    build(3, 0); // deleting an unused one lowers the later indices and the tally
    db.raw().setU16(DatabaseImage::programOffset(1) + layout::prog::TRANSPONDER, 0);
    ASSERT_EQ(0, op(DBT_TRANSPONDER, OP_DELETE, 1));
    EXPECT_EQ((VV{{11000, 10800}, {0, 0, 1}, {1}}), (VV{frequencies(), fields(layout::prog::TRANSPONDER), {tally(0)}}));

    build(3, 0); // refusals show their messages and change nothing
    const auto kept = bytes();
    EXPECT_EQ(-10, addTp(tp(1, 12000)));
    EXPECT_EQ((V{-8, -3, -2, -1}), (V{op(DBT_TRANSPONDER, OP_DELETE, 1), op(DBT_TRANSPONDER, OP_DELETE, 3),
                                      op(DBT_TRANSPONDER, OP_EDIT, MAX_TRANSPONDERS), op(DBT_PROVIDER, OP_DELETE, 0)}));
    EXPECT_EQ((std::pair{kept == bytes(), messages.texts}),
              (std::pair{true, S{"Transponder with entered values exist"}}));
    EXPECT_EQ(0, addTp(tp(1, 12000, 30000))); // differs in one field

    for (int i = db.transponderCount(); i < MAX_TRANSPONDERS; ++i) DatabaseBuilder(db).addTransponder({2, 11000});
    while (db.providerCount() < MAX_PROVIDERS) DatabaseBuilder(db).addProvider("P");
    messages.clear();
    const auto filled = bytes();
    const RecordView provider{{}, {"Delta"}};
    EXPECT_EQ((V{-1, -4, -2}), (V{addTp(tp(1, 1000)), op(DBT_PROVIDER, OP_ADD, 10, provider),
                                  op(DBT_PROVIDER, OP_ADD, MAX_PROVIDERS, provider)}));
    EXPECT_EQ((std::pair{filled == bytes(), messages.texts}),
              (std::pair{true, S{"Not enought free space in transponder table.", "Provider table is full."}}));

    build(0, 0); // two satellites with positioner number 0; set: id, DiSEqC 1.2 and positioner, fields 0, 7 and 8
    const auto set = [&](int i, int id, int d, int n) {
        return db.setSatellite(i, {{id, 0, 0, 0, 0, 0, 0, d, n}, {"Sat"}});
    };
    const auto positioner = [&](int s) {
        return db.raw().u8(DatabaseImage::satelliteOffset(s) + layout::sat::POSITIONER);
    };
    for (int n : {29, 30, 32}) ASSERT_EQ(0, set(db.satelliteCount(), 10 + n, 1, n));
    ASSERT_EQ(0, set(5, 60, 1, 0));
    EXPECT_EQ((V{31, 6}), (V{positioner(5), db.satelliteCount()}));
    ASSERT_EQ(0, set(0, 1, 0, 3)); // an edit: no new satellite
    EXPECT_EQ((V{3, 6, -2}), (V{positioner(0), db.satelliteCount(), set(MAX_SATELLITES, 1, 0, 0)}));
}

} // namespace
} // namespace satorix::test
