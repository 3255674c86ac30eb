#include "ChannelDatabase.h"

#include <array>
#include <bit>
#include <vector>

#include "ImageCrc.h"
#include "Names.h"

namespace satorix {

ChannelDatabase::ChannelDatabase() : image_(new std::uint8_t[IMAGE_SIZE]()) {}

std::uint8_t* ChannelDatabase::imageBase(std::uint32_t) { return image_.get(); }
const std::uint8_t* ChannelDatabase::imageBase(std::uint32_t) const { return image_.get(); }
std::size_t ChannelDatabase::imageSize(std::uint32_t) { return IMAGE_SIZE; }

void ChannelDatabase::notify(const std::string& text, MessageIcon icon) const
{
    if (notifier_) notifier_(text, icon);
}

void ChannelDatabase::assignImage(const std::uint8_t* data, std::size_t size)
{
    std::size_t n = std::min(size, IMAGE_SIZE);
    if (n) std::memcpy(image_.get(), data, n);
    std::memset(image_.get() + n, 0, IMAGE_SIZE - n);
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
    return -1;
}

int ChannelDatabase::getRecord(int type, int index, RecordView& rec) const
{
    // A negative index is as far out of range as a huge one.
    const unsigned ui = static_cast<unsigned>(index);
    switch (type) {
    case DBT_SATELLITE: {
        if (ui >= MAX_SATELLITES) return -2;
        if (index >= satelliteCount()) return -3;
        const std::size_t o = satelliteOffset(index);
        namespace s = layout::sat;
        rec.field[0] = u16(o + s::ID);
        rec.field[1] = u16(o + s::POSITION);
        rec.field[2] = u16(o + s::TALLY);
        rec.field[3] = u16(o + s::LNB_LOW);
        rec.field[4] = u16(o + s::LNB_HIGH);
        rec.field[5] = static_cast<std::int8_t>(u8(o + s::DISEQC_MODE));
        rec.field[6] = static_cast<std::int8_t>(u8(o + s::TONE22K));
        rec.field[7] = u8(o + s::DISEQC12);
        rec.field[8] = u8(o + s::POSITIONER);
        rec.field[9] = u8(o + s::RESERVED2);
        rec.field[10] = static_cast<std::int8_t>(u8(o + s::EAST_WEST));
        rec.field[11] = u16(o + s::DISEQC11);
        rec.name[0] = namePtr(o + s::NAME);
        return 0;
    }
    case DBT_PROGRAM: {
        if (ui >= MAX_PROGRAMS) return -2;
        if (index >= programCount()) return -3;
        const std::size_t o = programOffset(index);
        namespace p = layout::prog;
        rec.field[0] = u16(o + p::SERVICE_ID);
        rec.field[1] = u16(o + p::PROVIDER);
        rec.field[2] = u16(o + p::TRANSPONDER);
        rec.field[3] = u16(o + p::VIDEO_PID);
        rec.field[4] = u16(o + p::AUDIO_PID);
        rec.field[5] = u16(o + p::PCR_PID);
        rec.field[6] = u16(o + p::FLAGS);
        rec.name[0] = namePtr(o + p::NAME);
        return 0;
    }
    case DBT_TRANSPONDER: {
        if (ui >= MAX_TRANSPONDERS) return -4;
        const std::size_t o = transponderOffset(index);
        namespace t = layout::tp;
        rec.field[0] = u8(o + t::SAT_ID);
        rec.field[2] = u8(o + t::POLARISATION);
        rec.field[3] = u8(o + t::FEC);
        rec.field[4] = u16(o + t::TSID);
        rec.field[5] = u16(o + t::NID);
        rec.field[6] = u16(o + t::ONID);
        rec.field[7] = u16(o + t::FREQUENCY);
        rec.field[8] = u16(o + t::SYMBOL_RATE);
        return 0;
    }
    case DBT_PROVIDER:
        if (ui >= MAX_PROVIDERS) return -2;
        if (index >= providerCount()) return -3;
        rec.name[0] = namePtr(providerOffset(index));
        return 0;
    case DBT_FAVOURITE: {
        if (ui >= FAV_LISTS) return -2;
        const int p = rec.field[0];
        if (p < 0 || p >= FAV_ENTRIES) return -4;
        if (p != 0 && p >= favCount(index)) return -3;
        rec.field[1] = favEntry(index, p);
        rec.field[2] = favCount(index);
        rec.field[3] = favTvCount(index);
        for (int k = 0; k < 3; ++k)
            rec.name[k] = index + k < FAV_LISTS ? namePtr(favOffset(index + k) + layout::fav::NAME) : nullptr;
        return 0;
    }
    default: return -1;
    }
}

void ChannelDatabase::fillTransponder(int t, ProgramInfo& info) const
{
    if (t < 0 || t >= MAX_TRANSPONDERS) return;
    const std::size_t to = transponderOffset(t);
    namespace tf = layout::tp;
    info.satelliteId = u8(to + tf::SAT_ID);
    info.polarisation = u8(to + tf::POLARISATION);
    info.fec = u8(to + tf::FEC);
    info.transportStreamId = u16(to + tf::TSID);
    info.networkId = u16(to + tf::NID);
    info.originalNetworkId = u16(to + tf::ONID);
    info.frequency = u16(to + tf::FREQUENCY);
    info.symbolRate = u16(to + tf::SYMBOL_RATE);
}

void ChannelDatabase::fillTransponderAndSatellite(int t, ProgramInfo& info, bool& found) const
{
    found = false;
    if (t < 0 || t >= MAX_TRANSPONDERS) return;
    const std::size_t to = transponderOffset(t);
    const int satId = u8(to + layout::tp::SAT_ID);
    const int s = findSatellite(satId);
    if (s < 0) return;
    found = true;
    const std::size_t so = satelliteOffset(s);
    namespace sf = layout::sat;
    info.position = u16(so + sf::POSITION);
    std::memcpy(info.satelliteName, namePtr(so + sf::NAME), NAME_LEN);
    info.transponderTally = u16(so + sf::TALLY);
    info.lnbLowLo = u16(so + sf::LNB_LOW);
    info.lnbHighLo = u16(so + sf::LNB_HIGH);
    info.diseqcMode = u8(so + sf::DISEQC_MODE);
    info.tone22k = u8(so + sf::TONE22K);
    info.diseqc12 = u8(so + sf::DISEQC12);
    info.positionerNo = u8(so + sf::POSITIONER);
    info.satReserved2 = u8(so + sf::RESERVED2);
    info.eastWest = u8(so + sf::EAST_WEST);
    info.diseqc11Port = u16(so + sf::DISEQC11);
    fillTransponder(t, info);
}

void ChannelDatabase::fillFavouriteMembership(int program, ProgramInfo& info, bool positions) const
{
    // Byte compares on the raw entries: this runs for every item of a clipboard or a drag.
    const auto lo = static_cast<std::uint8_t>(program), hi = static_cast<std::uint8_t>(program >> 8);
    for (int l = 0; l < FAV_LISTS; ++l) {
        const int n = favInUse(l);
        const std::uint8_t* e = &image_[favEntryOffset(l, 0)];
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
        if (index < 0 || index > programCount()) return -3;
    } else {
        const int pos = (scope & SCOPE_RADIO) ? favTvCount(list) + index : index;
        if (index < 0 || pos >= FAV_ENTRIES) return -3;
        program = favEntry(list, pos);
    }
    if (program >= MAX_PROGRAMS) return -3;

    info.isTv = program < tvProgramCount() ? 1 : 0;
    const std::size_t o = programOffset(program);
    namespace p = layout::prog;
    info.serviceId = u16(o + p::SERVICE_ID);
    const int provider = u16(o + p::PROVIDER);
    if (provider < MAX_PROVIDERS)
        std::memcpy(info.providerName, namePtr(providerOffset(provider)), NAME_LEN);
    else
        std::memset(info.providerName, 0, NAME_LEN);
    info.videoPid = u16(o + p::VIDEO_PID);
    info.audioPid = u16(o + p::AUDIO_PID);
    info.pcrPid = u16(o + p::PCR_PID);
    info.programFlags = u16(o + p::FLAGS);
    std::memcpy(info.name, namePtr(o + p::NAME), NAME_LEN);

    bool found = false;
    fillTransponderAndSatellite(u16(o + p::TRANSPONDER), info, found);
    if (!found) return -2;

    fillFavouriteMembership(program, info, false);
    return 0;
}

int ChannelDatabase::getProgramInfoRaw(int index, ProgramInfo& info) const
{
    if (index < 0 || index > programCount() || index >= MAX_PROGRAMS) return -1;
    const std::size_t o = programOffset(index);
    namespace p = layout::prog;
    info.serviceId = u16(o + p::SERVICE_ID);
    info.providerIndex = u16(o + p::PROVIDER);
    info.transponderIndex = u16(o + p::TRANSPONDER);
    info.videoPid = u16(o + p::VIDEO_PID);
    info.audioPid = u16(o + p::AUDIO_PID);
    info.pcrPid = u16(o + p::PCR_PID);
    info.programFlags = u16(o + p::FLAGS);
    std::memcpy(info.name, namePtr(o + p::NAME), NAME_LEN);
    info.isTv = index < tvProgramCount() ? 1 : 0;
    // What the indices name travels too, so that a later paste can find them again after they moved.
    if (info.providerIndex < MAX_PROVIDERS) std::memcpy(info.providerName, namePtr(providerOffset(info.providerIndex)), NAME_LEN);
    fillTransponder(info.transponderIndex, info);
    fillFavouriteMembership(index, info, true);
    return 0;
}

int ChannelDatabase::findSatellite(int satelliteId) const
{
    const int n = satellitesInUse();
    for (int i = 0; i < n; ++i)
        if (u16(satelliteOffset(i) + layout::sat::ID) == satelliteId) return i;
    return -1;
}

int ChannelDatabase::findSatelliteByName(const char* name, int* index) const
{
    if (!name) return -1;
    const std::string_view wanted(name);
    const int n = satellitesInUse();
    for (int i = 0; i < n; ++i) {
        const std::size_t o = satelliteOffset(i);
        if (boundedName(namePtr(o + layout::sat::NAME)) == wanted) {
            if (index) *index = i;
            return u16(o + layout::sat::ID);
        }
    }
    return -1;
}

int ChannelDatabase::findTransponder(int satelliteId, int frequency, int polarisation) const
{
    if (satelliteId < 0 || satelliteId > 255) return -1;
    const int n = transpondersInUse();
    for (int i = 0; i < n; ++i) {
        const std::size_t o = transponderOffset(i);
        if (u8(o + layout::tp::SAT_ID) == satelliteId && u16(o + layout::tp::FREQUENCY) == frequency &&
            (polarisation < 0 || u8(o + layout::tp::POLARISATION) == polarisation))
            return i;
    }
    return -1;
}

int ChannelDatabase::findByName(int type, const char* name) const
{
    if (type != DBT_PROVIDER && type != DBT_FAVOURITE) return -5;
    if (!name) return -1;
    const std::string_view wanted(name);
    if (type == DBT_PROVIDER) {
        const int n = providersInUse();
        for (int i = 0; i < n; ++i)
            if (boundedName(namePtr(providerOffset(i))) == wanted) return i;
        return -1;
    }
    for (int l = 0; l < FAV_LISTS; ++l)
        if (boundedName(namePtr(favOffset(l) + layout::fav::NAME)) == wanted) return l;
    return -1;
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
        const unsigned v = u16(programOffset(i) + layout::prog::PROVIDER);
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
    std::vector<std::uint8_t> old(&image_[providerOffset(0)], &image_[providerOffset(top)]);
    auto place = [&](int slot) {
        const int from = std::min(slot + removed, top - 1);
        std::memcpy(&image_[providerOffset(slot)], &old[static_cast<std::size_t>(from) * layout::PROVIDER_SIZE],
                    layout::PROVIDER_SIZE);
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
        const std::size_t o = programOffset(i) + layout::prog::PROVIDER;
        const auto k = std::lower_bound(values.begin(), values.end(), u16(o)) - values.begin();
        setU16(o, finalValue[static_cast<std::size_t>(k)]);
    }
    setProviderCount(count);
}

std::uint32_t ChannelDatabase::computeCrc() const
{
    const std::uint8_t zero = 0;
    const std::uint8_t* img = image_.get();
    std::uint32_t crc = crcMpeg2Update(CRC_MPEG2_INIT, img + layout::CRC_START,
                                       layout::CRC_ZERO_BYTE - layout::CRC_START);
    crc = crcMpeg2Update(crc, &zero, 1);
    return crcMpeg2Update(crc, img + layout::CRC_ZERO_BYTE + 1, IMAGE_SIZE - layout::CRC_ZERO_BYTE - 1);
}

void ChannelDatabase::updateCrc(std::uint32_t)
{
    image_[layout::CRC_ZERO_BYTE] = 0;
    setU32(layout::CRC, computeCrc());
}

} // namespace satorix
