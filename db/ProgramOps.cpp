// Adding, editing and deleting programs; the record-operation dispatcher and the list view's Delete.
#include <algorithm>

#include "ChannelDatabase.h"
#include "EditPrimitives.h"

namespace satorix {
namespace edit {
namespace {

int checkProgramIndex(const ChannelDatabase& db, int index)
{
    // A negative index is as far out of range as a huge one.
    if (static_cast<unsigned>(index) >= static_cast<unsigned>(MAX_PROGRAMS)) return DB_BEYOND_CAPACITY;
    if (index >= db.programCount()) return DB_BEYOND_COUNTER;
    return 0;
}

int editProgram(ChannelDatabase& db, int index, const RecordView& rec)
{
    if (const int r = checkProgramIndex(db, index)) return r;
    writeProgram(db, index, rec);
    return 0;
}

int addProgram(ChannelDatabase& db, int index, const RecordView& rec)
{
    if (static_cast<unsigned>(index) >= static_cast<unsigned>(MAX_PROGRAMS)) return DB_BEYOND_CAPACITY;
    const int count = db.programCount();
    if (index > count) return DB_BEYOND_COUNTER;
    if (count >= MAX_PROGRAMS) {
        db.notify("Database is full.");
        return DB_TABLE_FULL;
    }
    movePrograms(db, index, count, 1);
    db.setProgramCount(count + 1);
    const int kind = db.pendingInsertKind();
    const bool kindGiven = kind == 0 || kind == 1;
    // Without a kind the program is being moved back into place: its row says what it is, and
    // the move renumbers the favourite lists itself.
    if (kindGiven ? kind == 0 : index < db.tvProgramCount()) db.setTvProgramCount(db.tvProgramCount() + 1);
    writeProgram(db, index, rec);
    if (kindGiven) shiftFavEntries(db, index, 1);
    db.setPendingInsertKind(-1);
    return 0;
}

int deleteProgramRecord(ChannelDatabase& db, int index)
{
    if (const int r = checkProgramIndex(db, index)) return r;
    movePrograms(db, index + 1, db.programsInUse(), -1);
    db.setProgramCount(db.programCount() - 1);
    if (index < db.tvProgramCount()) db.setTvProgramCount(db.tvProgramCount() - 1);
    if (db.dragInProgress()) return 0;
    db.removeFromAllFavourites(index);
    return 0;
}

// The list shown is not checked by the caller beyond "a row it shows"; rows outside the list change nothing.
int removeEntryByRow(ChannelDatabase& db, int row, const RecordView& rec)
{
    const int l = rec.field[entryf::LIST];
    if (l < 0 || l >= FAV_LISTS || row < 0) return 0;
    const bool radioPart = rec.field[entryf::RADIO_PART] == 1;
    const int tvCount = db.favTvCount(l);
    const int pos = radioPart ? tvCount + row : row;
    if (pos >= db.favInUse(l)) return 0;
    removeFavEntryAt(db, l, pos);
    db.setFavCount(l, db.favCount(l) - 1);
    if (!radioPart && row < tvCount) db.setFavTvCount(l, tvCount - 1);
    return 0;
}

} // namespace

int programOp(ChannelDatabase& db, int op, int index, const RecordView& rec)
{
    switch (op) {
    case OP_EDIT: return editProgram(db, index, rec);
    case OP_DELETE: return deleteProgramRecord(db, index);
    case OP_ADD: return addProgram(db, index, rec);
    case OP_REMOVE_ENTRY: return removeEntryByRow(db, index, rec);
    default: return DB_NOT_FOUND;
    }
}

} // namespace edit

int ChannelDatabase::recordOp(int type, int op, int index, const RecordView& rec)
{
    switch (type) {
    case DBT_PROGRAM: return edit::programOp(*this, op, index, rec);
    case DBT_FAVOURITE: return edit::favouriteOp(*this, op, index, rec);
    case DBT_TRANSPONDER: return edit::transponderOp(*this, op, index, rec);
    case DBT_PROVIDER: return edit::providerOp(*this, op, index, rec);
    case DBT_SATELLITE: return moveFavouritesForDrop(index, static_cast<std::uint32_t>(rec.field[dropf::SCOPE]));
    default: return DB_NOT_FOUND;
    }
}

int ChannelDatabase::deleteProgram(int p, std::uint32_t favMask, std::uint32_t scope, std::string_view selectedText)
{
    if (!(scope & SCOPE_PROGRAMS)) {
        const int l = scopeFavList(scope);
        if (l < 0) return 0;
        const int pos = edit::findFavEntry(*this, l, p);
        if (pos < 0) return DB_NOT_FOUND;
        const int tvCount = favTvCount(l);
        edit::removeFavEntryAt(*this, l, pos);
        setFavCount(l, favCount(l) - 1);
        if (pos < tvCount) setFavTvCount(l, tvCount - 1);
        return 0;
    }
    if (selectedText == "Favs") {
        // The favourites root lists programs by membership: Delete takes them out of the marked lists only.
        for (int l = 0; l < FAV_LISTS; ++l) {
            if (!listInMask(l, favMask)) continue;
            const edit::Removed r = edit::removeFavValue(*this, l, p, false);
            setFavCount(l, favCount(l) - r.total);
            setFavTvCount(l, favTvCount(l) - r.inTvPart);
        }
        return 0;
    }
    // p == programCount names no program; refusing it keeps the last program from being dropped.
    if (p < 0 || p >= programsInUse()) return DB_NOT_FOUND;
    edit::movePrograms(*this, p + 1, programsInUse(), -1);
    removeFromAllFavourites(p);
    setProgramCount(programCount() - 1);
    if (p < tvProgramCount()) setTvProgramCount(tvProgramCount() - 1);
    shiftClipboardIndices(p, -1);
    return 0;
}

} // namespace satorix
