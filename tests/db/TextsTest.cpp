// Texts of records: names in their own character table (what each selector reads as, and the
// shortest bytes for what a user types) and the program list's cells.
#include <gtest/gtest.h>

#include <tuple>

#include "db/DatabaseBuilder.h"
#include "db/NameCodec.h"
#include "db/ProgramRowTexts.h"

using namespace satorix;

// Three programs on three transponders of one satellite, in lists 2 and 9.
TEST(Texts, RowCellsAndFailuresRowsOfEachScopeAndNamesInEachCharacterTable)
{
    ChannelDatabase db;
    DatabaseBuilder b(db);
    b.addSatellite({5, 192, "Astra 1E-2C"});
    b.addSatellite({5, 130, "Shadowed"}); // same id: the first satellite wins
    for (const auto& [f, pol, rate, fec] : {std::array{11778, 1, 27500, 3}, {10700, 7, 22000, 0}, {12000, 2, 6111, 9}})
        b.addTransponder({5, f, pol, rate, fec});
    b.addProvider("Alpha");
    b.addTvProgram({"\x05Kanal", 0, 0, 1, 0, 0, 0, FLAG_LOCKED | FLAG_SCPC | FLAG_SCRAMBLED});
    b.addTvProgram({"Plain", 0, 1, 2, 0, 0, 0, 0});
    b.addRadioProgram({"Tune", 0, 2, 3, 0, 0, 0, FLAG_SCRAMBLED});
    for (const auto& [l, p] : {std::pair{1, 0}, {8, 0}, {8, 2}}) b.addFavourite(l, p);
    b.finish();

    RowTexts t;
    ASSERT_FALSE(ProgramRowBuilder(db).build(0, 41, t).failed());
    EXPECT_EQ(
        t, (RowTexts{"0042", "Kanal", "T LSC", "Alpha", "Astra 1E-2C", "11778", "27500", "V", "DVBS2", " 2      9"}));
    // Polarisation 7 has no letter, fec 9 no name.
    const std::vector<std::string> flagsPolarisationFecLists[] = {{"T    ", " ", "DVBS", "         "},
                                                                  {"R   C", "L", "    ", "        9"}};
    for (int p : {1, 2}) {
        ASSERT_FALSE(ProgramRowBuilder(db).build(p, p, t).failed());
        EXPECT_EQ((std::vector<std::string>{t[2], t[7], t[8], t[9]}), flagsPolarisationFecLists[p - 1]);
    }

    std::vector<RowRef> refs;
    RowTextError err;
    // {position, program} of each row a scope shows.
    const auto shown = [&](std::uint32_t scope) {
        std::vector<std::pair<int, int>> out;
        EXPECT_TRUE(rowsForScope(db, scope, refs, err)) << scope;
        for (const RowRef& ref : refs) out.emplace_back(ref.position, ref.programIndex);
        return out;
    };
    using Rows = std::vector<std::pair<int, int>>;
    EXPECT_EQ(shown(SCOPE_PROGRAMS | SCOPE_RADIO), (Rows{{2, 2}})); // shown as 0003: numbered after the TV programs
    EXPECT_EQ(shown(SCOPE_PROGRAMS | SCOPE_TV), (Rows{{0, 0}, {1, 1}}));
    EXPECT_EQ(shown(scopeFav(8) | SCOPE_RADIO), (Rows{{1, 2}}));
    EXPECT_EQ(shown(scopeFav(8) | scopeFav(1) | SCOPE_TV_RADIO), (Rows{{0, 0}})); // the lowest list wins
    EXPECT_FALSE(rowsForScope(db, SCOPE_TV_RADIO, refs, err));

    // Unreadable records: the first failure is reported, what could be read is still shown.
    db.raw().setU16(DatabaseImage::programOffset(1) + layout::prog::PROVIDER, 3);
    db.raw().setU8(DatabaseImage::transponderOffset(0) + layout::tp::SAT_ID, 99);
    const auto failure = [&](int p) {
        const RowTextError e = ProgramRowBuilder(db).build(p, 0, t);
        return std::pair{e.type, e.code};
    };
    EXPECT_EQ((std::pair{failure(1), t[1]}), (std::pair{std::pair(DBT_PROVIDER, -3), std::string("Plain")}));
    EXPECT_EQ((std::pair{failure(0).first, t[5]}), (std::pair{DBT_SATELLITE, std::string("11778")}));
    EXPECT_EQ(failure(7), std::pair(DBT_PROGRAM, -3));

    // Hostile counters stay inside the lists.
    db.setFavCount(3, 60000), db.setFavTvCount(3, 70);
    EXPECT_EQ(shown(scopeFav(3) | SCOPE_RADIO).size(), 330u);

    const std::tuple<std::string, NameTable, std::string> cases[] = {
        {"Caf\xE9", NameTable::Latin1, "Café"},
        {"\x80\x9C", NameTable::Windows1252, "€œ"},
        {"\xC2\x65", NameTable::Iso6937, "é"},
        {"\x01\xBF\xE0\xD8", NameTable::Latin1, "При"},
        {"\x03\xC5\xEB", NameTable::Latin1, "Ελ"},
        {"\x05\xDE", NameTable::Latin1, "Ş"},
        {"\x0B\xA4", NameTable::Latin1, "€"},
        {std::string("\x10\x00\x02\xA3", 4), NameTable::Latin1, "Ł"},
        {std::string("\x11\x04\x1F\x00\x41", 5), NameTable::Latin1, "ПA"},
        {"\x15\xC3\xA9", NameTable::Latin1, "é"},
        {"\x08\xE9", NameTable::Latin1, "\xEF\xBF\xBD"},      // reserved table
        {"News\x86X\x87\x8AY", NameTable::Latin1, "NewsX Y"}, // emphasis and line break codes
    };
    for (const auto& [bytes, fallback, text] : cases) EXPECT_EQ(decodeName(bytes, fallback), text) << text;
    const std::pair<std::string, std::string> typed[] = {
        {"Café", "Caf\xE9"},
        {"Привет", "\x01\xBF\xE0\xD8\xD2\xD5\xE2"},
        {"Türk", "T\xFCrk"}, // Latin-1 holds it: no selector
        {"Şişli", "\x05\xDEi\xFEli"},
        {"A name far too long here", "A name far too "},
        {"ППППППППППППППППП", "\x01\xBF\xBF\xBF\xBF\xBF\xBF\xBF\xBF\xBF\xBF\xBF\xBF\xBF\xBF"}};
    for (const auto& [text, bytes] : typed) {
        const EncodedName e = encodeName(text);
        EXPECT_TRUE(e.ok() && e.bytes == bytes) << text;
        EXPECT_EQ(decodeName(e.bytes), text.substr(0, decodeName(e.bytes).size())) << text;
    }
    const EncodedName mixed = encodeName("Привет Ελλάδα");
    EXPECT_EQ((std::pair{mixed.bytes, mixed.unstorable}), (std::pair{std::string(), std::string("Ελλάδα")}));
}
