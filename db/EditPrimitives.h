#pragma once

// Building blocks shared by the editing operations: block moves of records, favourite entry
// edits and the per-type record operations behind recordOp. Callers check indices and counters
// first; these helpers only ever touch slots inside the table's capacity.

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "ChannelDatabase.h"

namespace satorix::edit {

// Moves records [from, end) of a table by `by` slots in one block; the slots left behind keep
// their bytes, exactly as a record-by-record move would leave them.
void moveRecords(ChannelDatabase& db, std::size_t table, std::size_t recordSize, int from, int end, int by);
inline void movePrograms(ChannelDatabase& db, int from, int end, int by)
{
    moveRecords(db, layout::PROGRAMS, layout::PROGRAM_SIZE, from, end, by);
}

void writeProgram(ChannelDatabase& db, int row, const RecordView& rec);
void writeProgram(ChannelDatabase& db, int row, const ProgramInfo& item, int provider, int transponder);
bool programMatches(const ChannelDatabase& db, int row, const ProgramInfo& item, int provider, int transponder);

// The favourite list a paste or drop works on, or -1 for the program table.
inline int shownList(std::uint32_t scope) { return (scope & SCOPE_PROGRAMS) ? -1 : scopeFavList(scope); }

// First position of value in list l, or -1.
int findFavEntry(const ChannelDatabase& db, int l, int value);
// Closes the gap at pos (below favInUse); counters are the caller's.
void removeFavEntryAt(ChannelDatabase& db, int l, int pos);
// Opens a gap at pos (at most favInUse, which must be below 400) and writes value; counters are the caller's.
void insertFavEntryAt(ChannelDatabase& db, int l, int pos, int value);

struct Removed {
    int total = 0;
    int inTvPart = 0; // removed from positions below favTvCount
};
// Removes every entry equal to value as closing the gaps one at a time from the front would
// (the freed tail slots hold the old last entry); with renumber, entries above value drop by one.
// Counters are the caller's.
Removed removeFavValue(ChannelDatabase& db, int l, int value, bool renumber);
// Every entry >= from of every list moves by `by`.
void shiftFavEntries(ChannelDatabase& db, int from, int by);

// Finds providers by name and transponders by their tuning values, the way a drop re-attaches
// lifted programs; built once per drop so that each item costs a binary search.
class ReferenceLookup {
public:
    explicit ReferenceLookup(const ChannelDatabase& db);
    // First provider with the item's provider name, else the item's own providerIndex.
    int provider(const ProgramInfo& item) const;
    // First transponder with the item's seven tuning values, else the item's own transponderIndex.
    int transponder(const ProgramInfo& item) const;

    // What a clipboard item names now, -1 when nothing does: the item's own index while it still
    // holds what the item saw, else the first record by name or by tuning values (on the item's
    // satellite first). An edited transponder is still found by its index on the same satellite.
    int findProvider(const ProgramInfo& item) const;
    int findTransponder(const ProgramInfo& item) const;
    void addProvider(std::string_view name, int index);

private:
    struct TuningKey {
        std::uint64_t high;
        std::uint32_t low;
        auto operator<=>(const TuningKey&) const = default;
    };
    static TuningKey key(int polarisation, int fec, int tsid, int nid, int onid, int frequency, int symbolRate);
    std::vector<std::pair<std::string_view, int>> providers_;
    std::vector<std::pair<TuningKey, int>> transponders_;
    std::vector<std::uint8_t> satelliteOf_;       // by transponder index
    std::vector<std::string_view> providerNames_; // by provider index
};

// The table row of a lifted or copied program: the row it names if that still holds it, else the
// first program of its kind with the same fields; -1 when there is none.
int findProgram(const ChannelDatabase& db, const ProgramInfo& item, int provider, int transponder);

int programOp(ChannelDatabase& db, int op, int index, const RecordView& rec);
int favouriteOp(ChannelDatabase& db, int op, int list, const RecordView& rec);
int transponderOp(ChannelDatabase& db, int op, int index, const RecordView& rec);
int providerOp(ChannelDatabase& db, int op, int index, const RecordView& rec);

} // namespace satorix::edit
