#include "tests/dbedit/EditFixture.h"

namespace satorix::test {
namespace {

using V = std::vector<int>;
using S = std::vector<std::string>;

class TransponderOps : public EditFixture {
protected:
    V column(std::size_t table, std::size_t size, std::size_t field, int n) const
    {
        V out;
        for (int i = 0; i < n; ++i) out.push_back(db.raw().u16(table + size * static_cast<std::size_t>(i) + field));
        return out;
    }
    V frequencies() const { return column(layout::TRANSPONDERS, 16, layout::tp::FREQUENCY, db.transpondersInUse()); }
    V programTransponders() const
    {
        return column(layout::PROGRAMS, 32, layout::prog::TRANSPONDER, db.programsInUse());
    }
    int tally(int s) const { return db.raw().u16(DatabaseImage::satelliteOffset(s) + layout::sat::TALLY); }
    int positioner(int s) const { return db.raw().u8(DatabaseImage::satelliteOffset(s) + layout::sat::POSITIONER); }
};

TEST_F(TransponderOps, AddAndDeleteKeepGroupsInOrderAndProgramsOnTheirTransponders)
{
    build(3, 0); // 11000, 12000 on satellite 1, 10800 on satellite 2; programs on 0, 1, 2
    ASSERT_EQ(0, db.recordOp(DBT_TRANSPONDER, OP_ADD, 0, tp(1, 11778)));
    ASSERT_EQ(0, db.recordOp(DBT_TRANSPONDER, OP_ADD, 0, tp(1, 10700)));
    EXPECT_EQ((V{10700, 11000, 11778, 12000, 10800}), frequencies());
    EXPECT_EQ((V{1, 3, 4}), programTransponders());
    EXPECT_EQ(4, tally(0));
    ASSERT_EQ(0, db.recordOp(DBT_TRANSPONDER, OP_ADD, 0, tp(1, 11000, 22000))); // after the equal one
    EXPECT_EQ(22000, db.raw().u16(DatabaseImage::transponderOffset(2) + layout::tp::SYMBOL_RATE));
    DatabaseBuilder(db).addSatellite({3, 50, "Thor"});
    ASSERT_EQ(0, db.recordOp(DBT_TRANSPONDER, OP_ADD, 0, tp(3, 10000))); // a new group goes last
    EXPECT_EQ(10000, frequencies().back());
    EXPECT_EQ(1, tally(2));

    build(3, 0); // deleting an unused one lowers the later indices and the tally
    db.raw().setU16(DatabaseImage::programOffset(1) + layout::prog::TRANSPONDER, 0);
    ASSERT_EQ(0, db.recordOp(DBT_TRANSPONDER, OP_DELETE, 1, RecordView{}));
    EXPECT_EQ((V{11000, 10800}), frequencies());
    EXPECT_EQ((V{0, 0, 1}), programTransponders());
    EXPECT_EQ(1, tally(0));
}

TEST_F(TransponderOps, RefusalsShowTheirMessagesAndChangeNothing)
{
    build(3, 0);
    const auto before = bytes();
    EXPECT_EQ(-10, db.recordOp(DBT_TRANSPONDER, OP_ADD, 0, tp(1, 12000)));
    EXPECT_EQ(-8, db.recordOp(DBT_TRANSPONDER, OP_DELETE, 1, RecordView{}));
    EXPECT_EQ(-3, db.recordOp(DBT_TRANSPONDER, OP_DELETE, 3, RecordView{}));
    EXPECT_EQ(-2, db.recordOp(DBT_TRANSPONDER, OP_EDIT, MAX_TRANSPONDERS, RecordView{}));
    EXPECT_EQ(-1, db.recordOp(DBT_PROVIDER, OP_DELETE, 0, RecordView{}));
    EXPECT_EQ(before, bytes());
    EXPECT_EQ(S{"Transponder with entered values exist"}, messages.texts);
    EXPECT_EQ(0, db.recordOp(DBT_TRANSPONDER, OP_ADD, 0, tp(1, 12000, 30000))); // differs in one field

    for (int i = db.transponderCount(); i < MAX_TRANSPONDERS; ++i) DatabaseBuilder(db).addTransponder({2, 11000});
    while (db.providerCount() < MAX_PROVIDERS) DatabaseBuilder(db).addProvider("P");
    messages.clear();
    const auto full = bytes();
    RecordView provider;
    provider.name[0] = "Delta";
    EXPECT_EQ(-1, db.recordOp(DBT_TRANSPONDER, OP_ADD, 0, tp(1, 1000)));
    EXPECT_EQ(-4, db.recordOp(DBT_PROVIDER, OP_ADD, 10, provider));
    EXPECT_EQ(-2, db.recordOp(DBT_PROVIDER, OP_ADD, MAX_PROVIDERS, provider));
    EXPECT_EQ(full, bytes());
    EXPECT_EQ((S{"Not enought free space in transponder table.", "Provider table is full."}), messages.texts);
}

TEST_F(TransponderOps, SetSatelliteAppendsAndHandsOutPositionerNumbers)
{
    build(0, 0); // two satellites with positioner number 0
    const auto sat = [](int id, int diseqc12, int positioner) {
        RecordView r;
        r.field[satf::ID] = id;
        r.field[satf::DISEQC12] = diseqc12;
        r.field[satf::POSITIONER] = positioner;
        r.name[0] = "Sat";
        return r;
    };
    for (int n : {29, 30, 32}) ASSERT_EQ(0, db.setSatellite(db.satelliteCount(), sat(10 + n, 1, n)));
    ASSERT_EQ(0, db.setSatellite(5, sat(60, 1, 0)));
    EXPECT_EQ((V{31, 6}), (V{positioner(5), db.satelliteCount()}));
    ASSERT_EQ(0, db.setSatellite(0, sat(1, 0, 3))); // an edit: no new satellite
    EXPECT_EQ((V{3, 6}), (V{positioner(0), db.satelliteCount()}));
    EXPECT_EQ(-2, db.setSatellite(MAX_SATELLITES, sat(1, 0, 0)));
}

} // namespace
} // namespace satorix::test
