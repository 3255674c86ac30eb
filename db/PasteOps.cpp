// Pasting the program clipboard into the program table or into a favourite list.
#include <algorithm>
#include <vector>

#include "ChannelDatabase.h"
#include "EditPrimitives.h"
#include "Names.h"

namespace satorix {
namespace {

constexpr int PASTE_LIST_LIMIT = 200;

// Records may have moved, been renamed or gone since the copy: each item is looked up again in the
// database as it is now, never trusted by its old indices.
class ItemResolver {
public:
    explicit ItemResolver(ChannelDatabase& db) : db_(db), refs_(db) {}

    // The item's provider and transponder; false when the transponder is gone or the provider can
    // no longer be added. A provider removed since the copy comes back by its name.
    bool resolve(const ProgramInfo& item, int& provider, int& transponder)
    {
        transponder = refs_.findTransponder(item);
        if (transponder < 0) return false;
        provider = refs_.findProvider(item);
        if (provider >= 0) return true;
        RecordView rec;
        rec.name[0] = item.providerName;
        const int index = db_.providerCount();
        if (edit::providerOp(db_, OP_ADD, index, rec) != 0) return false;
        refs_.addProvider(boundedName(db_.raw().namePtr(DatabaseImage::providerOffset(index))), index);
        provider = index;
        return true;
    }

private:
    ChannelDatabase& db_;
    edit::ReferenceLookup refs_;
};

// Where the next TV and the next radio item go, so that each kind stays in its own part.
struct InsertPoints {
    int tv;
    int radio;
    int take(bool isTv)
    {
        ++radio;
        return isTv ? tv++ : radio - 1;
    }
};

void tellUnplaced(ChannelDatabase& db, int unplaced)
{
    if (unplaced > 0) db.notify("Some programs were not pasted: their transponder no longer exists.");
}

int pasteIntoTable(ChannelDatabase& db, int position)
{
    ProgramClipboard& items = db.clipboard();
    const int count = db.programCount();
    if (count + static_cast<int>(items.size()) > MAX_PROGRAMS) return DB_NOT_FOUND;
    if (position < 0 || position > count) return DB_NOT_FOUND;

    ItemResolver resolver(db);
    std::vector<std::pair<int, int>> refs(items.size(), {-1, -1});
    int n = 0;
    for (std::size_t k = 0; k < items.size(); ++k) {
        items[k].placed = resolver.resolve(items[k], refs[k].first, refs[k].second) ? 1 : 0;
        n += static_cast<int>(items[k].placed);
    }
    edit::movePrograms(db, position, count, n);
    // Renumbering before each item moves every older entry at or above the paste row once per
    // item: n in all. Entries restored for earlier items stay below the later rows.
    edit::shiftFavEntries(db, position, n);
    const int tv = std::min(db.tvProgramCount(), count);
    InsertPoints at{std::min(position, tv), std::max(position, tv)};
    int tvItems = 0;
    std::vector<int> rows(items.size(), -1);
    for (std::size_t k = 0; k < items.size(); ++k) {
        ProgramInfo& item = items[k];
        if (!item.placed) continue;
        rows[k] = at.take(item.isTv != 0);
        if (item.isTv) ++tvItems;
    }
    for (std::size_t k = 0; k < items.size(); ++k) {
        ProgramInfo& item = items[k];
        if (!item.placed) continue;
        edit::writeProgram(db, rows[k], item, refs[k].first, refs[k].second);
    }
    db.setProgramCount(count + n);
    db.setTvProgramCount(db.tvProgramCount() + tvItems);
    for (std::size_t k = 0; k < items.size(); ++k) {
        ProgramInfo& item = items[k];
        if (!item.placed) continue;
        if (item.programIndex < 0) {
            // A cut program goes back into the lists it was taken from.
            db.addToFavourites(rows[k], item);
            item.programIndex = rows[k];
        } else if (item.programIndex >= position) {
            item.programIndex += n; // only a hint: a list paste checks it against the program's fields
        }
    }
    tellUnplaced(db, static_cast<int>(items.size()) - n);
    return 0;
}

// Puts a cut program back at the end of its kind's part of the table; -1 when the table is full.
int restoreProgram(ChannelDatabase& db, ProgramInfo& item, int provider, int transponder)
{
    const int count = db.programCount();
    if (count >= MAX_PROGRAMS) return DB_NOT_FOUND;
    const int tv = std::min(db.tvProgramCount(), count);
    const int row = item.isTv ? tv : count;
    edit::movePrograms(db, row, count, 1);
    edit::writeProgram(db, row, item, provider, transponder);
    db.setProgramCount(count + 1);
    if (item.isTv) db.setTvProgramCount(tv + 1);
    edit::shiftFavEntries(db, row, 1);
    db.shiftClipboardIndices(row, 1); // items already placed by this paste moved too
    item.programIndex = row;
    return row;
}

int pasteIntoList(ChannelDatabase& db, int l, int& position)
{
    ProgramClipboard& items = db.clipboard();
    const int n = static_cast<int>(items.size());
    if (db.favCount(l) + n > PASTE_LIST_LIMIT) return DB_NOT_FOUND;
    if (db.favCount(l) == 0 && position == -1) position = 0;
    if (position < 0 || position > db.favCount(l)) return DB_NOT_FOUND;

    // Items that cannot be placed are skipped; the next one takes their place so that the
    // pasted block stays together and on its side of the TV/radio boundary.
    const int tvCount = std::min(db.favTvCount(l), db.favInUse(l));
    InsertPoints at{std::min(position, tvCount), std::max(position, tvCount)};
    ItemResolver resolver(db);
    bool toldFull = false;
    int gone = 0;
    for (ProgramInfo& item : items) {
        item.placed = 0;
        int provider = -1, transponder = -1;
        if (!resolver.resolve(item, provider, transponder)) {
            ++gone;
            continue;
        }
        int program = -1;
        if (item.programIndex < 0) {
            program = restoreProgram(db, item, provider, transponder);
            if (program < 0) {
                // The program stays cut in the clipboard and can be pasted once there is room.
                if (!toldFull) db.notify("Program table is full. Cut programs stay in clipboard.");
                toldFull = true;
                continue;
            }
        } else {
            // A copied program that no longer exists is never replaced by whatever took its row.
            program = edit::findProgram(db, item, provider, transponder);
            if (program < 0 || edit::findFavEntry(db, l, program) >= 0) continue;
            item.programIndex = program;
        }
        if (db.favInUse(l) >= FAV_ENTRIES) continue;
        edit::insertFavEntryAt(db, l, at.take(item.isTv != 0), program);
        db.setFavCount(l, db.favCount(l) + 1);
        if (item.isTv) db.setFavTvCount(l, db.favTvCount(l) + 1);
        item.placed = 1;
    }
    tellUnplaced(db, gone);
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
