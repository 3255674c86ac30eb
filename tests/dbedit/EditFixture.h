#pragma once

#include <cstdint>
#include <numeric>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "db/DatabaseBuilder.h"
#include "db/Names.h"
#include "tests/support/Editing.h"
#include "tests/support/MessageRecorder.h"

namespace satorix::test {

constexpr std::uint32_t TABLE = SCOPE_PROGRAMS | SCOPE_TV_RADIO;
constexpr std::uint32_t FAV1 = SCOPE_FAV1 | SCOPE_TV_RADIO;
using V = std::vector<int>;
using VV = std::vector<V>;
using S = std::vector<std::string>;
using Bytes = std::vector<std::uint8_t>;

template <typename F> V collect(int n, F f)
{
    V out;
    for (int i = 0; i < n; ++i) out.push_back(static_cast<int>(f(i)));
    return out;
}

// A small database: two satellites with transponders, three providers, `tv` TV and `radio`
// radio programs whose service ids are 100 + their row, so rows can be followed through moves.
class EditFixture : public ::testing::Test {
protected:
    EditFixture() : messages(db) {}
    void build(int tv, int radio, const VV& lists = {}) // lists[l]: the programs of list l
    {
        db.assignImage(nullptr, 0);
        DatabaseBuilder b(db);
        b.addSatellite({1, 192, "Astra"});
        b.addSatellite({2, 130, "Hotbird"});
        for (const auto& [satellite, frequency] : {std::pair{1, 11000}, {1, 12000}, {2, 10800}})
            b.addTransponder({satellite, frequency});
        for (const char* p : {"Alpha", "Beta", "Gamma"}) b.addProvider(p);
        for (int i = 0; i < tv + radio; ++i) {
            ProgramFields s{(i < tv ? "TV " : "Radio ") + std::to_string(i), i % 3, i % 3, 100 + i, 256, 257, 256};
            i < tv ? b.addTvProgram(s) : b.addRadioProgram(s);
        }
        for (int l = 0; l < FAV_LISTS; ++l) b.setFavouriteName(l, "Fav_" + std::to_string(l + 1));
        for (std::size_t l = 0; l < lists.size(); ++l) setList(static_cast<int>(l), lists[l]);
        db.setLoaded(true); // no CRC: editing leaves it to the caller, and thousands of databases are built
        messages.clear();
    }
    void setList(int l, const V& programs) // TV entries are those below tvProgramCount
    {
        db.setFavCount(l, 0), db.setFavTvCount(l, 0);
        for (int p : programs) DatabaseBuilder(db).addFavourite(l, p);
    }
    V entries(int l) const
    {
        return collect(db.favInUse(l), [&](int c) { return db.favEntry(l, c); });
    }
    VV parts(int l) const // list l's TV part and radio part
    {
        const V all = entries(l);
        const auto tv = all.begin() + std::min<std::ptrdiff_t>(db.favTvCount(l), std::ssize(all));
        return {V(all.begin(), tv), V(tv, all.end())};
    }
    int field(int p, std::size_t at) const { return db.raw().u16(DatabaseImage::programOffset(p) + at); }
    V fields(std::size_t at) const
    {
        return collect(db.programsInUse(), [&](int p) { return field(p, at); });
    }
    V serviceIds() const { return fields(layout::prog::SERVICE_ID); } // of the programs in table order
    Bytes bytes(std::size_t a = 0, std::size_t b = IMAGE_SIZE) const { return {db.image() + a, db.image() + b}; }
    // Records by their fields in order: service id, provider, transponder, video, audio and PCR PIDs; satellite id,
    // -, polarisation, FEC, TSID, NID, ONID, frequency, symbol rate.
    static RecordView program(int sid, const char* name = "New") { return {{sid, 0, 0, 0x200, 0x201, 0x200}, {name}}; }
    static RecordView tp(int sat, int frequency, int rate = 27500)
    {
        return {{sat, 0, 0, 0, 0, 0, 0, frequency, rate}};
    }
    V clipIndices() const
    {
        return collect(db.clipboardCount(), [&](int k) { return db.clipboard()[k].programIndex; });
    }
    int paste(int position, std::uint32_t scope) { return db.pasteClipboard(position, scope); }
    int op(int type, int o, int index, const RecordView& r = {}) { return db.recordOp(type, o, index, r); }

    // The view's lift: rows ascending, each read and deleted at table row offset+r-k while dragInProgress is set.
    void liftFromTable(const V& rows, int offset = 0)
    {
        db.setDragInProgress(true);
        db.dragList().clear();
        for (std::size_t k = 0; k < rows.size(); ++k) {
            const int row = offset + rows[k] - static_cast<int>(k);
            ProgramInfo& item = db.dragList().emplace_back();
            ASSERT_EQ(0, db.getProgramInfo(0, row, item));
            ASSERT_EQ(0, op(DBT_PROGRAM, OP_DELETE, row));
            item.programIndex = rows[k];
        }
    }
    // Copy (cut=false) or cut of table rows into the clipboard, as the view's commands make it.
    void copyRows(const V& rows, bool cut)
    {
        db.clipboard().clear();
        for (int r : rows) {
            ProgramInfo& item = db.clipboard().emplace_back();
            ASSERT_EQ(0, db.getProgramInfoRaw(r, item));
            item.programIndex = cut ? -1 : r;
        }
        for (auto it = rows.rbegin(); cut && it != rows.rend(); ++it) {
            std::uint32_t mask = 0;
            db.favouriteMask(*it, mask);
            ASSERT_EQ(0, db.deleteProgram(*it, mask, TABLE, "Satellites"));
        }
    }

    ChannelDatabase db;
    MessageRecorder messages;
};

} // namespace satorix::test
