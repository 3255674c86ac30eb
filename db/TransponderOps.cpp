// Transponder and provider records, and writing satellites.
#include <bitset>
#include <cstring>

#include "ChannelDatabase.h"
#include "EditPrimitives.h"
#include "Names.h"

namespace satorix {
namespace edit {
namespace {

// A transponder's eight fields as the record stores them (the ids and modes narrowed to their width).
struct TransponderFields {
    std::uint8_t satelliteId, polarisation, fec;
    std::uint16_t tsid, nid, onid, frequency, symbolRate;

    explicit TransponderFields(const RecordView& rec)
        : satelliteId(static_cast<std::uint8_t>(rec.field[0])), polarisation(static_cast<std::uint8_t>(rec.field[2])),
          fec(static_cast<std::uint8_t>(rec.field[3])), tsid(static_cast<std::uint16_t>(rec.field[4])),
          nid(static_cast<std::uint16_t>(rec.field[5])), onid(static_cast<std::uint16_t>(rec.field[6])),
          frequency(static_cast<std::uint16_t>(rec.field[7])), symbolRate(static_cast<std::uint16_t>(rec.field[8]))
    {
    }

    bool sameAs(const ChannelDatabase& db, int i) const
    {
        const std::size_t o = ChannelDatabase::transponderOffset(i);
        namespace t = layout::tp;
        return db.u8(o + t::SAT_ID) == satelliteId && db.u8(o + t::POLARISATION) == polarisation &&
               db.u8(o + t::FEC) == fec && db.u16(o + t::TSID) == tsid && db.u16(o + t::NID) == nid &&
               db.u16(o + t::ONID) == onid && db.u16(o + t::FREQUENCY) == frequency &&
               db.u16(o + t::SYMBOL_RATE) == symbolRate;
    }

