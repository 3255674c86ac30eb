// Every editing operation on a damaged database: a sequence of program, favourite, transponder,
// provider and satellite operations, copy, cut, paste, lift and drop, sorts, moves, duplicates and
// imports, decoded from the input and applied the way the views apply them. None may step outside
// the image or its own buffers.
//
// Input: the damage as fuzz::damage reads it, ended by a 0xFF tag, then operations: an opcode
// byte and its arguments (see apply).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "db/Duplicates.h"
#include "db/ProgramExchange.h"
#include "db/ProgramOrder.h"
#include "fuzz/FuzzInput.h"

using namespace satorix;

namespace {

constexpr int MAX_OPERATIONS = 48;
constexpr std::size_t MAX_ITEMS = 12;

// Indices near the interesting edges: small ones, the counters' neighbourhood, negatives, capacities.
int index(fuzz::Input& in) { return static_cast<std::int16_t>(in.u16()); }

std::uint32_t scope(fuzz::Input& in)
{
    const std::uint8_t b = in.byte();
    if (b == 0xFF) return in.u32();
    static constexpr std::uint32_t filters[] = {SCOPE_TV_RADIO, SCOPE_TV, SCOPE_RADIO, SCOPE_TV_RADIO};
    return filters[b & 3] | ((b & 4) ? SCOPE_PROGRAMS : scopeFav((b >> 3) % FAV_LISTS));
}

// A record: an existing one of that type, with some fields and the names replaced by the input.
struct Record {
    RecordView rec;
    std::array<std::array<char, NAME_LEN + 1>, 3> names{};

