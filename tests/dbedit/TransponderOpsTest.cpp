#include "tests/dbedit/EditFixture.h"

namespace satorix::test {
namespace {

class TransponderOps : public EditFixture {
protected:
    V frequencies() const
    {
        return collect(db.transpondersInUse(), [&](int t) {
            return db.raw().u16(DatabaseImage::transponderOffset(t) + layout::tp::FREQUENCY);
        });
    }
    int satellite(int s, std::size_t offset) const { return db.raw().u16(DatabaseImage::satelliteOffset(s) + offset); }
    int add(const RecordView& r) { return op(DBT_TRANSPONDER, OP_ADD, 0, r); }
};

TEST_F(TransponderOps, AddAndDeleteKeepGroupsInOrderAndProgramsOnTheirTransponders)
{
    build(3, 0); // 11000, 12000 on satellite 1, 10800 on satellite 2; programs on 0, 1, 2
    ASSERT_EQ((V{0, 0}), (V{add(tp(1, 11778)), add(tp(1, 10700))}));
    EXPECT_EQ((V{10700, 11000, 11778, 12000, 10800}), frequencies());
    EXPECT_EQ((V{1, 3, 4}), fields(layout::prog::TRANSPONDER));
    EXPECT_EQ(4, satellite(0, layout::sat::TALLY));
    ASSERT_EQ(0, add(tp(1, 11000, 22000))); // after the equal one
    EXPECT_EQ(22000, db.raw().u16(DatabaseImage::transponderOffset(2) + layout::tp::SYMBOL_RATE));
    DatabaseBuilder(db).addSatellite({3, 50, "Thor"});
    ASSERT_EQ(0, add(tp(3, 10000))); // a new group goes last
    EXPECT_EQ((V{10000, 1}), (V{frequencies().back(), satellite(2, layout::sat::TALLY)}));

    build(3, 0); // deleting an unused one lowers the later indices and the tally
    db.raw().setU16(DatabaseImage::programOffset(1) + layout::prog::TRANSPONDER, 0);
    ASSERT_EQ(0, op(DBT_TRANSPONDER, OP_DELETE, 1));
    EXPECT_EQ((VV{{11000, 10800}, {0, 0, 1}, {1}}),
              (VV{frequencies(), fields(layout::prog::TRANSPONDER), {satellite(0, layout::sat::TALLY)}}));
}

TEST_F(TransponderOps, RefusalsShowTheirMessagesAndChangeNothing)
{
    build(3, 0);
    const auto before = bytes();
    EXPECT_EQ(-10, add(tp(1, 12000)));
    EXPECT_EQ((V{-8, -3, -2, -1}), (V{op(DBT_TRANSPONDER, OP_DELETE, 1), op(DBT_TRANSPONDER, OP_DELETE, 3),
                                      op(DBT_TRANSPONDER, OP_EDIT, MAX_TRANSPONDERS), op(DBT_PROVIDER, OP_DELETE, 0)}));
    EXPECT_EQ(before, bytes());
    EXPECT_EQ(S{"Transponder with entered values exist"}, messages.texts);
    EXPECT_EQ(0, add(tp(1, 12000, 30000))); // differs in one field

    for (int i = db.transponderCount(); i < MAX_TRANSPONDERS; ++i) DatabaseBuilder(db).addTransponder({2, 11000});
    while (db.providerCount() < MAX_PROVIDERS) DatabaseBuilder(db).addProvider("P");
    messages.clear();
    const auto full = bytes();
    RecordView provider;
    provider.name[0] = "Delta";
    EXPECT_EQ((V{-1, -4, -2}), (V{add(tp(1, 1000)), op(DBT_PROVIDER, OP_ADD, 10, provider),
                                  op(DBT_PROVIDER, OP_ADD, MAX_PROVIDERS, provider)}));
    EXPECT_EQ(full, bytes());
    EXPECT_EQ((S{"Not enought free space in transponder table.", "Provider table is full."}), messages.texts);
}

TEST_F(TransponderOps, SetSatelliteAppendsAndHandsOutPositionerNumbers)
{
    build(0, 0); // two satellites with positioner number 0
    const auto set = [&](int index, int id, int diseqc12, int positioner) {
        RecordView r;
        r.field[satf::ID] = id;
        r.field[satf::DISEQC12] = diseqc12;
        r.field[satf::POSITIONER] = positioner;
        r.name[0] = "Sat";
        return db.setSatellite(index, r);
    };
    for (int n : {29, 30, 32}) ASSERT_EQ(0, set(db.satelliteCount(), 10 + n, 1, n));
    const auto positioner = [&](int s) {
        return db.raw().u8(DatabaseImage::satelliteOffset(s) + layout::sat::POSITIONER);
    };
    ASSERT_EQ(0, set(5, 60, 1, 0));
    EXPECT_EQ((V{31, 6}), (V{positioner(5), db.satelliteCount()}));
    ASSERT_EQ(0, set(0, 1, 0, 3)); // an edit: no new satellite
    EXPECT_EQ((V{3, 6, -2}), (V{positioner(0), db.satelliteCount(), set(MAX_SATELLITES, 1, 0, 0)}));
}

} // namespace
} // namespace satorix::test
