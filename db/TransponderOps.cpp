// Transponder and provider records, and writing satellites.
#include <bitset>
#include <cstring>

#include "ChannelDatabase.h"
#include "EditPrimitives.h"
#include "Names.h"
#include "Records.h"

namespace satorix {
namespace edit {
namespace {

int satelliteIdAt(const ChannelDatabase& db, int i)
{
    return db.raw().u8(DatabaseImage::transponderOffset(i) + layout::tp::SAT_ID);
}
int frequencyAt(const ChannelDatabase& db, int i)
{
    return db.raw().u16(DatabaseImage::transponderOffset(i) + layout::tp::FREQUENCY);
}

void addToTally(ChannelDatabase& db, int satelliteId, int by)
{
    const int s = db.findSatellite(satelliteId);
    if (s < 0) return;
    const std::size_t o = DatabaseImage::satelliteOffset(s) + layout::sat::TALLY;
    db.raw().setU16(o, static_cast<std::uint16_t>(db.raw().u16(o) + by));
}

// Programs name transponders by index: every index at or above `from` moves by `by`.
void shiftTransponderIndices(ChannelDatabase& db, int from, int by)
{
    const int n = db.programsInUse();
    for (int i = 0; i < n; ++i) {
        const std::size_t o = DatabaseImage::programOffset(i) + layout::prog::TRANSPONDER;
        const int t = db.raw().u16(o);
        if (t >= from) db.raw().setU16(o, static_cast<std::uint16_t>(t + by));
    }
}

int checkTransponderIndex(const ChannelDatabase& db, int index)
{
    if (static_cast<unsigned>(index) >= static_cast<unsigned>(MAX_TRANSPONDERS)) return DB_BEYOND_CAPACITY;
    if (index >= db.transponderCount()) return DB_BEYOND_COUNTER;
    return 0;
}

int addTransponder(ChannelDatabase& db, const RecordView& rec)
{
    const int count = db.transponderCount();
    if (count >= MAX_TRANSPONDERS) {
        db.notify("Not enought free space in transponder table.");
        return DB_NOT_FOUND;
    }
    const TransponderRecord tp = TransponderRecord::fromView(rec);
    int start = 0;
    while (start < count && satelliteIdAt(db, start) != tp.satelliteId) ++start;
    for (int i = start; i < count; ++i)
        // The id first: most rows belong to other satellites and need no full read.
        if (satelliteIdAt(db, i) == tp.satelliteId && TransponderRecord::read(db.raw(), i) == tp) {
            db.notify("Transponder with entered values exist");
            return DB_TRANSPONDER_EXISTS;
        }
    // Within the satellite's group by frequency; equal frequencies keep their order of arrival.
    int pos = start;
    while (pos < count && satelliteIdAt(db, pos) == tp.satelliteId && frequencyAt(db, pos) <= tp.frequency) ++pos;
    moveRecords(db, layout::TRANSPONDERS, layout::TRANSPONDER_SIZE, pos, count, 1);
    shiftTransponderIndices(db, pos, 1);
    db.setTransponderCount(count + 1);
    addToTally(db, tp.satelliteId, 1);
    tp.write(db.raw(), pos);
    return 0;
}

int deleteTransponder(ChannelDatabase& db, int index)
{
    if (const int r = checkTransponderIndex(db, index)) return r;
    const int programs = db.programsInUse();
    for (int i = 0; i < programs; ++i)
        if (db.raw().u16(DatabaseImage::programOffset(i) + layout::prog::TRANSPONDER) == index)
            return DB_TRANSPONDER_IN_USE;
    const int satelliteId = satelliteIdAt(db, index);
    moveRecords(db, layout::TRANSPONDERS, layout::TRANSPONDER_SIZE, index + 1, db.transpondersInUse(), -1);
    db.setTransponderCount(db.transponderCount() - 1);
    addToTally(db, satelliteId, -1);
    shiftTransponderIndices(db, index + 1, -1);
    return 0;
}

} // namespace

int transponderOp(ChannelDatabase& db, int op, int index, const RecordView& rec)
{
    switch (op) {
    case OP_EDIT:
        if (const int r = checkTransponderIndex(db, index)) return r;
        TransponderRecord::fromView(rec).write(db.raw(), index);
        return 0;
    case OP_DELETE: return deleteTransponder(db, index);
    case OP_ADD: return addTransponder(db, rec);
    default: return DB_NOT_FOUND;
    }
}

int providerOp(ChannelDatabase& db, int op, int index, const RecordView& rec)
{
    if (op != OP_EDIT && op != OP_ADD) return DB_NOT_FOUND;
    if (static_cast<unsigned>(index) >= static_cast<unsigned>(MAX_PROVIDERS)) return DB_BEYOND_CAPACITY;
    const int count = db.providerCount();
    if (op == OP_EDIT) {
        if (index >= count) return DB_BEYOND_COUNTER;
        copyName(db.raw().namePtr(DatabaseImage::providerOffset(index)), rec.name[0]);
        return 0;
    }
    if (index > count) return DB_BEYOND_COUNTER;
    if (count >= MAX_PROVIDERS) {
        db.notify("Provider table is full.");
        return DB_TABLE_FULL;
    }
    // Programs keep their provider indices: callers append, so nothing above moves in practice.
    moveRecords(db, layout::PROVIDERS, layout::PROVIDER_SIZE, index, count, 1);
    db.setProviderCount(count + 1);
    copyName(db.raw().namePtr(DatabaseImage::providerOffset(index)), rec.name[0]);
    return 0;
}

} // namespace edit

int ChannelDatabase::setSatellite(int index, const RecordView& rec)
{
    if (static_cast<unsigned>(index) >= static_cast<unsigned>(MAX_SATELLITES)) return DB_BEYOND_CAPACITY;
    if (index >= satelliteCount()) setSatelliteCount(satelliteCount() + 1);
    SatelliteRecord s = SatelliteRecord::fromView(rec);
    if (rec.field[satf::DISEQC12] == 1 && rec.field[satf::POSITIONER] == 0) {
        // Numbers from 29 up are ours to hand out; lower ones belong to the user. The slot's own
        // old number counts as used.
        std::bitset<256> used;
        const int n = satellitesInUse();
        for (int i = 0; i < n; ++i) {
            const int v = image_.u8(DatabaseImage::satelliteOffset(i) + layout::sat::POSITIONER);
            if (v > 28) used.set(static_cast<std::size_t>(v));
        }
        s.positioner = image_.u8(DatabaseImage::satelliteOffset(index) + layout::sat::POSITIONER);
        for (int v = 29; v <= 199; ++v)
            if (!used[static_cast<std::size_t>(v)]) {
                s.positioner = static_cast<std::uint8_t>(v);
                break;
            }
    }
    s.write(image_, index, NameWrite::Terminated);
    return 0;
}

} // namespace satorix
