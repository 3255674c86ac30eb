#include "db/Lookups.h"

#include "db/ChannelDatabase.h"

namespace satorix {

SatelliteIndex satelliteIndexById(const ChannelDatabase& db)
{
    SatelliteIndex index;
    index.fill(-1);
    for (int s = db.satellitesInUse() - 1; s >= 0; --s) {
        const int id = db.raw().u16(DatabaseImage::satelliteOffset(s) + layout::sat::ID);
        if (id < 256) index[static_cast<std::size_t>(id)] = static_cast<std::int16_t>(s);
    }
    return index;
}

std::vector<std::uint16_t> favouriteBits(const ChannelDatabase& db)
{
    std::vector<std::uint16_t> bits(MAX_PROGRAMS, 0);
    for (int l = 0; l < FAV_LISTS; ++l)
        for (int c = 0; c < db.favInUse(l); ++c)
            if (const int e = db.favEntry(l, c); e < MAX_PROGRAMS)
                bits[static_cast<std::size_t>(e)] |= static_cast<std::uint16_t>(1u << l);
    return bits;
}

} // namespace satorix