    void writeTo(ChannelDatabase& db, int i) const
    {
        const std::size_t o = ChannelDatabase::transponderOffset(i);
        namespace t = layout::tp;
        db.setU8(o + t::SAT_ID, satelliteId);
        db.setU8(o + t::POLARISATION, polarisation);
        db.setU8(o + t::FEC, fec);
        db.setU16(o + t::TSID, tsid);
        db.setU16(o + t::NID, nid);
        db.setU16(o + t::ONID, onid);
        db.setU16(o + t::FREQUENCY, frequency);
        db.setU16(o + t::SYMBOL_RATE, symbolRate);
    }
};

int satelliteIdAt(const ChannelDatabase& db, int i)
{
    return db.u8(ChannelDatabase::transponderOffset(i) + layout::tp::SAT_ID);
}
int frequencyAt(const ChannelDatabase& db, int i)
{
    return db.u16(ChannelDatabase::transponderOffset(i) + layout::tp::FREQUENCY);
}

void addToTally(ChannelDatabase& db, int satelliteId, int by)
{
    const int s = db.findSatellite(satelliteId);
    if (s < 0) return;
    const std::size_t o = ChannelDatabase::satelliteOffset(s) + layout::sat::TALLY;
    db.setU16(o, static_cast<std::uint16_t>(db.u16(o) + by));
}

// Programs name transponders by index: every index at or above `from` moves by `by`.
void shiftTransponderIndices(ChannelDatabase& db, int from, int by)
{
    const int n = db.programsInUse();
    for (int i = 0; i < n; ++i) {
        const std::size_t o = ChannelDatabase::programOffset(i) + layout::prog::TRANSPONDER;
        const int t = db.u16(o);
        if (t >= from) db.setU16(o, static_cast<std::uint16_t>(t + by));
    }
}

int checkTransponderIndex(const ChannelDatabase& db, int index)
{
    if (static_cast<unsigned>(index) >= static_cast<unsigned>(MAX_TRANSPONDERS)) return -2;
    if (index >= db.transponderCount()) return -3;
    return 0;
}

int addTransponder(ChannelDatabase& db, const RecordView& rec)
{
    const int count = db.transponderCount();
    if (count >= MAX_TRANSPONDERS) {
        db.notify("Not enought free space in transponder table.");
        return -1;
    }
    const TransponderFields tp(rec);
    int start = 0;
    while (start < count && satelliteIdAt(db, start) != tp.satelliteId) ++start;
    for (int i = start; i < count; ++i)
        if (tp.sameAs(db, i)) {
            db.notify("Transponder with entered values exist");
            return -10;
        }
    // Within the satellite's group by frequency; equal frequencies keep their order of arrival.
    int pos = start;
    while (pos < count && satelliteIdAt(db, pos) == tp.satelliteId && frequencyAt(db, pos) <= tp.frequency) ++pos;
    moveRecords(db, layout::TRANSPONDERS, layout::TRANSPONDER_SIZE, pos, count, 1);
    shiftTransponderIndices(db, pos, 1);
    db.setTransponderCount(count + 1);
    addToTally(db, tp.satelliteId, 1);
    tp.writeTo(db, pos);
    return 0;
}

int deleteTransponder(ChannelDatabase& db, int index)
{
    if (const int r = checkTransponderIndex(db, index)) return r;
    const int programs = db.programsInUse();
    for (int i = 0; i < programs; ++i)
        if (db.u16(ChannelDatabase::programOffset(i) + layout::prog::TRANSPONDER) == index) return -8;
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
        TransponderFields(rec).writeTo(db, index);
        return 0;
    case OP_DELETE: return deleteTransponder(db, index);
    case OP_ADD: return addTransponder(db, rec);
    default: return -1;
    }
}

int providerOp(ChannelDatabase& db, int op, int index, const RecordView& rec)
{
    if (op != OP_EDIT && op != OP_ADD) return -1;
    if (static_cast<unsigned>(index) >= static_cast<unsigned>(MAX_PROVIDERS)) return -2;
    const int count = db.providerCount();
    if (op == OP_EDIT) {
        if (index >= count) return -3;
        copyName(db.namePtr(ChannelDatabase::providerOffset(index)), rec.name[0]);
        return 0;
    }
    if (index > count) return -3;
    if (count >= MAX_PROVIDERS) {
        db.notify("Provider table is full.");
        return -4;
    }
    // Programs keep their provider indices: callers append, so nothing above moves in practice.
    moveRecords(db, layout::PROVIDERS, layout::PROVIDER_SIZE, index, count, 1);
    db.setProviderCount(count + 1);
    copyName(db.namePtr(ChannelDatabase::providerOffset(index)), rec.name[0]);
    return 0;
}

} // namespace edit

int ChannelDatabase::setSatellite(int index, const RecordView& rec)
{
    if (static_cast<unsigned>(index) >= static_cast<unsigned>(MAX_SATELLITES)) return -2;
    if (index >= satelliteCount()) setSatelliteCount(satelliteCount() + 1);
    const std::size_t o = satelliteOffset(index);
    namespace s = layout::sat;
    const auto u8of = [&](int f) { return static_cast<std::uint8_t>(rec.field[static_cast<std::size_t>(f)]); };
    const auto u16of = [&](int f) { return static_cast<std::uint16_t>(rec.field[static_cast<std::size_t>(f)]); };
    setU16(o + s::ID, u16of(0));
    setU16(o + s::POSITION, u16of(1));
    setU16(o + s::TALLY, u16of(2));
    setU16(o + s::LNB_LOW, u16of(3));
    setU16(o + s::LNB_HIGH, u16of(4));
    setU8(o + s::DISEQC_MODE, u8of(5));
    setU8(o + s::TONE22K, u8of(6));
    setU8(o + s::DISEQC12, u8of(7));
    if (rec.field[7] == 1 && rec.field[8] == 0) {
        // Numbers from 29 up are ours to hand out; lower ones belong to the user.
        std::bitset<256> used;
        const int n = satellitesInUse();
        for (int i = 0; i < n; ++i) {
            const int v = u8(satelliteOffset(i) + s::POSITIONER);
            if (v > 28) used.set(static_cast<std::size_t>(v));
        }
        for (int v = 29; v <= 199; ++v)
            if (!used[static_cast<std::size_t>(v)]) {
                setU8(o + s::POSITIONER, static_cast<std::uint8_t>(v));
                break;
            }
    } else {
        setU8(o + s::POSITIONER, u8of(8));
    }
    setU8(o + s::RESERVED2, u8of(9));
    setU8(o + s::EAST_WEST, u8of(10));
    setU16(o + s::DISEQC11, u16of(11));
    // A plain string copy: the bytes behind the terminator stay; bounded so a long name cannot spill.
    const char* name = rec.name[0] ? rec.name[0] : "";
    const std::size_t len = strnlen(name, NAME_LEN);
    std::memcpy(namePtr(o + s::NAME), name, len);
    if (len < NAME_LEN) namePtr(o + s::NAME)[len] = '\0';
    return 0;
}

} // namespace satorix
