#pragma once

#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "db/ChannelDatabase.h"
#include "db/DatabaseBuilder.h"
#include "tests/support/Editing.h"
#include "tests/support/MessageRecorder.h"

namespace satorix::test {

constexpr std::uint32_t TABLE = SCOPE_PROGRAMS | SCOPE_TV_RADIO;

// A small database: two satellites with transponders, three providers, `tv` TV and `radio`
// radio programs whose service ids are 100 + their row, so rows can be followed through moves.
class EditFixture : public ::testing::Test {
protected:
    EditFixture() : messages(db) {}
    void build(int tv, int radio);
    void setList(int l, const std::vector<int>& programs); // TV entries are those below tvProgramCount
    std::vector<int> entries(int l) const;
    std::vector<int> serviceIds() const; // of the programs in table order
    std::vector<std::uint8_t> bytes() const { return {db.image(), db.image() + IMAGE_SIZE}; }
    RecordView program(int serviceId, const char* name = "New") const;
    static RecordView tp(int satelliteId, int frequency, int symbolRate = 27500);
    std::vector<int> clipIndices() const; // programIndex of each clipboard item
    std::vector<int> counts(int l) const { return {db.favCount(l), db.favTvCount(l)}; }
    int paste(int position, std::uint32_t scope) { return db.pasteClipboard(position, scope); }

    // The view's lift: rows ascending, each read and deleted at table row offset+r-k while dragInProgress is set.
    void liftFromTable(const std::vector<int>& rows, int offset = 0);
    // The view's lift from favourite list l (scope shows it): OP_REMOVE_ENTRY at row r-k.
    void liftFromList(int l, std::uint32_t scope, const std::vector<int>& rows)
    {
        test::liftFromList(db, l, scope, rows);
    }
    // Copy (cut=false) or cut of table rows into the clipboard, as the view's commands make it.
    void copyRows(const std::vector<int>& rows, bool cut);

    ChannelDatabase db;
    MessageRecorder messages;
};

} // namespace satorix::test
