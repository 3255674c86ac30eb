#include "DatabaseBuilder.h"

#include "Names.h"

namespace satorix {

int DatabaseBuilder::addSatellite(const SatelliteFields& s)
{
    const int i = db_.satelliteCount();
    const std::size_t o = ChannelDatabase::satelliteOffset(i);
    namespace f = layout::sat;
    db_.setU16(o + f::ID, static_cast<std::uint16_t>(s.id));
    db_.setU16(o + f::POSITION, static_cast<std::uint16_t>(s.position));
    copyName(db_.namePtr(o + f::NAME), s.name.c_str());
    db_.setU16(o + f::TALLY, 0);
    db_.setU8(o + f::TONE22K, static_cast<std::uint8_t>(s.tone22k));
    db_.setU16(o + f::LNB_LOW, static_cast<std::uint16_t>(s.lnbLowLo));
    db_.setU16(o + f::LNB_HIGH, static_cast<std::uint16_t>(s.lnbHighLo));
    db_.setU8(o + f::DISEQC_MODE, static_cast<std::uint8_t>(s.diseqcMode));
    db_.setU8(o + f::DISEQC12, static_cast<std::uint8_t>(s.diseqc12));
    db_.setU8(o + f::POSITIONER, static_cast<std::uint8_t>(s.positionerNo));
    db_.setU16(o + f::DISEQC11, static_cast<std::uint16_t>(s.diseqc11Port));
    db_.setU8(o + f::EAST_WEST, static_cast<std::uint8_t>(s.eastWest));
    db_.setSatelliteCount(i + 1);
    return i;
}

int DatabaseBuilder::addTransponder(const TransponderFields& t)
{
    const int i = db_.transponderCount();
    const std::size_t o = ChannelDatabase::transponderOffset(i);
    namespace f = layout::tp;
    db_.setU8(o + f::SAT_ID, static_cast<std::uint8_t>(t.satelliteId));
    db_.setU8(o + f::POLARISATION, static_cast<std::uint8_t>(t.polarisation));
    db_.setU8(o + f::FEC, static_cast<std::uint8_t>(t.fec));
    db_.setU16(o + f::TSID, static_cast<std::uint16_t>(t.transportStreamId));
    db_.setU16(o + f::NID, static_cast<std::uint16_t>(t.networkId));
    db_.setU16(o + f::ONID, static_cast<std::uint16_t>(t.originalNetworkId));
    db_.setU16(o + f::FREQUENCY, static_cast<std::uint16_t>(t.frequency));
    db_.setU16(o + f::SYMBOL_RATE, static_cast<std::uint16_t>(t.symbolRate));
    db_.setTransponderCount(i + 1);
    const int s = db_.findSatellite(t.satelliteId);
    if (s >= 0) {
        const std::size_t so = ChannelDatabase::satelliteOffset(s) + layout::sat::TALLY;
        db_.setU16(so, static_cast<std::uint16_t>(db_.u16(so) + 1));
    }
    return i;
}

int DatabaseBuilder::addProvider(const std::string& name)
{
    const int i = db_.providerCount();
    copyName(db_.namePtr(ChannelDatabase::providerOffset(i)), name.c_str());
    db_.setProviderCount(i + 1);
    return i;
}

int DatabaseBuilder::addProgram(const ProgramFields& p, bool tv)
{
    const int i = db_.programCount();
    const std::size_t o = ChannelDatabase::programOffset(i);
    namespace f = layout::prog;
    db_.setU16(o + f::SERVICE_ID, static_cast<std::uint16_t>(p.serviceId));
    db_.setU16(o + f::PROVIDER, static_cast<std::uint16_t>(p.provider));
    db_.setU16(o + f::TRANSPONDER, static_cast<std::uint16_t>(p.transponder));
    db_.setU16(o + f::VIDEO_PID, static_cast<std::uint16_t>(p.videoPid));
    db_.setU16(o + f::AUDIO_PID, static_cast<std::uint16_t>(p.audioPid));
    db_.setU16(o + f::PCR_PID, static_cast<std::uint16_t>(p.pcrPid));
    db_.setU16(o + f::FLAGS, static_cast<std::uint16_t>(p.flags));
    copyName(db_.namePtr(o + f::NAME), p.name.c_str());
    db_.setProgramCount(i + 1);
    if (tv) db_.setTvProgramCount(db_.tvProgramCount() + 1);
    return i;
}

void DatabaseBuilder::setFavouriteName(int list, const std::string& name)
{
    copyName(db_.namePtr(ChannelDatabase::favOffset(list) + layout::fav::NAME), name.c_str());
}

void DatabaseBuilder::addFavourite(int list, int programIndex)
{
    const int n = db_.favCount(list);
    db_.setFavEntry(list, n, programIndex);
    db_.setFavCount(list, n + 1);
    if (programIndex < db_.tvProgramCount()) db_.setFavTvCount(list, db_.favTvCount(list) + 1);
}

void DatabaseBuilder::finish()
{
    db_.setLoadedVersion(db_.version());
    db_.setLoaded(true);
    db_.updateCrc(db_.version());
}

} // namespace satorix
