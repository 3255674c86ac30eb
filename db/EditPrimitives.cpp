#include "EditPrimitives.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "Names.h"

namespace satorix::edit {

void moveRecords(ChannelDatabase& db, std::size_t table, std::size_t recordSize, int from, int end, int by)
{
    if (end <= from || by == 0) return;
    std::uint8_t* base = db.image() + table;
    std::memmove(base + recordSize * static_cast<std::size_t>(from + by),
                 base + recordSize * static_cast<std::size_t>(from),
                 recordSize * static_cast<std::size_t>(end - from));
}

void writeProgram(ChannelDatabase& db, int row, const RecordView& rec)
{
    const std::size_t o = ChannelDatabase::programOffset(row);
    namespace p = layout::prog;
    const auto low16 = [&](int field) { return static_cast<std::uint16_t>(rec.field[static_cast<std::size_t>(field)]); };
    db.setU16(o + p::SERVICE_ID, low16(0));
    db.setU16(o + p::PROVIDER, low16(1));
    db.setU16(o + p::TRANSPONDER, low16(2));
    db.setU16(o + p::VIDEO_PID, low16(3));
    db.setU16(o + p::AUDIO_PID, low16(4));
    db.setU16(o + p::PCR_PID, low16(5));
    db.setU16(o + p::FLAGS, low16(6));
    copyName(db.namePtr(o + p::NAME), rec.name[0]);
}

void writeProgram(ChannelDatabase& db, int row, const ProgramInfo& item, int provider, int transponder)
{
    const std::size_t o = ChannelDatabase::programOffset(row);
    namespace p = layout::prog;
    db.setU16(o + p::SERVICE_ID, item.serviceId);
    db.setU16(o + p::PROVIDER, static_cast<std::uint16_t>(provider));
    db.setU16(o + p::TRANSPONDER, static_cast<std::uint16_t>(transponder));
    db.setU16(o + p::VIDEO_PID, item.videoPid);
    db.setU16(o + p::AUDIO_PID, item.audioPid);
    db.setU16(o + p::PCR_PID, item.pcrPid);
    db.setU16(o + p::FLAGS, item.programFlags);
    // The whole field travels, so a character-table byte and the bytes after the NUL stay as they were.
    std::memcpy(db.namePtr(o + p::NAME), item.name, NAME_LEN);
}

bool programMatches(const ChannelDatabase& db, int row, const ProgramInfo& item, int provider, int transponder)
{
    const std::size_t o = ChannelDatabase::programOffset(row);
    namespace p = layout::prog;
    return db.u16(o + p::SERVICE_ID) == item.serviceId && db.u16(o + p::PROVIDER) == provider &&
           db.u16(o + p::TRANSPONDER) == transponder && db.u16(o + p::VIDEO_PID) == item.videoPid &&
           db.u16(o + p::AUDIO_PID) == item.audioPid && db.u16(o + p::PCR_PID) == item.pcrPid &&
           db.u16(o + p::FLAGS) == item.programFlags &&
           boundedName(db.namePtr(o + p::NAME)) == boundedName(item.name);
}

int findFavEntry(const ChannelDatabase& db, int l, int value)
{
    const int n = db.favInUse(l);
    for (int c = 0; c < n; ++c)
        if (db.favEntry(l, c) == value) return c;
    return -1;
}

void removeFavEntryAt(ChannelDatabase& db, int l, int pos)
{
    const int n = db.favInUse(l);
    std::uint8_t* entries = db.image() + ChannelDatabase::favEntryOffset(l, 0);
    std::memmove(entries + 2 * pos, entries + 2 * (pos + 1), static_cast<std::size_t>(2 * (n - pos - 1)));
}

void insertFavEntryAt(ChannelDatabase& db, int l, int pos, int value)
{
    const int n = db.favInUse(l);
    std::uint8_t* entries = db.image() + ChannelDatabase::favEntryOffset(l, 0);
    std::memmove(entries + 2 * (pos + 1), entries + 2 * pos, static_cast<std::size_t>(2 * (n - pos)));
    db.setFavEntry(l, pos, value);
}

Removed removeFavValue(ChannelDatabase& db, int l, int value, bool renumber)
{
    Removed r;
    const int n = db.favInUse(l);
    if (n == 0) return r;
    const int tvCount = db.favTvCount(l);
    const int last = db.favEntry(l, n - 1);
    int out = 0;
    for (int c = 0; c < n; ++c) {
        int e = db.favEntry(l, c);
        if (e == value) {
            ++r.total;
            if (c < tvCount) ++r.inTvPart;
            continue;
        }
        if (renumber && e > value) --e;
        db.setFavEntry(l, out++, e);
    }
    // Removing one at a time leaves every freed slot holding what was then the last entry: the old last one.
    for (int c = out; c < n - 1; ++c) db.setFavEntry(l, c, last);
    return r;
}

void shiftFavEntries(ChannelDatabase& db, int from, int by)
{
    for (int l = 0; l < FAV_LISTS; ++l) {
        const int n = db.favInUse(l);
        for (int c = 0; c < n; ++c) {
            const int e = db.favEntry(l, c);
            if (e >= from) db.setFavEntry(l, c, e + by);
        }
    }
}

ReferenceLookup::TuningKey ReferenceLookup::key(int polarisation, int fec, int tsid, int nid, int onid,
                                                int frequency, int symbolRate)
{
    const auto u = [](int v) { return static_cast<std::uint64_t>(static_cast<std::uint32_t>(v)); };
    return {u(polarisation) << 56 | u(fec) << 48 | u(tsid) << 32 | u(nid) << 16 | u(onid),
            static_cast<std::uint32_t>(u(frequency) << 16 | u(symbolRate))};
}

ReferenceLookup::ReferenceLookup(const ChannelDatabase& db)
{
    const int providers = db.providersInUse();
    providers_.reserve(static_cast<std::size_t>(providers));
    for (int i = 0; i < providers; ++i) {
        providerNames_.push_back(boundedName(db.namePtr(ChannelDatabase::providerOffset(i))));
        providers_.emplace_back(providerNames_.back(), i);
    }
    // Sorting by (key, index) keeps the first table match in front of its equals.
    std::sort(providers_.begin(), providers_.end());

    const int transponders = db.transpondersInUse();
    transponders_.reserve(static_cast<std::size_t>(transponders));
    namespace t = layout::tp;
    for (int i = 0; i < transponders; ++i) {
        const std::size_t o = ChannelDatabase::transponderOffset(i);
        satelliteOf_.push_back(static_cast<std::uint8_t>(db.u16(o + t::SAT_ID)));
        transponders_.emplace_back(key(db.u8(o + t::POLARISATION), db.u8(o + t::FEC), db.u16(o + t::TSID),
                                       db.u16(o + t::NID), db.u16(o + t::ONID), db.u16(o + t::FREQUENCY),
                                       db.u16(o + t::SYMBOL_RATE)),
                                   i);
    }
    std::sort(transponders_.begin(), transponders_.end());
}

int ReferenceLookup::provider(const ProgramInfo& item) const
{
    const std::string_view name = boundedName(item.providerName);
    const auto it = std::lower_bound(providers_.begin(), providers_.end(), std::make_pair(name, INT_MIN));
    return it != providers_.end() && it->first == name ? it->second : item.providerIndex;
}

int ReferenceLookup::transponder(const ProgramInfo& item) const
{
    const TuningKey k = key(item.polarisation, item.fec, item.transportStreamId, item.networkId,
                            item.originalNetworkId, item.frequency, item.symbolRate);
    const auto it = std::lower_bound(transponders_.begin(), transponders_.end(), std::make_pair(k, INT_MIN));
    return it != transponders_.end() && it->first == k ? it->second : item.transponderIndex;
}

int ReferenceLookup::findProvider(const ProgramInfo& item) const
{
    const std::string_view name = boundedName(item.providerName);
    if (item.providerIndex < providerNames_.size() && providerNames_[item.providerIndex] == name) return item.providerIndex;
    const auto it = std::lower_bound(providers_.begin(), providers_.end(), std::make_pair(name, INT_MIN));
    return it != providers_.end() && it->first == name ? it->second : -1;
}

void ReferenceLookup::addProvider(std::string_view name, int index)
{
    if (index == static_cast<int>(providerNames_.size())) providerNames_.push_back(name);
    providers_.insert(std::lower_bound(providers_.begin(), providers_.end(), std::make_pair(name, index)),
                      std::make_pair(name, index));
}

int ReferenceLookup::findTransponder(const ProgramInfo& item) const
{
    const TuningKey k = key(item.polarisation, item.fec, item.transportStreamId, item.networkId,
                            item.originalNetworkId, item.frequency, item.symbolRate);
    const std::size_t own = item.transponderIndex;
    const bool ownOnSatellite = own < satelliteOf_.size() && satelliteOf_[own] == item.satelliteId;
    auto it = std::lower_bound(transponders_.begin(), transponders_.end(), std::make_pair(k, INT_MIN));
    int sameSatellite = -1, anySatellite = -1;
    for (; it != transponders_.end() && it->first == k; ++it) {
        const auto t = static_cast<std::size_t>(it->second);
        if (t == own && ownOnSatellite) return it->second;
        if (sameSatellite < 0 && satelliteOf_[t] == item.satelliteId) sameSatellite = it->second;
        if (anySatellite < 0) anySatellite = it->second;
    }
    if (sameSatellite >= 0) return sameSatellite;
    if (anySatellite >= 0) return anySatellite;
    return ownOnSatellite ? static_cast<int>(own) : -1;
}

int findProgram(const ChannelDatabase& db, const ProgramInfo& item, int provider, int transponder)
{
    const int count = db.programsInUse();
    const int tv = std::min(db.tvProgramCount(), count);
    const int from = item.isTv ? 0 : tv;
    const int to = item.isTv ? tv : count;
    const int hint = item.programIndex;
    if (hint >= from && hint < to && programMatches(db, hint, item, provider, transponder)) return hint;
    for (int i = from; i < to; ++i)
        if (programMatches(db, i, item, provider, transponder)) return i;
    return -1;
}

} // namespace satorix::edit
