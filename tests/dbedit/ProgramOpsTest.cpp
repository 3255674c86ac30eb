#include "db/Names.h"
#include "tests/dbedit/EditFixture.h"

namespace satorix::test {
namespace {

using ProgramOps = EditFixture;

TEST_F(ProgramOps, AddRenumbersListsOnlyWhenTheKindIsGiven)
{
    build(3, 2);
    setList(0, {0, 3, 4});
    setList(8, {4});
    const auto add = [&](int row, int serviceId) { return op(DBT_PROGRAM, OP_ADD, row, program(serviceId)); };
    db.setPendingInsertKind(0);
    ASSERT_EQ(0, add(3, 900)); // end of the TV part
    EXPECT_EQ((V{100, 101, 102, 900, 103, 104}), serviceIds());
    EXPECT_EQ((VV{{4, -1}, {0, 4, 5}, {5}}),
              (VV{{db.tvProgramCount(), db.pendingInsertKind()}, entries(0), entries(8)}));
    // Without a kind (a move puts it back): the row decides, the lists are the mover's business.
    EXPECT_EQ((V{0, 4, 0, 5}), (V{add(4, 901), db.tvProgramCount(), add(1, 902), db.tvProgramCount()}));
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
    for (const auto& r : refused) EXPECT_EQ(r[3], op(r[0], r[1], r[2], program(1))) << r[1] << " " << r[2];
    EXPECT_EQ(before, bytes());
    db.setProgramCount(MAX_PROGRAMS);
    db.setTvProgramCount(MAX_PROGRAMS);
    const auto full = bytes();
    EXPECT_EQ((V{-4, 0}), (V{op(DBT_PROGRAM, OP_ADD, 0, program(1)), db.pendingInsertKind()})); // kind kept
    EXPECT_EQ(full, bytes());
    EXPECT_EQ((S{"Database is full."}), messages.texts);
}

TEST_F(ProgramOps, DeleteRenumbersListsUnlessDragging)
{
    build(3, 2);
    setList(0, {0, 2, 0, 3}); // program 0 twice
    setList(1, {1, 3, 4});    // first radio program heads the radio part
    const auto del = [&](int row) { return op(DBT_PROGRAM, OP_DELETE, row); };
    ASSERT_EQ(0, del(0));
    EXPECT_EQ(2, db.tvProgramCount());
    // Closing the gaps one by one leaves the freed slots holding the old last entry.
    EXPECT_EQ((VV{{1}, {2}}), parts(0));
    EXPECT_EQ((V{3, 3}), (V{db.favEntry(0, 2), db.favEntry(0, 3)}));
    ASSERT_EQ(0, del(2)); // the first radio
    EXPECT_EQ((VV{{0}, {2}}), parts(1));

    const auto lists = [&] {
        return std::vector<std::uint8_t>(db.image() + layout::FAVOURITES, db.image() + layout::TRANSPONDERS);
    };
    const auto before = lists();
    db.setDragInProgress(true);
    ASSERT_EQ(0, del(0));
    EXPECT_EQ(before, lists());
    EXPECT_EQ(1, db.tvProgramCount());
}

TEST_F(ProgramOps, RemoveEntryByRowOfTheShownPart)
{
    build(3, 2);
    setList(0, {0, 1, 3, 4});
    RecordView where;
    const auto remove = [&](int radioPart, int row) {
        where.field[entryf::RADIO_PART] = radioPart;
        return op(DBT_PROGRAM, OP_REMOVE_ENTRY, row, where);
    };
    ASSERT_EQ(0, remove(1, 0));
    EXPECT_EQ((VV{{0, 1}, {4}}), parts(0));
    ASSERT_EQ(0, remove(0, 1));
    EXPECT_EQ((VV{{0}, {4}}), parts(0));
    const auto before = bytes();
    EXPECT_EQ(0, remove(0, 5)); // no such row
    where.field[entryf::LIST] = 9;
    EXPECT_EQ(0, remove(0, 0)); // no such list
    EXPECT_EQ(before, bytes());
}

TEST_F(ProgramOps, FavouriteMembershipAndNames)
{
    build(10, 40);
    setList(0, {5, 7, 30, 31});
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
    ASSERT_EQ(0, fav(OP_EDIT, 3, 7));
    EXPECT_EQ("A name of twenty", boundedName(db.raw().namePtr(DatabaseImage::favOffset(3)))); // no NUL

    V many;
    for (int i = 0; i < 398; ++i) many.push_back(10 + i % 40);
    setList(2, many);
    ASSERT_EQ(0, fav(OP_ADD, 2, 3)); // 398 -> 399
    EXPECT_EQ(399, db.favCount(2));
    const auto full = bytes();
    EXPECT_EQ(-6, fav(OP_ADD, 2, 4));
    EXPECT_EQ(full, bytes());
}

TEST_F(ProgramOps, DeleteProgramByScope)
{
    build(4, 2);
    setList(0, {1, 2, 4});
    setList(1, {2, 5});
    setList(2, {2});
    const auto del = [&](int p, std::uint32_t mask, std::uint32_t scope, const char* selected) {
        return db.deleteProgram(p, mask, scope, selected);
    };
    const std::uint32_t fav1 = scopeFav(0) | SCOPE_TV_RADIO;
    EXPECT_EQ(0, del(2, 0, fav1, "Fav_1")); // the entry only
    EXPECT_EQ((VV{{1}, {4}}), parts(0));
    EXPECT_EQ((V{-1, 6}), (V{del(2, 0, fav1, "Fav_1"), db.programCount()}));
    EXPECT_EQ(0, del(2, scopeFav(1), TABLE, "Favs")); // marked lists, no renumbering
    EXPECT_EQ((VV{{5}, {2}}), (VV{entries(1), entries(2)}));
    const auto mid = bytes();
    EXPECT_EQ(0, del(2, 0, SCOPE_TV_RADIO, "Favs")); // neither table nor list
    EXPECT_EQ(mid, bytes());

    db.clipboard().resize(3);
    for (std::size_t k = 0; k < 3; ++k) db.clipboard()[k].programIndex = V{1, 3, -1}[k];
    EXPECT_EQ(0, del(2, 0, TABLE, "Satellites"));
    EXPECT_EQ((V{100, 101, 103, 104, 105}), serviceIds());
    EXPECT_EQ(3, db.tvProgramCount());
    EXPECT_EQ((VV{{1, 3}, {4}, {}, {1, 2, -1}}), (VV{entries(0), entries(1), entries(2), clipIndices()}));
    EXPECT_EQ(-1, del(5, 0, TABLE, "Satellites"));
}

TEST_F(ProgramOps, AddToFavouritesKeepsEachKindInItsPart)
{
    build(5, 5);
    setList(0, {0, 1, 5});
    setList(1, {1, 2, 3, 4, 6});
    ProgramInfo tv, radio;
    tv.isTv = 1;
    tv.favMember[0][0] = radio.favMember[1][0] = true;
    tv.favPosition[0] = 7;
    radio.favPosition[1] = 0; // the TV part has grown over its old place
    EXPECT_EQ(1, db.addToFavourites(3, tv));
    db.addToFavourites(7, radio);
    EXPECT_EQ((VV{{0, 1, 3}, {5}, {1, 2, 3, 4}, {7, 6}}), (VV{parts(0)[0], parts(0)[1], parts(1)[0], parts(1)[1]}));
}

} // namespace
} // namespace satorix::test
