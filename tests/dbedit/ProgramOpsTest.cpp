#include "db/Names.h"
#include "tests/dbedit/EditFixture.h"

namespace satorix::test {
namespace {

using V = std::vector<int>;
using ProgramOps = EditFixture;

TEST_F(ProgramOps, AddRenumbersListsOnlyWhenTheKindIsGiven)
{
    build(3, 2);
    setList(0, {0, 3, 4});
    setList(8, {4});
    db.setPendingInsertKind(0);
    ASSERT_EQ(0, db.recordOp(DBT_PROGRAM, OP_ADD, 3, program(900))); // end of the TV part
    EXPECT_EQ((V{100, 101, 102, 900, 103, 104}), serviceIds());
    EXPECT_EQ((V{4, -1}), (V{db.tvProgramCount(), db.pendingInsertKind()}));
    EXPECT_EQ((std::vector<V>{{0, 4, 5}, {5}}), (std::vector<V>{entries(0), entries(8)}));
    // Without a kind (a move puts it back): the row decides, the lists are the mover's business.
    ASSERT_EQ(0, db.recordOp(DBT_PROGRAM, OP_ADD, 4, program(901)));
    EXPECT_EQ(4, db.tvProgramCount());
    ASSERT_EQ(0, db.recordOp(DBT_PROGRAM, OP_ADD, 1, program(902)));
    EXPECT_EQ(5, db.tvProgramCount());
    EXPECT_EQ((V{0, 4, 5}), entries(0));
}

TEST_F(ProgramOps, RefusalsChangeNothing)
{
    build(3, 2);
    const auto before = bytes();
    db.setPendingInsertKind(0);
    const int refused[][4] = {
        {DBT_PROGRAM, OP_ADD, MAX_PROGRAMS, -2}, {DBT_PROGRAM, OP_ADD, -1, -2},   {DBT_PROGRAM, OP_ADD, 6, -3},
        {DBT_PROGRAM, OP_EDIT, 5, -3},           {DBT_PROGRAM, OP_DELETE, 5, -3}, {DBT_PROGRAM, 999, 0, -1},
        {DBT_TV_PROGRAMS, OP_ADD, 0, -1}};
    for (const auto& r : refused) EXPECT_EQ(r[3], db.recordOp(r[0], r[1], r[2], program(1))) << r[1] << " " << r[2];
    EXPECT_EQ(before, bytes());
    EXPECT_TRUE(messages.texts.empty());

    db.setProgramCount(MAX_PROGRAMS);
    db.setTvProgramCount(MAX_PROGRAMS);
    const auto full = bytes();
    EXPECT_EQ(-4, db.recordOp(DBT_PROGRAM, OP_ADD, 0, program(1)));
    EXPECT_EQ(full, bytes());
    EXPECT_EQ((std::vector<std::string>{"Database is full."}), messages.texts);
    EXPECT_EQ(0, db.pendingInsertKind()); // kept for the next try
}

TEST_F(ProgramOps, DeleteRenumbersListsUnlessDragging)
{
    build(3, 2);
    setList(0, {0, 2, 0, 3}); // program 0 twice
    setList(1, {1, 3, 4});    // first radio program heads the radio part
    RecordView none;
    ASSERT_EQ(0, db.recordOp(DBT_PROGRAM, OP_DELETE, 0, none));
    EXPECT_EQ(2, db.tvProgramCount());
    // Closing the gaps one by one leaves the freed slots holding the old last entry.
    EXPECT_EQ((V{1, 2, 3, 3}), (V{db.favEntry(0, 0), db.favEntry(0, 1), db.favEntry(0, 2), db.favEntry(0, 3)}));
    EXPECT_EQ((V{2, 1}), counts(0));
    ASSERT_EQ(0, db.recordOp(DBT_PROGRAM, OP_DELETE, 2, none)); // the first radio
    EXPECT_EQ((V{0, 2}), entries(1));
    EXPECT_EQ((V{2, 1}), counts(1));

    const auto lists = [&] {
        return std::vector<std::uint8_t>(db.image() + layout::FAVOURITES, db.image() + layout::TRANSPONDERS);
    };
    const auto before = lists();
    db.setDragInProgress(true);
    ASSERT_EQ(0, db.recordOp(DBT_PROGRAM, OP_DELETE, 0, none));
    EXPECT_EQ(before, lists());
    EXPECT_EQ(1, db.tvProgramCount());
}

TEST_F(ProgramOps, RemoveEntryByRowOfTheShownPart)
{
    build(3, 2);
    setList(0, {0, 1, 3, 4});
    RecordView where;
    where.field[entryf::RADIO_PART] = 1; // radio part shown
    ASSERT_EQ(0, db.recordOp(DBT_PROGRAM, OP_REMOVE_ENTRY, 0, where));
    EXPECT_EQ((V{0, 1, 4}), entries(0));
    EXPECT_EQ((V{3, 2}), counts(0));
    where.field[entryf::RADIO_PART] = 0;
    ASSERT_EQ(0, db.recordOp(DBT_PROGRAM, OP_REMOVE_ENTRY, 1, where));
    EXPECT_EQ((V{0, 4}), entries(0));
    EXPECT_EQ((V{2, 1}), counts(0));
    const auto before = bytes();
    EXPECT_EQ(0, db.recordOp(DBT_PROGRAM, OP_REMOVE_ENTRY, 5, where)); // no such row
    where.field[entryf::LIST] = 9;
    EXPECT_EQ(0, db.recordOp(DBT_PROGRAM, OP_REMOVE_ENTRY, 0, where)); // no such list
    EXPECT_EQ(before, bytes());
}

TEST_F(ProgramOps, FavouriteMembershipAndNames)
{
    build(10, 40);
    setList(0, {5, 7, 30, 31});
    RecordView r;
    r.field[favf::ENTRY] = 2;
    ASSERT_EQ(0, db.recordOp(DBT_FAVOURITE, OP_ADD, 0, r));
    EXPECT_EQ((V{5, 7, 2, 30, 31}), entries(0)); // a TV entry goes before the radio ones
    EXPECT_EQ((V{5, 3}), counts(0));
    const auto before = bytes();
    EXPECT_EQ(0, db.recordOp(DBT_FAVOURITE, OP_ADD, 0, r)); // already in
    r.field[favf::ENTRY] = 20;
    const auto op = [&](int o, int l) { return db.recordOp(DBT_FAVOURITE, o, l, r); };
    EXPECT_EQ((V{0, -4, -4, -2}), (V{op(OP_DELETE, 0), op(OP_ADD, 9), op(OP_DELETE, 9), op(OP_EDIT, 9)})); // 0: not in
    EXPECT_EQ(before, bytes());
    r.field[favf::ENTRY] = 7;
    ASSERT_EQ(0, db.recordOp(DBT_FAVOURITE, OP_DELETE, 0, r));
    EXPECT_EQ((V{5, 2, 30, 31}), entries(0));
    EXPECT_EQ((V{4, 2}), counts(0));
    r.name[0] = "A name of twenty chars";
    ASSERT_EQ(0, db.recordOp(DBT_FAVOURITE, OP_EDIT, 3, r));
    EXPECT_EQ("A name of twenty", boundedName(db.raw().namePtr(DatabaseImage::favOffset(3)))); // no NUL

    V many;
    for (int i = 0; i < 398; ++i) many.push_back(10 + i % 40);
    setList(2, many);
    r.field[favf::ENTRY] = 3;
    ASSERT_EQ(0, db.recordOp(DBT_FAVOURITE, OP_ADD, 2, r)); // 398 -> 399
    EXPECT_EQ(399, db.favCount(2));
    const auto full = bytes();
    r.field[favf::ENTRY] = 4;
    EXPECT_EQ(-6, db.recordOp(DBT_FAVOURITE, OP_ADD, 2, r));
    EXPECT_EQ(full, bytes());
}

TEST_F(ProgramOps, DeleteProgramByScope)
{
    build(4, 2);
    setList(0, {1, 2, 4});
    setList(1, {2, 5});
    setList(2, {2});
    EXPECT_EQ(0, db.deleteProgram(2, 0, scopeFav(0) | SCOPE_TV_RADIO, "Fav_1")); // the entry only
    EXPECT_EQ((V{1, 4}), entries(0));
    EXPECT_EQ((V{1, 6}), (V{db.favTvCount(0), db.programCount()}));
    EXPECT_EQ(-1, db.deleteProgram(2, 0, scopeFav(0) | SCOPE_TV_RADIO, "Fav_1"));
    EXPECT_EQ(0, db.deleteProgram(2, scopeFav(1), TABLE, "Favs")); // marked lists, no renumbering
    EXPECT_EQ((V{5}), entries(1));
    EXPECT_EQ((V{2}), entries(2));
    const auto mid = bytes();
    EXPECT_EQ(0, db.deleteProgram(2, 0, SCOPE_TV_RADIO, "Favs")); // neither table nor list
    EXPECT_EQ(mid, bytes());

    db.clipboard().resize(3);
    for (std::size_t k = 0; k < 3; ++k) db.clipboard()[k].programIndex = V{1, 3, -1}[k];
    EXPECT_EQ(0, db.deleteProgram(2, 0, TABLE, "Satellites"));
    EXPECT_EQ((V{100, 101, 103, 104, 105}), serviceIds());
    EXPECT_EQ(3, db.tvProgramCount());
    EXPECT_EQ((std::vector<V>{{1, 3}, {4}, {}}), (std::vector<V>{entries(0), entries(1), entries(2)}));
    EXPECT_EQ((V{1, 2, -1}), clipIndices());
    EXPECT_EQ(-1, db.deleteProgram(5, 0, TABLE, "Satellites"));
}

TEST_F(ProgramOps, AddToFavouritesKeepsEachKindInItsPart)
{
    build(5, 5);
    setList(0, {0, 1, 5});
    setList(1, {1, 2, 3, 4, 6});
    ProgramInfo tv;
    tv.isTv = 1;
    tv.favMember[0][0] = true;
    tv.favPosition[0] = 7;
    EXPECT_EQ(1, db.addToFavourites(3, tv));
    EXPECT_EQ((V{0, 1, 3, 5}), entries(0));
    EXPECT_EQ((V{4, 3}), counts(0));
    ProgramInfo radio;
    radio.favMember[1][0] = true;
    radio.favPosition[1] = 0; // the TV part has grown over its old place
    db.addToFavourites(7, radio);
    EXPECT_EQ((V{1, 2, 3, 4, 7, 6}), entries(1));
    EXPECT_EQ((V{6, 4}), counts(1));
}

} // namespace
} // namespace satorix::test
