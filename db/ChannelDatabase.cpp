#include "ChannelDatabase.h"

#include <array>
#include <bit>
#include <vector>

#include "ImageCrc.h"
#include "Names.h"
#include "Records.h"

namespace satorix {

ChannelDatabase::ChannelDatabase() = default;

std::uint8_t* ChannelDatabase::imageBase(std::uint32_t) { return image_.data(); }
const std::uint8_t* ChannelDatabase::imageBase(std::uint32_t) const { return image_.data(); }
std::size_t ChannelDatabase::imageSize(std::uint32_t) { return IMAGE_SIZE; }

void ChannelDatabase::notify(const std::string& text, MessageIcon icon) const
{
    if (notifier_) notifier_(text, icon);
}

void ChannelDatabase::assignImage(const std::uint8_t* data, std::size_t size)
{
    std::size_t n = std::min(size, IMAGE_SIZE);
    if (n) std::memcpy(image_.data(), data, n);
    std::memset(image_.data() + n, 0, IMAGE_SIZE - n);
}

int ChannelDatabase::getCount(int code, int& n) const
{
    switch (code) {
    case DBT_SATELLITE: n = satelliteCount(); return 0;
    case DBT_PROGRAM: n = programCount(); return 0;
    case DBT_TRANSPONDER: n = transponderCount(); return 0;
    case DBT_PROVIDER: n = providerCount(); return 0;
    case DBT_FAVOURITE: n = FAV_LISTS; return 0;
    case DBT_TV_PROGRAMS: n = tvProgramCount(); return 0;
    default: break;
    }
    if (code >= DBT_FAV_TV_BASE && code < DBT_FAV_TV_BASE + 2 * FAV_LISTS) {
        int l = (code - DBT_FAV_TV_BASE) / 2;
        n = ((code - DBT_FAV_TV_BASE) % 2 == 0) ? favTvCount(l) : favCount(l) - favTvCount(l);
        return 0;
    }
    return DB_NOT_FOUND;
}

int ChannelDatabase::getRecord(int type, int index, RecordView& rec) const
{
    // A negative index is as far out of range as a huge one.
    const unsigned ui = static_cast<unsigned>(index);
    switch (type) {
    case DBT_SATELLITE:
        if (ui >= MAX_SATELLITES) return DB_BEYOND_CAPACITY;
        if (index >= satelliteCount()) return DB_BEYOND_COUNTER;
        SatelliteRecord::read(image_, index).toView(rec);
        return DB_OK;
    case DBT_PROGRAM:
        if (ui >= MAX_PROGRAMS) return DB_BEYOND_CAPACITY;
        if (index >= programCount()) return DB_BEYOND_COUNTER;
        ProgramRecord::read(image_, index).toView(rec);
        return DB_OK;
    case DBT_TRANSPONDER:
        if (ui >= MAX_TRANSPONDERS) return DB_OUT_OF_RANGE;
        TransponderRecord::read(image_, index).toView(rec);
        return DB_OK;
    case DBT_PROVIDER:
        if (ui >= MAX_PROVIDERS) return DB_BEYOND_CAPACITY;
        if (index >= providerCount()) return DB_BEYOND_COUNTER;
        rec.name[0] = image_.namePtr(DatabaseImage::providerOffset(index));
        return 0;
    case DBT_FAVOURITE: {
        if (ui >= FAV_LISTS) return DB_BEYOND_CAPACITY;
        const int p = rec.field[favf::POSITION];
        if (p < 0 || p >= FAV_ENTRIES) return DB_OUT_OF_RANGE;
        if (p != 0 && p >= favCount(index)) return DB_BEYOND_COUNTER;
        rec.field[favf::ENTRY] = favEntry(index, p);
        rec.field[favf::COUNT] = favCount(index);
        rec.field[favf::TV_COUNT] = favTvCount(index);
        for (int k = 0; k < 3; ++k)
            rec.name[k] = index + k < FAV_LISTS
                              ? image_.namePtr(DatabaseImage::favOffset(index + k) + layout::fav::NAME)
                              : nullptr;
        return 0;
    }
    default: return DB_NOT_FOUND;
    }
}

void ChannelDatabase::fillTransponder(int t, ProgramInfo& info) const
{
    if (t < 0 || t >= MAX_TRANSPONDERS) return;
    const TransponderRecord r = TransponderRecord::read(image_, t);
    info.satelliteId = r.satelliteId;
    info.polarisation = r.polarisation;
    info.fec = r.fec;
    info.transportStreamId = r.tsid;
    info.networkId = r.nid;
    info.originalNetworkId = r.onid;
    info.frequency = r.frequency;
    info.symbolRate = r.symbolRate;
}

void ChannelDatabase::fillTransponderAndSatellite(int t, ProgramInfo& info, bool& found) const
{
    found = false;
    if (t < 0 || t >= MAX_TRANSPONDERS) return;
    const int s = findSatellite(TransponderRecord::read(image_, t).satelliteId);
    if (s < 0) return;
    found = true;
    const SatelliteRecord r = SatelliteRecord::read(image_, s);
    info.position = r.position;
    std::memcpy(info.satelliteName, r.name, NAME_LEN);
    info.transponderTally = r.tally;
    info.lnbLowLo = r.lnbLow;
    info.lnbHighLo = r.lnbHigh;
    info.diseqcMode = static_cast<std::uint8_t>(r.diseqcMode);
    info.tone22k = static_cast<std::uint8_t>(r.tone22k);
    info.diseqc12 = r.diseqc12;
    info.positionerNo = r.positioner;
    info.satReserved2 = r.reserved2;
    info.eastWest = static_cast<std::uint8_t>(r.eastWest);
    info.diseqc11Port = r.diseqc11;
    fillTransponder(t, info);
}

void ChannelDatabase::fillFavouriteMembership(int program, ProgramInfo& info, bool positions) const
{
    // Byte compares on the raw entries: this runs for every item of a clipboard or a drag.
    const auto lo = static_cast<std::uint8_t>(program), hi = static_cast<std::uint8_t>(program >> 8);
    for (int l = 0; l < FAV_LISTS; ++l) {
        const int n = favInUse(l);
        const std::uint8_t* e = &image_.data()[DatabaseImage::favEntryOffset(l, 0)];
        std::bitset<FAV_ENTRIES> found;
        for (int c = 0; c < n; ++c, e += 2) {
            if (e[0] == lo && e[1] == hi) {
                found.set(static_cast<std::size_t>(c));
                if (positions) info.favPosition[l] = c;
            }
        }
        // Flags past the list's count are left as they were.
        info.favMember[l] = (info.favMember[l] & (~std::bitset<FAV_ENTRIES>() << static_cast<std::size_t>(n))) | found;
    }
}

int ChannelDatabase::getProgramInfo(std::uint32_t scope, int index, ProgramInfo& info) const
{
    int program = index;
    const int list = scopeFavList(scope);
    if (list < 0) {
        if (index < 0 || index > programCount()) return DB_BEYOND_COUNTER;
    } else {
        const int pos = (scope & SCOPE_RADIO) ? favTvCount(list) + index : index;
        if (index < 0 || pos >= FAV_ENTRIES) return DB_BEYOND_COUNTER;
        program = favEntry(list, pos);
    }
    if (program >= MAX_PROGRAMS) return DB_BEYOND_COUNTER;

    info.isTv = program < tvProgramCount() ? 1 : 0;
    const ProgramRecord r = ProgramRecord::read(image_, program);
    info.serviceId = r.serviceId;
    if (r.provider < MAX_PROVIDERS)
        std::memcpy(info.providerName, image_.namePtr(DatabaseImage::providerOffset(r.provider)), NAME_LEN);
    else
        std::memset(info.providerName, 0, NAME_LEN);
    info.videoPid = r.videoPid;
    info.audioPid = r.audioPid;
    info.pcrPid = r.pcrPid;
    info.programFlags = r.flags;
    std::memcpy(info.name, r.name, NAME_LEN);

    bool found = false;
    fillTransponderAndSatellite(r.transponder, info, found);
    if (!found) return DB_BEYOND_CAPACITY;

    fillFavouriteMembership(program, info, false);
    return 0;
}

int ChannelDatabase::getProgramInfoRaw(int index, ProgramInfo& info) const
{
    if (index < 0 || index > programCount() || index >= MAX_PROGRAMS) return DB_NOT_FOUND;
    const ProgramRecord r = ProgramRecord::read(image_, index);
    info.serviceId = r.serviceId;
    info.providerIndex = r.provider;
    info.transponderIndex = r.transponder;
    info.videoPid = r.videoPid;
    info.audioPid = r.audioPid;
    info.pcrPid = r.pcrPid;
    info.programFlags = r.flags;
    std::memcpy(info.name, r.name, NAME_LEN);
    info.isTv = index < tvProgramCount() ? 1 : 0;
    // What the indices name travels too, so that a later paste can find them again after they moved.
    if (info.providerIndex < MAX_PROVIDERS)
        std::memcpy(info.providerName, image_.namePtr(DatabaseImage::providerOffset(info.providerIndex)), NAME_LEN);
    fillTransponder(info.transponderIndex, info);
    fillFavouriteMembership(index, info, true);
    return 0;
}

int ChannelDatabase::findSatellite(int satelliteId) const
{
    const int n = satellitesInUse();
    for (int i = 0; i < n; ++i)
        if (image_.u16(DatabaseImage::satelliteOffset(i) + layout::sat::ID) == satelliteId) return i;
    return DB_NOT_FOUND;
}

int ChannelDatabase::findSatelliteByName(const char* name, int* index) const
{
    if (!name) return DB_NOT_FOUND;
    const std::string_view wanted(name);
    const int n = satellitesInUse();
    for (int i = 0; i < n; ++i) {
        const std::size_t o = DatabaseImage::satelliteOffset(i);
        if (boundedName(image_.namePtr(o + layout::sat::NAME)) == wanted) {
            if (index) *index = i;
            return image_.u16(o + layout::sat::ID);
        }
    }
    return DB_NOT_FOUND;
}

int ChannelDatabase::findTransponder(int satelliteId, int frequency, int polarisation) const
{
    if (satelliteId < 0 || satelliteId > 255) return DB_NOT_FOUND;
    const int n = transpondersInUse();
    for (int i = 0; i < n; ++i) {
        const std::size_t o = DatabaseImage::transponderOffset(i);
        if (image_.u8(o + layout::tp::SAT_ID) == satelliteId && image_.u16(o + layout::tp::FREQUENCY) == frequency &&
            (polarisation < 0 || image_.u8(o + layout::tp::POLARISATION) == polarisation))
            return i;
    }
    return DB_NOT_FOUND;
}

int ChannelDatabase::findByName(int type, const char* name) const
{
    if (type != DBT_PROVIDER && type != DBT_FAVOURITE) return DB_UNSUPPORTED_TYPE;
    if (!name) return DB_NOT_FOUND;
    const std::string_view wanted(name);
    if (type == DBT_PROVIDER) {
        const int n = providersInUse();
        for (int i = 0; i < n; ++i)
            if (boundedName(image_.namePtr(DatabaseImage::providerOffset(i))) == wanted) return i;
        return DB_NOT_FOUND;
    }
    for (int l = 0; l < FAV_LISTS; ++l)
        if (boundedName(image_.namePtr(DatabaseImage::favOffset(l) + layout::fav::NAME)) == wanted) return l;
    return DB_NOT_FOUND;
}

int ChannelDatabase::favouriteMask(int programIndex, std::uint32_t& mask) const
{
    mask = 0;
    for (int l = 0; l < FAV_LISTS; ++l) {
        const int n = favInUse(l);
        for (int c = 0; c < n; ++c)
            if (favEntry(l, c) == programIndex) {
                mask |= scopeFav(l);
                break;
            }
    }
    return 0;
}

void ChannelDatabase::purgeUnusedProviders()
{
    // Same result as checking provider p against every program and renumbering one removal at a
    // time, in O(n log n): removals only shift the values above them, so the used values stay in
    // order and each needs to be looked at once.
    const int programs = programsInUse();
    // The values in use, in order: a bitmap of all 65,536 is cheaper than sorting 20,000.
    std::vector<std::uint64_t> seen(65536 / 64);
    for (int i = 0; i < programs; ++i) {
        const unsigned v = image_.u16(DatabaseImage::programOffset(i) + layout::prog::PROVIDER);
        seen[v / 64] |= std::uint64_t{1} << (v % 64);
    }
    std::vector<std::uint16_t> values;
    for (std::size_t w = 0; w < seen.size(); ++w)
        for (std::uint64_t bits = seen[w]; bits; bits &= bits - 1)
            values.push_back(static_cast<std::uint16_t>(w * 64 + static_cast<std::size_t>(std::countr_zero(bits))));

    std::vector<std::uint16_t> finalValue(values.size());
    std::size_t next = 0; // first value not yet passed
    int removed = 0;
    int count = providerCount();
    const int top = std::min(count, MAX_PROVIDERS);
    if (top <= 0) return;
    // One removal at a time would move the slots above it down by one and leave the top slot as it
    // was: slot j ends up with old slot j + removed, or the old top slot past the end. Writing each
    // slot once gives the same bytes without 400 moves of the table for a file of unused providers.
    std::vector<std::uint8_t> old(&image_.data()[DatabaseImage::providerOffset(0)],
                                  &image_.data()[DatabaseImage::providerOffset(top)]);
    auto place = [&](int slot) {
        const int from = std::min(slot + removed, top - 1);
        std::memcpy(&image_.data()[DatabaseImage::providerOffset(slot)],
                    &old[static_cast<std::size_t>(from) * layout::PROVIDER_SIZE], layout::PROVIDER_SIZE);
    };
    int p = 0;
    while (p < count && p < MAX_PROVIDERS) {
        if (next < values.size() && values[next] - removed == p) {
            if (removed) place(p);
            finalValue[next++] = static_cast<std::uint16_t>(p++);
            continue;
        }
        ++removed;
        --count;
    }
    if (removed == 0) return;
    for (int slot = p; slot < top; ++slot) place(slot);
    for (std::size_t k = next; k < values.size(); ++k) finalValue[k] = static_cast<std::uint16_t>(values[k] - removed);

    for (int i = 0; i < programs; ++i) {
        const std::size_t o = DatabaseImage::programOffset(i) + layout::prog::PROVIDER;
        const auto k = std::lower_bound(values.begin(), values.end(), image_.u16(o)) - values.begin();
        image_.setU16(o, finalValue[static_cast<std::size_t>(k)]);
    }
    setProviderCount(count);
}

std::uint32_t ChannelDatabase::computeCrc() const
{
    const std::uint8_t zero = 0;
    const std::uint8_t* img = image_.data();
    std::uint32_t crc =
        crcMpeg2Update(CRC_MPEG2_INIT, img + layout::CRC_START, layout::CRC_ZERO_BYTE - layout::CRC_START);
    crc = crcMpeg2Update(crc, &zero, 1);
    return crcMpeg2Update(crc, img + layout::CRC_ZERO_BYTE + 1, IMAGE_SIZE - layout::CRC_ZERO_BYTE - 1);
}

void ChannelDatabase::updateCrc(std::uint32_t)
{
    image_.data()[layout::CRC_ZERO_BYTE] = 0;
    image_.setU32(layout::CRC, computeCrc());
}

} // namespace satorix
