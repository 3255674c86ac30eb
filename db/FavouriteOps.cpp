// Favourite list operations: rename, take a program out, put it in, and restoring a cut program's memberships.
#include <algorithm>

#include "ChannelDatabase.h"
#include "EditPrimitives.h"
#include "Names.h"

namespace satorix {
namespace edit {
namespace {

bool validList(int list) { return list >= 0 && list < FAV_LISTS; }

int takeOut(ChannelDatabase& db, int list, int program)
{
    if (!validList(list)) return DB_OUT_OF_RANGE;
    const Removed r = removeFavValue(db, list, program, false);
    if (r.total == 0) return 0;
    db.setFavCount(list, db.favCount(list) - r.total);
    // The program's kind, not the entry's place, says which counter shrinks; a sound list agrees.
    if (program < db.tvProgramCount()) db.setFavTvCount(list, std::max(0, db.favTvCount(list) - r.total));
    return 0;
}

int putIn(ChannelDatabase& db, int list, int program)
{
    if (!validList(list)) return DB_OUT_OF_RANGE;
    const int count = db.favCount(list);
    // The dialog's add stops at 399 entries; the 400th slot is only reached by drops and restores.
    if (count + 1 >= FAV_ENTRIES) return DB_FAV_NO_ROOM;
    if (findFavEntry(db, list, program) >= 0) return 0;
    if (program < db.tvProgramCount()) {
        const int tvCount = db.favTvCount(list);
        insertFavEntryAt(db, list, std::min(tvCount, count), program);
        db.setFavTvCount(list, tvCount + 1);
    } else {
        insertFavEntryAt(db, list, count, program);
    }
    db.setFavCount(list, count + 1);
    return 0;
}

} // namespace

int favouriteOp(ChannelDatabase& db, int op, int list, const RecordView& rec)
{
    switch (op) {
    case OP_EDIT:
        if (!validList(list)) return DB_BEYOND_CAPACITY;
        copyName(db.raw().namePtr(DatabaseImage::favOffset(list) + layout::fav::NAME), rec.name[0]);
        return 0;
    case OP_DELETE: return takeOut(db, list, rec.field[favf::ENTRY]);
    case OP_ADD: return putIn(db, list, rec.field[favf::ENTRY]);
    default: return DB_NOT_FOUND;
    }
}

} // namespace edit

int ChannelDatabase::listInMask(int list, std::uint32_t mask)
{
    if (list < 0 || list >= FAV_LISTS) return 0;
    return (mask & scopeFav(list)) ? 1 : 0;
}

void ChannelDatabase::removeFromAllFavourites(int programIndex)
{
    for (int l = 0; l < FAV_LISTS; ++l) {
        const edit::Removed r = edit::removeFavValue(*this, l, programIndex, true);
        if (r.total == 0) continue;
        setFavCount(l, favCount(l) - r.total);
        setFavTvCount(l, favTvCount(l) - r.inTvPart);
    }
}

int ChannelDatabase::addToFavourites(int programIndex, const ProgramInfo& info)
{
    for (int l = 0; l < FAV_LISTS; ++l) {
        const auto& member = info.favMember[static_cast<std::size_t>(l)];
        if (member.none()) continue;
        for (std::size_t c = 0; c < member.size(); ++c) {
            if (!member[c]) continue;
            const int count = favCount(l);
            if (count >= FAV_ENTRIES) break;
            const int tvCount = std::min(favTvCount(l), count);
            int pos = info.favPosition[static_cast<std::size_t>(l)];
            // Its old place may since have moved to the other kind's part of the list: keep the kinds apart.
            pos = info.isTv ? std::clamp(pos, 0, tvCount) : std::clamp(pos, tvCount, count);
            edit::insertFavEntryAt(*this, l, pos, programIndex);
            setFavCount(l, count + 1);
            if (info.isTv) setFavTvCount(l, favTvCount(l) + 1);
        }
    }
    return 1;
}

} // namespace satorix