    Record(const ChannelDatabase& db, int type, fuzz::Input& in)
    {
        const int from = index(in);
        db.getRecord(type, from, rec);
        const std::uint8_t fields = in.byte();
        for (int k = 0; k < (fields & 15); ++k) {
            const std::uint8_t f = in.byte();
            rec.field[f % 16] = (f & 0x80) ? static_cast<std::int32_t>(in.u32()) : static_cast<std::int16_t>(in.u16());
        }
        for (int k = 0; k < ((fields >> 4) & 3); ++k) {
            const std::string text = in.text(NAME_LEN);
            std::memcpy(names[static_cast<std::size_t>(k)].data(), text.data(), text.size());
            rec.name[static_cast<std::size_t>(k)] = names[static_cast<std::size_t>(k)].data();
        }
    }
};

// What the list view copies or lifts: rows given as program indices, or list positions.
std::vector<int> rows(fuzz::Input& in)
{
    std::vector<int> out(1 + in.byte() % MAX_ITEMS);
    for (int& r : out) r = index(in);
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

void fillClipboard(ChannelDatabase& db, const std::vector<int>& programs, bool cut)
{
    ProgramClipboard& items = db.clipboard();
    items.clear();
    for (int p : programs) {
        ProgramInfo& item = items.emplace_back();
        item.programIndex = p;
        db.getProgramInfoRaw(p, item);
        if (cut) item.programIndex = -1;
    }
}

void lift(ChannelDatabase& db, std::uint32_t s, const std::vector<int>& rs)
{
    const bool table = s & SCOPE_PROGRAMS;
    ProgramClipboard& items = db.dragList();
    items.clear();
    db.setDragInProgress(true);
    for (int r : rs) {
        ProgramInfo& item = items.emplace_back();
        if ((table ? db.getProgramInfo(0, r, item) : db.getProgramInfo(s, r, item)) < 0) {
            items.clear();
            return;
        }
        item.programIndex = r;
    }
    RecordView rec;
    rec.field[0] = scopeFavList(s);
    rec.field[1] = (s & SCOPE_RADIO) ? 1 : 0;
    for (auto it = rs.rbegin(); it != rs.rend(); ++it)
        db.recordOp(DBT_PROGRAM, table ? OP_DELETE : OP_REMOVE_ENTRY, *it, rec);
}

void drop(ChannelDatabase& db, std::uint32_t s, int position)
{
    if (s & SCOPE_PROGRAMS) {
        db.moveFavouritesForDrop(position, s);
        const int at = (s & SCOPE_RADIO) ? db.tvProgramCount() + position : position;
        db.dropPrograms(DBT_PROGRAM, -1, at, db.dragList(), s);
    } else {
        db.dropPrograms(DBT_FAVOURITE, scopeFavList(s), position, db.dragList(), s);
    }
    db.setDragInProgress(false);
    db.dragList().clear();
}

void apply(ChannelDatabase& db, fuzz::Input& in)
{
    static constexpr int ops[] = {OP_EDIT, OP_DELETE, OP_ADD, OP_REMOVE_ENTRY};
    const std::uint8_t code = in.byte();
    const int op = ops[(code >> 4) & 3];
    switch (code % 16) {
    case 0: {
        db.setPendingInsertKind(static_cast<int>((code >> 6) % 3) - 1);
        const int i = index(in);
        db.recordOp(DBT_PROGRAM, op, i, Record(db, DBT_PROGRAM, in).rec);
        break;
    }
    case 1:
    case 2:
    case 3:
    case 4:
    case 5: {
        // 4 edits a satellite the way its dialog does, 5 through recordOp.
        static constexpr int types[] = {DBT_FAVOURITE, DBT_TRANSPONDER, DBT_PROVIDER, DBT_SATELLITE, DBT_SATELLITE};
        const int type = types[code % 16 - 1];
        const int i = index(in);
        Record r(db, type, in);
        if (code % 16 == 4)
            db.setSatellite(i, r.rec);
        else
            db.recordOp(type, op, i, r.rec);
        break;
    }
    case 6: {
        const int p = index(in);
        std::uint32_t mask = in.u16();
        if (code & 0x10) db.favouriteMask(p, mask);
        const std::uint32_t s = scope(in);
        db.deleteProgram(p, mask, s, in.text(NAME_LEN + 2));
        break;
    }
    case 7: db.removeFromAllFavourites(index(in)); break;
    case 8: {
        const int p = index(in);
        ProgramInfo info;
        db.getProgramInfoRaw(index(in), info);
        for (int k = in.byte() % 4; k > 0; --k) {
            const std::uint8_t l = in.byte() % FAV_LISTS;
            info.favMember[l].set(in.u16() % FAV_ENTRIES);
            info.favPosition[l] = index(in);
        }
        db.addToFavourites(p, info);
        break;
    }
    case 9: fillClipboard(db, rows(in), false); break;
    case 10: {
        // A cut from the table: the clipboard holds the only copy of what it deletes.
        const std::vector<int> rs = rows(in);
        const std::uint32_t s = scope(in);
        fillClipboard(db, rs, true);
        for (auto it = rs.rbegin(); it != rs.rend(); ++it) {
            std::uint32_t mask = 0;
            db.favouriteMask(*it, mask);
            db.deleteProgram(*it, mask, s, "");
        }
        break;
    }
    case 11: {
        int position = index(in);
        const std::uint32_t s = scope(in);
        if ((code & 0x10) || db.checkPastePosition(position, s)) db.pasteClipboard(position, s);
        break;
    }
    case 12:
    case 13: {
        const std::uint32_t s = scope(in);
        if (code % 16 == 12)
            lift(db, s, rows(in));
        else
            drop(db, s, index(in));
        break;
    }
    case 14: {
        // The editor's own tools: sorts, moves, duplicates, bulk deletes and a spreadsheet import.
        const std::uint8_t arg = in.byte();
        const int l = arg % FAV_LISTS;
        switch ((code >> 4) & 7) {
        case 0: db.purgeUnusedProviders(); break;
        case 1: sortPrograms(db, rows(in), static_cast<SortKey>(arg % 4)); break;
        case 2: sortFavourite(db, l, rows(in), static_cast<SortKey>(arg % 4)); break;
        case 3: movePrograms(db, rows(in), static_cast<Move>(arg % 4)); break;
        case 4: moveFavourites(db, l, rows(in), static_cast<Move>(arg % 4)); break;
        case 5: removeDuplicates(db, findDuplicates(db)); break;
        case 6: removePrograms(db, rows(in), {{index(in), index(in)}}); break;
        default: applyChanges(db, planImport(db, in.text(256), {(arg & 1) != 0, NameTable::Latin1}).changes); break;
        }
        break;
    }
    default: {
        const int from = index(in);
        db.shiftClipboardIndices(from, static_cast<std::int8_t>(in.byte()));
        break;
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // One database for all runs: a fresh one each run costs the kernel more than the run itself.
    static auto db = std::make_unique<ChannelDatabase>();
    std::memcpy(db->image(), fuzz::sampleImage().data(), IMAGE_SIZE);
    db->setLoaded(true);
    db->clipboard().clear();
    db->dragList().clear();
    db->setDragInProgress(false);
    db->setPendingInsertKind(-1);
    fuzz::Input in(data, size);
    std::vector<fuzz::Span> spans;
    fuzz::damage(db->image(), in, spans);
    for (int n = 0; n < MAX_OPERATIONS && !in.empty(); ++n) apply(*db, in);
    return 0;
}
