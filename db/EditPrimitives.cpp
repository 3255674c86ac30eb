#include "EditPrimitives.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "Names.h"
#include "Records.h"

namespace satorix::edit {

void moveRecords(ChannelDatabase& db, std::size_t table, std::size_t recordSize, int from, int end, int by)
{
    if (end <= from || by == 0) return;
    std::uint8_t* base = db.image() + table;
    std::memmove(base + recordSize * static_cast<std::size_t>(from + by),
                 base + recordSize * static_cast<std::size_t>(from), recordSize * static_cast<std::size_t>(end - from));
}

void writeProgram(ChannelDatabase& db, int row, const RecordView& rec)
{
    ProgramRecord::fromView(rec).write(db.raw(), row, NameWrite::Padded);
}

namespace {
ProgramRecord programRecordOf(const ProgramInfo& item, int provider, int transponder)
{
    ProgramRecord r;
    r.serviceId = item.serviceId;
    r.provider = static_cast<std::uint16_t>(provider);
    r.transponder = static_cast<std::uint16_t>(transponder);
    r.videoPid = item.videoPid;
    r.audioPid = item.audioPid;
    r.pcrPid = item.pcrPid;
    r.flags = item.programFlags;
    r.name = item.name;
    return r;
}
} // namespace

void writeProgram(ChannelDatabase& db, int row, const ProgramInfo& item, int provider, int transponder)
{
    // The whole field travels, so a character-table byte and the bytes after the NUL stay as they were.
    programRecordOf(item, provider, transponder).write(db.raw(), row, NameWrite::Whole);
}

bool programMatches(const ChannelDatabase& db, int row, const ProgramInfo& item, int provider, int transponder)
{
    // The service id first: findProgram runs this over whole tables.
    if (db.raw().u16(DatabaseImage::programOffset(row) + layout::prog::SERVICE_ID) != item.serviceId) return false;
    const ProgramRecord r = ProgramRecord::read(db.raw(), row);
    return r.provider == provider && r.transponder == transponder && r.videoPid == item.videoPid &&
           r.audioPid == item.audioPid && r.pcrPid == item.pcrPid && r.flags == item.programFlags &&
           boundedName(r.name) == boundedName(item.name);
}

int findFavEntry(const ChannelDatabase& db, int l, int value)
{
    const int n = db.favInUse(l);
    for (int c = 0; c < n; ++c)
        if (db.favEntry(l, c) == value) return c;
    return DB_NOT_FOUND;
}

void removeFavEntryAt(ChannelDatabase& db, int l, int pos)
{
    const int n = db.favInUse(l);
    std::uint8_t* entries = db.image() + DatabaseImage::favEntryOffset(l, 0);
    std::memmove(entries + 2 * pos, entries + 2 * (pos + 1), static_cast<std::size_t>(2 * (n - pos - 1)));
}

void insertFavEntryAt(ChannelDatabase& db, int l, int pos, int value)
{
    const int n = db.favInUse(l);
    std::uint8_t* entries = db.image() + DatabaseImage::favEntryOffset(l, 0);
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

ReferenceLookup::TuningKey ReferenceLookup::key(int polarisation, int fec, int tsid, int nid, int onid, int frequency,
                                                int symbolRate)
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
        providerNames_.push_back(boundedName(db.raw().namePtr(DatabaseImage::providerOffset(i))));
        providers_.emplace_back(providerNames_.back(), i);
    }
    // Sorting by (key, index) keeps the first table match in front of its equals.
    std::sort(providers_.begin(), providers_.end());

    const int transponders = db.transpondersInUse();
    transponders_.reserve(static_cast<std::size_t>(transponders));
    for (int i = 0; i < transponders; ++i) {
        const TransponderRecord t = TransponderRecord::read(db.raw(), i);
        satelliteOf_.push_back(t.satelliteId);
        transponders_.emplace_back(key(t.polarisation, t.fec, t.tsid, t.nid, t.onid, t.frequency, t.symbolRate), i);
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
    const TuningKey k = key(item.polarisation, item.fec, item.transportStreamId, item.networkId, item.originalNetworkId,
                            item.frequency, item.symbolRate);
    const auto it = std::lower_bound(transponders_.begin(), transponders_.end(), std::make_pair(k, INT_MIN));
    return it != transponders_.end() && it->first == k ? it->second : item.transponderIndex;
}

int ReferenceLookup::findProvider(const ProgramInfo& item) const
{
    const std::string_view name = boundedName(item.providerName);
    if (item.providerIndex < providerNames_.size() && providerNames_[item.providerIndex] == name)
        return item.providerIndex;
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
    const TuningKey k = key(item.polarisation, item.fec, item.transportStreamId, item.networkId, item.originalNetworkId,
                            item.frequency, item.symbolRate);
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
    return DB_NOT_FOUND;
}

} // namespace satorix::edit
