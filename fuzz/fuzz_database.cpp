// Arbitrary bytes as a database: every getter, the row texts, the listing and the check must
// stay inside the image whatever the counters and indices say.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "db/DatabaseCheck.h"
#include "db/ProgramRowTexts.h"

using namespace satorix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static auto db = std::make_unique<ChannelDatabase>();
    // Small inputs describe the interesting part: counters, a few records and the lists.
    // They are laid over the counter block so that short inputs reach every table.
    db->assignImage(nullptr, 0);
    if (size < 64) {
        std::memcpy(db->image() + layout::SATELLITE_COUNT, data, size);
    } else {
        db->assignImage(data, size);
        const std::size_t n = std::min<std::size_t>(size, 12);
        std::memcpy(db->image() + layout::SATELLITE_COUNT, data, n);
    }
    int n = 0;
    for (int code = 499; code <= 524; ++code) db->getCount(code, n);
    RecordView rec;
    for (int type = DBT_SATELLITE; type <= DBT_FAVOURITE; ++type)
        for (int i : {-1, 0, 1, 8, 199, 200, 399, 400, 2999, 3000, 19999, 20000}) {
            rec.field[0] = i;
            db->getRecord(type, i, rec);
        }
    ProgramInfo info;
    for (std::uint32_t scope : {0u, SCOPE_PROGRAMS | SCOPE_TV_RADIO, scopeFav(0) | SCOPE_RADIO, scopeFav(8)})
        for (int i : {-1, 0, 1, 399, 20000}) db->getProgramInfo(scope, i, info);
    db->getProgramInfoRaw(0, info);
    std::uint32_t mask = 0;
    db->favouriteMask(0, mask);
    db->findTransponder(0, 0);
    db->findSatelliteByName("x");
    db->findByName(DBT_PROVIDER, "x");

    const ProgramRowBuilder rows(*db);
    RowTexts texts;
    std::vector<RowRef> refs;
    RowTextError err;
    for (std::uint32_t scope : {SCOPE_PROGRAMS | SCOPE_TV_RADIO, scopeFav(0) | SCOPE_RADIO, scopeFav(4) | SCOPE_TV})
        if (rowsForScope(*db, scope, refs, err))
            for (std::size_t i = 0; i < refs.size() && i < 2000; ++i) rows.build(refs[i].programIndex, refs[i].position, texts);
    checkDatabase(*db, {true, 50});
    db->writeProgramListing("/dev/null");
    db->purgeUnusedProviders();
    return 0;
}
