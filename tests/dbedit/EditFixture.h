#pragma once

#include <cstdint>
#include <numeric>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "db/ChannelDatabase.h"
#include "db/DatabaseBuilder.h"
#include "tests/support/Editing.h"
#include "tests/support/MessageRecorder.h"

namespace satorix::test {

constexpr std::uint32_t TABLE = SCOPE_PROGRAMS | SCOPE_TV_RADIO;
constexpr std::uint32_t FAV1 = SCOPE_FAV1 | SCOPE_TV_RADIO;
using V = std::vector<int>;
using VV = std::vector<V>;
using S = std::vector<std::string>;
using Bytes = std::vector<std::uint8_t>;

// f(0) .. f(n-1).
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
    void build(int tv, int radio);
    void setList(int l, const V& programs); // TV entries are those below tvProgramCount
    V entries(int l) const
    {
        return collect(db.favInUse(l), [&](int c) { return db.favEntry(l, c); });
    }
    VV parts(int l) const; // list l's TV part and radio part
    int field(int p, std::size_t at) const { return db.raw().u16(DatabaseImage::programOffset(p) + at); }
    V fields(std::size_t at) const
    {
        return collect(db.programsInUse(), [&](int p) { return field(p, at); });
    }
    V serviceIds() const { return fields(layout::prog::SERVICE_ID); } // of the programs in table order
    Bytes bytes(std::size_t from = 0, std::size_t to = IMAGE_SIZE) const
    {
        return {db.image() + from, db.image() + to};
    }
    RecordView program(int serviceId, const char* name = "New") const;
    static RecordView tp(int satelliteId, int frequency, int symbolRate = 27500);
    V clipIndices() const
    {
        return collect(db.clipboardCount(), [&](int k) { return db.clipboard()[k].programIndex; });
    }
    int paste(int position, std::uint32_t scope) { return db.pasteClipboard(position, scope); }
    int op(int type, int o, int index, const RecordView& r = {}) { return db.recordOp(type, o, index, r); }

    // The view's lift: rows ascending, each read and deleted at table row offset+r-k while dragInProgress is set.
    void liftFromTable(const V& rows, int offset = 0);
    // Copy (cut=false) or cut of table rows into the clipboard, as the view's commands make it.
    void copyRows(const V& rows, bool cut);

    ChannelDatabase db;
    MessageRecorder messages;
};

} // namespace satorix::test
