#pragma once

#include <cstdint>
#include <string>

#include "ChannelDatabase.h"

namespace satorix {

struct SatelliteFields {
    int id = 0;
    int position = 0;
    std::string name;
    int lnbLowLo = 9750;
    int lnbHighLo = 10600;
    int diseqcMode = 0;
    int tone22k = 0;
    int diseqc12 = 0;
    int positionerNo = 0;
    char eastWest = 'E';
    int diseqc11Port = 0;
};

struct TransponderFields {
    int satelliteId = 0;
    int frequency = 0;
    int polarisation = 0;
    int symbolRate = 27500;
    int fec = 0;
    int transportStreamId = 0;
    int networkId = 0;
    int originalNetworkId = 0;
};

struct ProgramFields {
    std::string name;
    int provider = 0;
    int transponder = 0;
    int serviceId = 0;
    int videoPid = 0;
    int audioPid = 0;
    int pcrPid = 0;
    int flags = 0;
};

// Appends records to a database, raw, keeping counters and tallies. The caller keeps the order:
// all TV programs before the first radio one, each list's TV entries before its radio entries,
// transponders grouped by satellite in ascending frequency.
class DatabaseBuilder {
public:
    explicit DatabaseBuilder(ChannelDatabase& db) : db_(db) {}

    int addSatellite(const SatelliteFields& s);
    int addTransponder(const TransponderFields& t); // raises the satellite's tally
    int addProvider(const std::string& name);
    int addTvProgram(const ProgramFields& p) { return addProgram(p, true); }
    int addRadioProgram(const ProgramFields& p) { return addProgram(p, false); }
    void setFavouriteName(int list, const std::string& name);
    void addFavourite(int list, int programIndex); // the entry is TV when the program is
    // Marks the database loaded and stamps the CRC, as a file written by the receiver would be.
    void finish();

private:
    int addProgram(const ProgramFields& p, bool tv);
    ChannelDatabase& db_;
};

} // namespace satorix
