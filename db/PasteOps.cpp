// Pasting the program clipboard into the program table or into a favourite list.
#include <algorithm>
#include <vector>

#include "ChannelDatabase.h"
#include "EditPrimitives.h"

namespace satorix {
namespace {

constexpr int PASTE_LIST_LIMIT = 200;

int pasteIntoTable(ChannelDatabase& db, int position)
{
    ProgramClipboard& items = db.clipboard();
    const int n = static_cast<int>(items.size());
    const int count = db.programCount();
    if (count + n > MAX_PROGRAMS) return -1;
    if (position < 0 || position > count) return -1;

    edit::movePrograms(db, position, count, n);
    // Renumbering before each item moves every older entry at or above the paste row once per
    // item: n in all. Entries restored for earlier items stay below the later rows.
    edit::shiftFavEntries(db, position, n);
    std::vector<bool> restored(items.size(), false);
    int tvItems = 0;
    for (int k = 0; k < n; ++k) {
        ProgramInfo& item = items[static_cast<std::size_t>(k)];
        const int r = position + k;
        edit::writeProgram(db, r, item, item.providerIndex, item.transponderIndex);
        if (item.isTv) ++tvItems;
        if (item.programIndex < 0) {
            // A cut program goes back into the lists it was taken from.
            item.programIndex = r;
            db.addToFavourites(r, item);
            restored[static_cast<std::size_t>(k)] = true;
        }
        item.placed = 1;
    }
    db.setProgramCount(count + n);
    db.setTvProgramCount(db.tvProgramCount() + tvItems);
    for (int k = 0; k < n; ++k) {
        ProgramInfo& item = items[static_cast<std::size_t>(k)];
        if (!restored[static_cast<std::size_t>(k)] && item.programIndex >= position) item.programIndex += n;
    }
    return 0;
}

// Puts a cut program back at the end of its kind's part of the table; -1 when the table is full.
int restoreProgram(ChannelDatabase& db, ProgramInfo& item)
{
    const int count = db.programCount();
    if (count >= MAX_PROGRAMS) return -1;
    const int tv = std::min(db.tvProgramCount(), count);
    const int row = item.isTv ? tv : count;
    edit::movePrograms(db, row, count, 1);
    edit::writeProgram(db, row, item, item.providerIndex, item.transponderIndex);
    db.setProgramCount(count + 1);
    if (item.isTv) db.setTvProgramCount(tv + 1);
    edit::shiftFavEntries(db, row, 1);
    item.programIndex = row;
    return row;
}

int pasteIntoList(ChannelDatabase& db, int l, int& position)
{
    ProgramClipboard& items = db.clipboard();
    const int n = static_cast<int>(items.size());
    if (db.favCount(l) + n > PASTE_LIST_LIMIT) return -1;
    if (db.favCount(l) == 0 && position == -1) position = 0;
    if (position < 0 || position > db.favCount(l)) return -1;

    // Items that cannot be placed are skipped; the next one takes their place so that the
    // pasted block stays together and on its side of the TV/radio boundary.
    int p = position;
    bool toldFull = false;
    for (ProgramInfo& item : items) {
        int program = item.programIndex;
        if (program < 0) {
            program = restoreProgram(db, item);
            if (program < 0) {
                // The program stays cut in the clipboard and can be pasted once there is room.
                if (!toldFull) db.notify("Program table is full. Cut programs stay in clipboard.");
                toldFull = true;
                item.placed = 0;
                continue;
            }
        } else if (program >= db.programsInUse()) {
            item.placed = 0; // a stale row: never write an entry that names no program
            continue;
        }
        edit::insertFavEntryAt(db, l, p, program);
        db.setFavCount(l, db.favCount(l) + 1);
        if (item.isTv) db.setFavTvCount(l, db.favTvCount(l) + 1);
        item.placed = 1;
        ++p;
    }
    return 0;
}

} // namespace

int ChannelDatabase::checkPastePosition(int position, std::uint32_t scope) const
{
    const int l = edit::shownList(scope);
    const int boundary = l < 0 ? tvProgramCount() : favTvCount(l);
    const bool anyTv = std::any_of(clipboard_.begin(), clipboard_.end(), [](const auto& i) { return i.isTv != 0; });
    const bool anyRadio = std::any_of(clipboard_.begin(), clipboard_.end(), [](const auto& i) { return i.isTv == 0; });
    if (anyTv && position > boundary) {
        notify("Can't put TV program among radio program.");
        return 0;
    }
    if (anyRadio && position < boundary) {
        notify("Can't put radio program among TV program.");
        return 0;
    }
    return 1;
}

int ChannelDatabase::pasteClipboard(int& position, std::uint32_t scope)
{
    const int l = edit::shownList(scope);
    return l < 0 ? pasteIntoTable(*this, position) : pasteIntoList(*this, l, position);
}

int ChannelDatabase::clipboardCount() const { return static_cast<int>(clipboard_.size()); }

void ChannelDatabase::shiftClipboardIndices(int from, int by)
{
    for (ProgramInfo& item : clipboard_)
        if (item.programIndex >= from) item.programIndex += by;
}

} // namespace satorix
