#include "db/Names.h"
#include "tests/dbedit/EditFixture.h"

namespace satorix::test {
namespace {

using V = std::vector<int>;
using S = std::vector<std::string>;

class PasteDrop : public EditFixture {
protected:
    // Service ids of the programs list l names: unchanged when every entry still names its program.
    V namedServices(int l) const
    {
        V out;
        for (int e : entries(l))
            out.push_back(db.raw().u16(DatabaseImage::programOffset(e) + layout::prog::SERVICE_ID));
        return out;
    }
    ProgramInfo tableItem(int row) const
    {
        ProgramInfo item;
        EXPECT_EQ(0, db.getProgramInfo(0, row, item));
        item.programIndex = row;
        return item;
    }
};

TEST_F(PasteDrop, PasteIntoTableRenumbersListsAndClipboard)
{
    build(5, 2);
    setList(0, {0, 3, 4, 5, 6});
    copyRows({1, 4}, false);
    ASSERT_EQ(1, db.checkPastePosition(3, TABLE));
    ASSERT_EQ(0, paste(3, TABLE));
    EXPECT_EQ((V{100, 101, 102, 101, 104, 103, 104, 105, 106}), serviceIds());
    EXPECT_EQ(7, db.tvProgramCount());
    EXPECT_EQ((V{0, 5, 6, 7, 8}), entries(0)); // copies join no list
    EXPECT_EQ((V{1, 6}), clipIndices());

    build(5, 2); // a cut pasted back restores the image
    setList(0, {1, 2, 3, 5});
    setList(1, {2});
    setList(2, {2, 6});
    const auto before = bytes();
    copyRows({2, 3}, true);
    EXPECT_EQ((V{1, 3}), entries(0));
    ASSERT_EQ(1, db.checkPastePosition(2, TABLE));
    ASSERT_EQ(0, paste(2, TABLE));
    EXPECT_EQ(before, bytes());
    EXPECT_EQ((V{2, 3}), clipIndices());
}

TEST_F(PasteDrop, PasteRefusalsLeaveTheImage)
{
    build(250, 10);
    V many;
    for (int i = 0; i < 199; ++i) many.push_back(i);
    setList(0, many);
    copyRows({200, 201}, false);
    const auto before = bytes();
    const std::uint32_t fav1 = scopeFav(0) | SCOPE_TV_RADIO;
    EXPECT_EQ(-1, paste(10, fav1)); // 201 > 200
    db.setProgramCount(MAX_PROGRAMS - 1);
    const auto nearlyFull = bytes();
    EXPECT_EQ(-1, paste(10, TABLE));
    EXPECT_EQ(nearlyFull, bytes());
    db.setProgramCount(260);
    EXPECT_EQ(before, bytes());
    EXPECT_TRUE(messages.texts.empty());

    many.pop_back();
    setList(0, many); // 198 + 2 fills it to exactly 200
    ASSERT_EQ(0, paste(10, fav1));
    EXPECT_EQ((V{200, 200, 200, 201}), (V{db.favCount(0), db.favTvCount(0), db.favEntry(0, 10), db.favEntry(0, 11)}));

    copyRows({249, 250}, false); // one TV, one radio: only at the boundary
    messages.clear();
    EXPECT_EQ((V{1, 0, 0, 1}), (V{db.checkPastePosition(250, TABLE), db.checkPastePosition(249, TABLE),
                                  db.checkPastePosition(251, TABLE), db.checkPastePosition(200, fav1)}));
    EXPECT_EQ((S{"Can't put radio program among TV program.", "Can't put TV program among radio program."}),
              messages.texts);
    copyRows({200, 201}, false);

    int none = -1; // an empty list takes a paste without a row at its start
    ASSERT_EQ(0, db.pasteClipboard(none, scopeFav(4) | SCOPE_TV_RADIO));
    EXPECT_EQ(0, none);
    EXPECT_EQ((V{200, 201}), entries(4));
}

TEST_F(PasteDrop, CutProgramIntoListOfFullTableStaysInClipboard)
{
    build(5, 2);
    setList(0, {0, 1});
    copyRows({3}, true);
    ProgramInfo copied;
    db.getProgramInfoRaw(2, copied);
    copied.programIndex = 2;
    db.clipboard().push_back(copied);
    db.setProgramCount(MAX_PROGRAMS); // the rows above are taken by others meanwhile
    db.setTvProgramCount(MAX_PROGRAMS - 2);
    ASSERT_EQ(0, paste(2, scopeFav(0) | SCOPE_TV_RADIO));
    EXPECT_EQ(MAX_PROGRAMS, db.programCount());
    EXPECT_EQ((S{"Program table is full. Cut programs stay in clipboard."}), messages.texts);
    EXPECT_EQ((std::vector<std::uint32_t>{0, 1}),
              (std::vector<std::uint32_t>{db.clipboard()[0].placed, db.clipboard()[1].placed}));
    EXPECT_EQ((V{-1, 2}), clipIndices());
    EXPECT_EQ((V{0, 1, 2}), entries(0));
    EXPECT_EQ(3, db.favTvCount(0));
}

// Records move between a copy and its paste; the paste finds each item again, never its neighbour.
TEST_F(PasteDrop, PasteAfterRecordsMovedNamesTheProgramsThatWereCopied)
{
    const auto setUp = [this] {
        build(6, 4);
        setList(0, {0, 2, 3, 6, 9});
        messages.clear();
    };
    const auto nameOf = [this](int p) {
        return std::string(boundedName(db.raw().namePtr(DatabaseImage::programOffset(p) + layout::prog::NAME)));
    };
    const std::uint32_t fav1 = scopeFav(0) | SCOPE_TV_RADIO;

    // A TV program added in front: the copied radio program joins the radio part, by its name.
    setUp();
    copyRows({7}, false);
    db.setPendingInsertKind(0);
    ASSERT_EQ(0, db.recordOp(DBT_PROGRAM, OP_ADD, 0, program(900, "Front")));
    ASSERT_EQ(0, paste(5, fav1));
    EXPECT_EQ((V{1, 3, 4, 7, 10, 8}), entries(0));
    EXPECT_EQ("Radio 7", nameOf(8));

    // The copied program was deleted: nothing takes its place.
    setUp();
    copyRows({7}, false);
    RecordView none;
    ASSERT_EQ(0, db.recordOp(DBT_PROGRAM, OP_DELETE, 7, none));
    ASSERT_EQ(0, paste(5, fav1));
    EXPECT_EQ((V{0, 2, 3, 6, 8}), entries(0));

    // Their only provider was purged while they were cut: it comes back by name.
    setUp();
    copyRows({1, 4}, true);
    db.raw().setU16(DatabaseImage::programOffset(5) + layout::prog::PROVIDER, 0); // the last other user of Beta
    db.purgeUnusedProviders();
    ASSERT_EQ(2, db.providerCount());
    ASSERT_EQ(0, paste(0, TABLE));
    for (int p : {0, 1}) {
        const int provider = db.raw().u16(DatabaseImage::programOffset(p) + layout::prog::PROVIDER);
        ASSERT_LT(provider, db.providerCount());
        EXPECT_EQ("Beta", boundedName(db.raw().namePtr(DatabaseImage::providerOffset(provider))));
    }

    // A transponder added on the other satellite before its own: the program stays on its satellite.
    setUp();
    copyRows({2}, true); // transponder 2, on satellite 2
    ASSERT_EQ(0, db.recordOp(DBT_TRANSPONDER, OP_ADD, 0, tp(1, 11500)));
    ASSERT_EQ(0, paste(0, TABLE));
    EXPECT_EQ(3, db.raw().u16(DatabaseImage::programOffset(0) + layout::prog::TRANSPONDER));
    EXPECT_TRUE(messages.texts.empty());
}

TEST_F(PasteDrop, DragTwoOfSixToRowOne)
{
    build(6, 0);
    setList(0, {0, 1, 2, 3, 4, 5});
    setList(1, {5, 4, 2});
    const V named0 = namedServices(0), named1 = namedServices(1);
    for (int i = 0; i < 6; ++i) db.raw().setU16(DatabaseImage::programOffset(i) + layout::prog::RESERVED, 0x1000 + i);
    liftFromTable({2, 4});
    EXPECT_EQ(4, db.programCount());
    RecordView scope;
    scope.field[dropf::SCOPE] = static_cast<std::int32_t>(TABLE);
    ASSERT_EQ(0, db.recordOp(DBT_SATELLITE, OP_EDIT, 1, scope)); // routed to moveFavouritesForDrop
    EXPECT_EQ((V{0, 3, 1, 4, 2, 5}), entries(0));
    ASSERT_EQ(0, db.dropPrograms(DBT_PROGRAM, -1, 1, db.dragList(), TABLE));
    db.setDragInProgress(false);
    EXPECT_EQ((V{100, 102, 104, 101, 103, 105}), serviceIds());
    EXPECT_EQ((std::vector{named0, named1}), (std::vector{namedServices(0), namedServices(1)}));
    // Inserted one at a time, each new row keeps the reserved word of the record that stood at row 1.
    V reserved;
    for (int i = 0; i < 6; ++i)
        reserved.push_back(db.raw().u16(DatabaseImage::programOffset(i) + layout::prog::RESERVED));
    EXPECT_EQ((V{0x1000, 0x1001, 0x1001, 0x1001, 0x1003, 0x1005}), reserved);
}

TEST_F(PasteDrop, DragInRadioOnlyViewCountsRowsFromTheFirstRadio)
{
    build(2, 6);
    setList(0, {0, 1, 2, 3, 4, 5, 6, 7});
    const V named = namedServices(0);
    liftFromTable({2, 4}, 2); // radio rows 2 and 4 of the view
    const std::uint32_t radio = SCOPE_PROGRAMS | SCOPE_RADIO;
    ASSERT_EQ(0, db.moveFavouritesForDrop(1, radio));
    ASSERT_EQ(0, db.dropPrograms(DBT_PROGRAM, -1, 2 + 1, db.dragList(), radio));
    EXPECT_EQ((V{100, 101, 102, 104, 106, 103, 105, 107}), serviceIds());
    EXPECT_EQ(named, namedServices(0));
    EXPECT_EQ(2, db.tvProgramCount());
}

TEST_F(PasteDrop, TableDropRefusalsChangeNothing)
{
    build(3, 3);
    liftFromTable({4});
    const auto lifted = bytes();
    const auto drop = [this](int row) { return db.dropPrograms(DBT_PROGRAM, -1, row, db.dragList(), TABLE); };
    EXPECT_EQ((V{-7, 0}), (V{drop(1), drop(-1)}));
    EXPECT_EQ(lifted, bytes());
    EXPECT_EQ((S{"Can't put Radio program among TV program", "Select position!"}), messages.texts);

    build(3, 3);
    liftFromTable({0});
    const auto liftedTv = bytes();
    messages.clear();
    EXPECT_EQ((V{-8, -8}), (V{drop(3), drop(5)})); // 5: after the last radio
    db.setProgramCount(MAX_PROGRAMS);
    EXPECT_EQ(-100, drop(0));
    db.setProgramCount(5);
    EXPECT_EQ(liftedTv, bytes());
    EXPECT_EQ((S{"Can't put TV program among Radio program", "Can't put TV program among Radio program",
                 "Not enought free space in programs table"}),
              messages.texts);
    EXPECT_EQ(0, drop(2)); // end of the TV part
    EXPECT_EQ((V{101, 102, 100, 103, 104, 105}), serviceIds());
}

TEST_F(PasteDrop, DragWithinAFavouriteListFindsItsPrograms)
{
    build(4, 2);
    setList(0, {0, 1, 2, 3, 4, 5});
    const auto table = std::vector<std::uint8_t>(db.image() + layout::PROGRAMS, db.image() + layout::FAVOURITES);
    const std::uint32_t scope = scopeFav(0) | SCOPE_TV_RADIO;
    liftFromList(0, scope, {0, 2});
    EXPECT_EQ((V{1, 3, 4, 5}), entries(0));
    ASSERT_EQ(0, db.dropPrograms(DBT_FAVOURITE, 0, 2, db.dragList(), scope));
    EXPECT_EQ((V{1, 3, 0, 2, 4, 5}), entries(0));
    EXPECT_EQ(4, db.favTvCount(0));
    EXPECT_EQ(table, std::vector<std::uint8_t>(db.image() + layout::PROGRAMS, db.image() + layout::FAVOURITES));

    const std::uint32_t radio = scopeFav(0) | SCOPE_RADIO;
    liftFromList(0, radio, {1});
    ASSERT_EQ(0, db.dropPrograms(DBT_FAVOURITE, 0, 0, db.dragList(), radio));
    EXPECT_EQ((V{1, 3, 0, 2, 5, 4}), entries(0));
    EXPECT_EQ(6, db.programCount());
}

TEST_F(PasteDrop, FavouriteDropWithoutRowAndDuplicates)
{
    build(4, 4);
    ProgramClipboard items{tableItem(5), tableItem(1), tableItem(6), tableItem(2)};
    const std::uint32_t scope = scopeFav(2) | SCOPE_TV_RADIO;
    ASSERT_EQ(0, db.dropPrograms(DBT_FAVOURITE, 2, -1, items, scope));
    EXPECT_EQ((V{1, 2, 5, 6}), entries(2)); // TV first, each kind in drag order
    EXPECT_EQ(2, db.favTvCount(2));

    ProgramClipboard again{tableItem(1), tableItem(0)};
    ASSERT_EQ(0, db.dropPrograms(DBT_FAVOURITE, 2, 1, again, scope));
    EXPECT_EQ((V{1, 0, 2, 5, 6}), entries(2));
    EXPECT_EQ((std::vector<std::uint32_t>{0, 1}), (std::vector<std::uint32_t>{again[0].placed, again[1].placed}));
    EXPECT_TRUE(messages.texts.empty());
}

TEST_F(PasteDrop, FavouriteDropRefusals)
{
    build(4, 4);
    setList(0, {0, 1, 4});
    const std::uint32_t scope = scopeFav(0) | SCOPE_TV_RADIO;
    ProgramClipboard tv{tableItem(2)}, radio{tableItem(5)}, none;
    const auto before = bytes();
    const auto drop = [&](int l, int row, ProgramClipboard& items) {
        return db.dropPrograms(DBT_FAVOURITE, l, row, items, scope);
    };
    EXPECT_EQ((V{-6, -7, -8, -4}), (V{drop(0, -1, tv), drop(0, 1, radio), drop(0, 3, tv), drop(9, 0, tv)}));
    db.setFavCount(0, FAV_ENTRIES);
    EXPECT_EQ((V{-100, -5, -5}), (V{drop(0, 0, tv), drop(0, -1, none), drop(0, 0, none)}));
    db.setFavCount(0, 3);
    EXPECT_EQ(before, bytes());
    EXPECT_EQ((S{"Select position to paste Your data!", "Can't put Radio program among TV program",
                 "Can't put TV program among Radio program", "Not enought free space in programs table",
                 "Favorite Table is full!", "Favourite Table is full!"}),
              messages.texts);

    messages.clear();
    ProgramClipboard unknown{tableItem(1)};
    unknown[0].name[0] = 'X'; // no such program in the table: it has to be added
    db.setProgramCount(MAX_PROGRAMS);
    db.setTvProgramCount(MAX_PROGRAMS - 4);
    EXPECT_EQ(-4, drop(0, 2, unknown));
    EXPECT_EQ((S{"Program table is full. Can't add program!"}), messages.texts);
    db.setProgramCount(8);
    db.setTvProgramCount(4);
    EXPECT_EQ(before, bytes());

    ASSERT_EQ(0, drop(0, 2, unknown)); // room now: a new TV program
    EXPECT_EQ(5, db.tvProgramCount());
    EXPECT_EQ((V{0, 1, 4, 5}), entries(0));
    EXPECT_EQ(3, db.favTvCount(0));
}

} // namespace
} // namespace satorix::test
