// Dropping lifted programs: renumbering the favourite lists for a move in the program table, and
// inserting the drag list into the table or into a favourite list.
#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

#include "ChannelDatabase.h"
#include "EditPrimitives.h"

namespace satorix {
namespace {

struct Kinds {
    bool tv = false;
    bool radio = false;
};

Kinds kindsOf(const ProgramClipboard& items)
{
    Kinds k;
    for (const ProgramInfo& i : items) (i.isTv ? k.tv : k.radio) = true;
    return k;
}

bool roomFor(const ChannelDatabase& db, std::uint32_t scope, int n)
{
    const int l = edit::shownList(scope);
    return l < 0 ? db.programCount() + n <= MAX_PROGRAMS : db.favCount(l) + n <= FAV_ENTRIES;
}

int dropIntoTable(ChannelDatabase& db, int position, ProgramClipboard& items, std::uint32_t scope)
{
    const int n = static_cast<int>(items.size());
    if (!roomFor(db, scope, n)) {
        db.notify("Not enought free space in programs table");
        return DB_NO_SPACE;
    }
    const int count = db.programCount();
    if (position < 0) {
        if (count > 0) db.notify("Select position!");
        return 0;
    }
    const Kinds kinds = kindsOf(items);
    const int tv = db.tvProgramCount();
    if (position < tv && kinds.radio) {
        db.notify("Can't put Radio program among TV program");
        return DB_RADIO_AMONG_TV;
    }
    // A TV program at the very end would turn the last radio program into a TV one.
    if (tv < position && position <= count && kinds.tv) {
        db.notify("Can't put TV program among Radio program");
        return DB_TV_AMONG_RADIO;
    }
    if (position > count) return DB_BEYOND_COUNTER;
    if (count + n > MAX_PROGRAMS) return DB_BEYOND_CAPACITY;

    const edit::ReferenceLookup refs(db);
    edit::movePrograms(db, position, count, n);
    if (position < count) {
        // Inserting one by one leaves every new slot with the reserved word of the record that stood
        // at the drop row; the block move left each slot its own.
        const std::size_t reserved = layout::prog::RESERVED;
        const std::uint16_t word = db.raw().u16(DatabaseImage::programOffset(position) + reserved);
        for (int k = 1; k < n; ++k) db.raw().setU16(DatabaseImage::programOffset(position + k) + reserved, word);
    }
    int tvItems = 0;
    for (int k = 0; k < n; ++k) {
        const ProgramInfo& item = items[static_cast<std::size_t>(k)];
        edit::writeProgram(db, position + k, item, refs.provider(item), refs.transponder(item));
        if (item.isTv) ++tvItems;
    }
    db.setProgramCount(count + n);
    db.setTvProgramCount(tv + tvItems);
    return 0;
}

int addDroppedProgram(ChannelDatabase& db, const ProgramInfo& item, int provider, int transponder)
{
    const int count = db.programCount();
    const int tv = std::min(db.tvProgramCount(), count);
    const int row = item.isTv ? tv : count;
    edit::movePrograms(db, row, count, 1);
    if (item.isTv) {
        edit::shiftFavEntries(db, tv, 1);
        db.setTvProgramCount(tv + 1);
    }
    edit::writeProgram(db, row, item, provider, transponder);
    db.setProgramCount(count + 1);
    return row;
}

int dropIntoList(ChannelDatabase& db, int l, int position, ProgramClipboard& items, std::uint32_t scope)
{
    if (l < 0 || l >= FAV_LISTS) return DB_OUT_OF_RANGE;
    const int n = static_cast<int>(items.size());
    if (!roomFor(db, scope, n)) {
        db.notify("Not enought free space in programs table");
        return DB_NO_SPACE;
    }
    const int count = db.favCount(l);
    const int tvCount = db.favTvCount(l);
    const Kinds kinds = kindsOf(items);
    if (position < 0) {
        if (count >= FAV_ENTRIES) {
            db.notify("Favorite Table is full!");
            return DB_FAV_FULL;
        }
        const bool shownPartEmpty = (scope & SCOPE_RADIO) ? count - tvCount <= 0
                                    : (scope & SCOPE_TV)  ? tvCount <= 0
                                                          : count <= 0;
        if (!shownPartEmpty) {
            db.notify("Select position to paste Your data!");
            return DB_NO_POSITION;
        }
    } else {
        if (scope & SCOPE_RADIO) {
            position += tvCount;
        } else {
            if (position < tvCount && kinds.radio) {
                db.notify("Can't put Radio program among TV program");
                return DB_RADIO_AMONG_TV;
            }
            if (tvCount < position && position <= count && kinds.tv) {
                db.notify("Can't put TV program among Radio program");
                return DB_TV_AMONG_RADIO;
            }
        }
        if (count >= FAV_ENTRIES) {
            db.notify("Favourite Table is full!");
            return DB_FAV_FULL;
        }
        if (position > count) return DB_BEYOND_COUNTER;
    }

    const edit::ReferenceLookup refs(db);
    int p = position; // skipped items leave no gap
    for (ProgramInfo& item : items) {
        const int provider = refs.provider(item), transponder = refs.transponder(item);
        int program = edit::findProgram(db, item, provider, transponder);
        if (program < 0) {
            if (db.programCount() >= MAX_PROGRAMS) {
                db.notify("Program table is full. Can't add program!");
                return DB_TABLE_FULL;
            }
            program = addDroppedProgram(db, item, provider, transponder);
        }
        const int listCount = db.favCount(l);
        if (listCount >= FAV_ENTRIES || (position >= 0 && edit::findFavEntry(db, l, program) >= 0)) {
            item.placed = 0;
            continue;
        }
        const int at = position >= 0 ? p++ : item.isTv ? std::min(db.favTvCount(l), listCount) : listCount;
        edit::insertFavEntryAt(db, l, at, program);
        db.setFavCount(l, listCount + 1);
        if (item.isTv) db.setFavTvCount(l, db.favTvCount(l) + 1);
        item.placed = 1;
    }
    return 0;
}

} // namespace

int ChannelDatabase::moveFavouritesForDrop(int position, std::uint32_t scope)
{
    ProgramClipboard& d = dragList_;
    if (scope & SCOPE_RADIO) {
        const int tv = tvProgramCount();
        position += tv;
        for (ProgramInfo& item : d) item.programIndex += tv;
    }
    const int n = static_cast<int>(d.size());
    // (old row, place in the drag list), sorted: a binary search answers both "which item is this"
    // and "how many lifted rows lay below", instead of a walk over the drag list per entry.
    std::vector<std::pair<int, int>> lifted;
    lifted.reserve(d.size());
    for (int j = 0; j < n; ++j) lifted.emplace_back(d[static_cast<std::size_t>(j)].programIndex, j);
    std::sort(lifted.begin(), lifted.end());

    for (int l = 0; l < FAV_LISTS; ++l) {
        const int m = favInUse(l);
        for (int c = 0; c < m; ++c) {
            const int e = favEntry(l, c);
            const auto it = std::lower_bound(lifted.begin(), lifted.end(), std::make_pair(e, INT_MIN));
            int moved;
            if (it != lifted.end() && it->first == e) {
                moved = position + it->second;
            } else {
                moved = e - static_cast<int>(it - lifted.begin());
                if (moved >= position) moved += n;
            }
            setFavEntry(l, c, moved);
        }
    }
    return 0;
}

int ChannelDatabase::dropPrograms(int type, int list, int position, ProgramClipboard& items, std::uint32_t scope)
{
    if (type == DBT_PROGRAM) return dropIntoTable(*this, position, items, scope);
    if (type == DBT_FAVOURITE) return dropIntoList(*this, list, position, items, scope);
    return DB_NOT_FOUND;
}

} // namespace satorix
