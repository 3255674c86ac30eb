#include "tests/dbedit/EditFixture.h"

namespace satorix::test {
namespace {

class PasteDrop : public EditFixture {
protected:
    // Service ids of the programs list l names: unchanged when every entry still names its program.
    V namedServices(int l) const
    {
        return collect(db.favInUse(l), [&](int c) { return field(db.favEntry(l, c), layout::prog::SERVICE_ID); });
    }
    ProgramClipboard tableItems(const V& rows) const
    {
        ProgramClipboard out(rows.size());
        for (std::size_t k = 0; k < rows.size(); ++k) {
            EXPECT_EQ(0, db.getProgramInfo(0, rows[k], out[k]));
            out[k].programIndex = rows[k];
        }
        return out;
    }
    int drop(int r, std::uint32_t scope = TABLE) { return db.dropPrograms(DBT_PROGRAM, -1, r, db.dragList(), scope); }
};

TEST_F(PasteDrop, PastesAndDragsIntoTableAndListsTheirRefusalsAndRecordsMovedMeanwhile)
{
    build(5, 2, {{0, 3, 4, 5, 6}});
    copyRows({1, 4}, false);
    ASSERT_EQ((V{1, 0}), (V{db.checkPastePosition(3, TABLE), paste(3, TABLE)}));
    EXPECT_EQ((VV{{100, 101, 102, 101, 104, 103, 104, 105, 106}, {7}, {0, 5, 6, 7, 8}, {1, 6}}),
              (VV{serviceIds(), {db.tvProgramCount()}, entries(0), clipIndices()})); // copies join no list

    build(5, 2, {{1, 2, 3, 5}, {2}, {2, 6}}); // a cut pasted back restores the image
    const auto uncut = bytes();
    copyRows({2, 3}, true);
    EXPECT_EQ((V{1, 3}), entries(0));
    ASSERT_EQ((V{1, 0}), (V{db.checkPastePosition(2, TABLE), paste(2, TABLE)}));
    EXPECT_EQ((std::pair{uncut == bytes(), clipIndices()}), (std::pair{true, V{2, 3}}));

    build(5, 2, {{0, 1}}); // a cut into a list of a full table stays in the clipboard
    copyRows({3}, true);
    db.clipboard().push_back(tableItems({2})[0]);
    // The rows above are taken by others meanwhile.
    db.setProgramCount(MAX_PROGRAMS), db.setTvProgramCount(MAX_PROGRAMS - 2);
    ASSERT_EQ(0, paste(2, FAV1));
    EXPECT_EQ((S{"Program table is full. Cut programs stay in clipboard."}), messages.texts);
    EXPECT_EQ((std::pair{db.clipboard()[0].placed, db.clipboard()[1].placed}), (std::pair{0u, 1u}));
    EXPECT_EQ((VV{{MAX_PROGRAMS}, {-1, 2}, {0, 1, 2}, {}}),
              (VV{{db.programCount()}, clipIndices(), parts(0)[0], parts(0)[1]}));

    build(250, 10); // refusals leave the image
    setList(0, collect(199, [](int i) { return i; }));
    copyRows({200, 201}, false);
    const auto unpasted = bytes();
    EXPECT_EQ(-1, paste(10, FAV1)); // 201 > 200
    db.setProgramCount(MAX_PROGRAMS - 1);
    const auto nearlyFull = bytes();
    EXPECT_EQ((std::pair{paste(10, TABLE), nearlyFull == bytes()}), (std::pair{-1, true}));
    db.setProgramCount(260);
    EXPECT_EQ(unpasted, bytes());

    setList(0, collect(198, [](int i) { return i; })); // 198 + 2 fills it to exactly 200
    ASSERT_EQ(0, paste(10, FAV1));
    EXPECT_EQ((V{200, 200, 200, 201}), (V{db.favCount(0), db.favTvCount(0), db.favEntry(0, 10), db.favEntry(0, 11)}));

    copyRows({249, 250}, false); // one TV, one radio: only at the boundary
    const auto check = [&](int row, std::uint32_t scope) { return db.checkPastePosition(row, scope); };
    EXPECT_EQ((V{1, 0, 0, 1}), (V{check(250, TABLE), check(249, TABLE), check(251, TABLE), check(200, FAV1)}));
    EXPECT_EQ((S{"Can't put radio program among TV program.", "Can't put TV program among radio program."}),
              messages.texts);
    copyRows({200, 201}, false);
    int start = -1; // an empty list takes a paste without a row at its start
    ASSERT_EQ(0, db.pasteClipboard(start, scopeFav(4) | SCOPE_TV_RADIO));
    EXPECT_EQ((VV{{0}, {200, 201}}), (VV{{start}, entries(4)}));

    // Records move between a cut and its paste; the paste finds what each item named again.
    // Their only provider was purged while they were cut: it comes back by name.
    build(6, 4);
    copyRows({1, 4}, true);
    db.raw().setU16(DatabaseImage::programOffset(5) + layout::prog::PROVIDER, 0); // the last other user of Beta
    db.purgeUnusedProviders();
    ASSERT_EQ((V{2, 0}), (V{db.providerCount(), paste(0, TABLE)}));
    EXPECT_EQ((V{2, 2, 3}),
              (V{field(0, layout::prog::PROVIDER), field(1, layout::prog::PROVIDER), db.providerCount()}));
    EXPECT_EQ("Beta", boundedName(db.raw().namePtr(DatabaseImage::providerOffset(2))));

    // A transponder added on the other satellite before its own: the program stays on its satellite.
    build(6, 4);
    copyRows({2}, true); // transponder 2, on satellite 2
    ASSERT_EQ((V{0, 0}), (V{op(DBT_TRANSPONDER, OP_ADD, 0, tp(1, 11500)), paste(0, TABLE)}));
    EXPECT_EQ(3, field(0, layout::prog::TRANSPONDER));
    EXPECT_TRUE(messages.texts.empty());

    // A copied program pasted into a list before a cut one: restoring the cut one moves the copied
    // one down a row, and its clipboard index with it.
    build(6, 4, {{0, 2, 3, 6, 9}});
    copyRows({1}, true);
    ProgramInfo copied;
    ASSERT_EQ(0, db.getProgramInfoRaw(6, copied)); // "Radio 7"
    copied.programIndex = 6;
    db.clipboard().insert(db.clipboard().begin(), copied);
    ASSERT_EQ(0, paste(0, FAV1));
    EXPECT_EQ((V{7, 5}), clipIndices());
    EXPECT_EQ((VV{{5, 0, 1, 2}, {7, 6, 9}}), parts(0));

    build(6, 0, {{0, 1, 2, 3, 4, 5}, {5, 4, 2}});
    const VV named{namedServices(0), namedServices(1)};
    for (int i = 0; i < 6; ++i) db.raw().setU16(DatabaseImage::programOffset(i) + layout::prog::RESERVED, 0x1000 + i);
    liftFromTable({2, 4});
    EXPECT_EQ(4, db.programCount());
    const RecordView scope{{static_cast<std::int32_t>(TABLE)}}; // field dropf::SCOPE
    ASSERT_EQ(0, op(DBT_SATELLITE, OP_EDIT, 1, scope));         // routed to moveFavouritesForDrop
    EXPECT_EQ((V{0, 3, 1, 4, 2, 5}), entries(0));
    ASSERT_EQ(0, drop(1));
    EXPECT_EQ((V{100, 102, 104, 101, 103, 105}), serviceIds());
    EXPECT_EQ(named, (VV{namedServices(0), namedServices(1)}));
    // Inserted one at a time, each new row keeps the reserved word of the record that stood at row 1.
    EXPECT_EQ((V{0x1000, 0x1001, 0x1001, 0x1001, 0x1003, 0x1005}), fields(layout::prog::RESERVED));

    build(2, 6, {{0, 1, 2, 3, 4, 5, 6, 7}}); // in a radio-only view rows count from the first radio
    const V radioNamed = namedServices(0);
    liftFromTable({2, 4}, 2); // radio rows 2 and 4 of the view
    ASSERT_EQ(0, db.moveFavouritesForDrop(1, SCOPE_PROGRAMS | SCOPE_RADIO));
    ASSERT_EQ(0, drop(2 + 1, SCOPE_PROGRAMS | SCOPE_RADIO));
    EXPECT_EQ((V{100, 101, 102, 104, 106, 103, 105, 107}), serviceIds());
    EXPECT_EQ((VV{radioNamed, {2}}), (VV{namedServices(0), {db.tvProgramCount()}}));

    build(3, 3); // refusals change nothing
    liftFromTable({4});
    const auto lifted = bytes();
    EXPECT_EQ((V{-7, 0}), (V{drop(1), drop(-1)}));
    EXPECT_EQ((std::pair{lifted == bytes(), messages.texts}),
              (std::pair{true, S{"Can't put Radio program among TV program", "Select position!"}}));

    build(3, 3);
    liftFromTable({0});
    const auto liftedTv = bytes();
    EXPECT_EQ((V{-8, -8}), (V{drop(3), drop(5)})); // 5: after the last radio
    db.setProgramCount(MAX_PROGRAMS);
    EXPECT_EQ(-100, drop(0));
    db.setProgramCount(5);
    EXPECT_EQ((std::pair{liftedTv == bytes(), messages.texts}),
              (std::pair{true, S{"Can't put TV program among Radio program", "Can't put TV program among Radio program",
                                 "Not enought free space in programs table"}}));
    EXPECT_EQ(0, drop(2)); // end of the TV part
    EXPECT_EQ((V{101, 102, 100, 103, 104, 105}), serviceIds());

    build(4, 2, {{0, 1, 2, 3, 4, 5}});
    const auto table = bytes(layout::SATELLITE_COUNT, layout::FAVOURITES);
    const auto drag = [&](std::uint32_t part, const V& rows, int to) {
        liftFromList(db, 0, scopeFav(0) | part, rows);
        return db.dropPrograms(DBT_FAVOURITE, 0, to, db.dragList(), scopeFav(0) | part);
    };
    ASSERT_EQ(0, drag(SCOPE_TV_RADIO, {0, 2}, 2)); // within the list, its programs are found again
    EXPECT_EQ((VV{{1, 3, 0, 2}, {4, 5}}), parts(0));
    ASSERT_EQ(0, drag(SCOPE_RADIO, {1}, 0));
    EXPECT_EQ((VV{{1, 3, 0, 2}, {5, 4}}), parts(0));
    EXPECT_EQ(table, bytes(layout::SATELLITE_COUNT, layout::FAVOURITES));

    // From the table without a row: TV first, each kind in drag order; then duplicates are skipped.
    ProgramClipboard items = tableItems({5, 1, 4, 2}), again = tableItems({1, 0});
    ASSERT_EQ(0, db.dropPrograms(DBT_FAVOURITE, 2, -1, items, scopeFav(2) | SCOPE_TV_RADIO));
    EXPECT_EQ((VV{{1, 2}, {5, 4}}), parts(2));
    ASSERT_EQ(0, db.dropPrograms(DBT_FAVOURITE, 2, 1, again, scopeFav(2) | SCOPE_TV_RADIO));
    EXPECT_EQ((V{1, 0, 2, 5, 4}), entries(2));
    EXPECT_EQ((std::pair{again[0].placed, again[1].placed}), (std::pair{0u, 1u}));
    EXPECT_TRUE(messages.texts.empty());

    build(4, 4, {{0, 1, 4}}); // refusals change nothing
    ProgramClipboard tv = tableItems({2}), radio = tableItems({5}), none, unknown = tableItems({1});
    const auto before = bytes();
    const auto drop = [&](int l, int row, ProgramClipboard& items) {
        return db.dropPrograms(DBT_FAVOURITE, l, row, items, FAV1);
    };
    EXPECT_EQ((V{-6, -7, -8, -4}), (V{drop(0, -1, tv), drop(0, 1, radio), drop(0, 3, tv), drop(9, 0, tv)}));
    db.setFavCount(0, FAV_ENTRIES);
    EXPECT_EQ((V{-100, -5, -5}), (V{drop(0, 0, tv), drop(0, -1, none), drop(0, 0, none)}));
    db.setFavCount(0, 3);
    unknown[0].name[0] = 'X'; // no such program in the table: it has to be added
    db.setProgramCount(MAX_PROGRAMS), db.setTvProgramCount(MAX_PROGRAMS - 4);
    EXPECT_EQ(-4, drop(0, 2, unknown));
    db.setProgramCount(8), db.setTvProgramCount(4);
    EXPECT_EQ(before, bytes());
    EXPECT_EQ((S{"Select position to paste Your data!", "Can't put Radio program among TV program",
                 "Can't put TV program among Radio program", "Not enought free space in programs table",
                 "Favorite Table is full!", "Favourite Table is full!", "Program table is full. Can't add program!"}),
              messages.texts);

    ASSERT_EQ(0, drop(0, 2, unknown)); // room now: a new TV program
    EXPECT_EQ(5, db.tvProgramCount());
    EXPECT_EQ((VV{{0, 1, 4}, {5}}), parts(0));
}

} // namespace
} // namespace satorix::test
