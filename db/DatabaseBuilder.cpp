#include "DatabaseBuilder.h"

#include "Names.h"
#include "Records.h"

namespace satorix {

int DatabaseBuilder::addSatellite(const SatelliteFields& s)
{
    const int i = db_.satelliteCount();
    // The slot's reserved byte stays as it was.
    SatelliteRecord r = SatelliteRecord::read(db_.raw(), i);
    r.id = static_cast<std::uint16_t>(s.id);
    r.position = static_cast<std::uint16_t>(s.position);
    r.name = s.name.c_str();
    r.tally = 0;
    r.tone22k = static_cast<std::int8_t>(s.tone22k);
    r.lnbLow = static_cast<std::uint16_t>(s.lnbLowLo);
    r.lnbHigh = static_cast<std::uint16_t>(s.lnbHighLo);
    r.diseqcMode = static_cast<std::int8_t>(s.diseqcMode);
    r.diseqc12 = static_cast<std::uint8_t>(s.diseqc12);
    r.positioner = static_cast<std::uint8_t>(s.positionerNo);
    r.diseqc11 = static_cast<std::uint16_t>(s.diseqc11Port);
    r.eastWest = static_cast<std::int8_t>(s.eastWest);
    r.write(db_.raw(), i, NameWrite::Padded);
    db_.setSatelliteCount(i + 1);
    return i;
}

int DatabaseBuilder::addTransponder(const TransponderFields& t)
{
    const int i = db_.transponderCount();
    TransponderRecord r;
    r.satelliteId = static_cast<std::uint8_t>(t.satelliteId);
    r.polarisation = static_cast<std::uint8_t>(t.polarisation);
    r.fec = static_cast<std::uint8_t>(t.fec);
    r.tsid = static_cast<std::uint16_t>(t.transportStreamId);
    r.nid = static_cast<std::uint16_t>(t.networkId);
    r.onid = static_cast<std::uint16_t>(t.originalNetworkId);
    r.frequency = static_cast<std::uint16_t>(t.frequency);
    r.symbolRate = static_cast<std::uint16_t>(t.symbolRate);
    r.write(db_.raw(), i);
    db_.setTransponderCount(i + 1);
    const int s = db_.findSatellite(t.satelliteId);
    if (s >= 0) {
        const std::size_t so = DatabaseImage::satelliteOffset(s) + layout::sat::TALLY;
        db_.raw().setU16(so, static_cast<std::uint16_t>(db_.raw().u16(so) + 1));
    }
    return i;
}

int DatabaseBuilder::addProvider(const std::string& name)
{
    const int i = db_.providerCount();
    copyName(db_.raw().namePtr(DatabaseImage::providerOffset(i)), name.c_str());
    db_.setProviderCount(i + 1);
    return i;
}

int DatabaseBuilder::addProgram(const ProgramFields& p, bool tv)
{
    const int i = db_.programCount();
    ProgramRecord r;
    r.serviceId = static_cast<std::uint16_t>(p.serviceId);
    r.provider = static_cast<std::uint16_t>(p.provider);
    r.transponder = static_cast<std::uint16_t>(p.transponder);
    r.videoPid = static_cast<std::uint16_t>(p.videoPid);
    r.audioPid = static_cast<std::uint16_t>(p.audioPid);
    r.pcrPid = static_cast<std::uint16_t>(p.pcrPid);
    r.flags = static_cast<std::uint16_t>(p.flags);
    r.name = p.name.c_str();
    r.write(db_.raw(), i, NameWrite::Padded);
    db_.setProgramCount(i + 1);
    if (tv) db_.setTvProgramCount(db_.tvProgramCount() + 1);
    return i;
}

void DatabaseBuilder::setFavouriteName(int list, const std::string& name)
{
    copyName(db_.raw().namePtr(DatabaseImage::favOffset(list) + layout::fav::NAME), name.c_str());
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
