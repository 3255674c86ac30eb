// Arbitrary bytes as a database: every getter, the row texts, the listing and the check must
// stay inside the image whatever the counters and indices say.
//
// Input: 12 bytes over the counter block, then 4-byte patches (24-bit offset, value) applied to a
// generated database, so that short inputs reach every table.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "db/DatabaseCheck.h"
#include "db/ProgramRowTexts.h"
#include "db/SampleGenerator.h"

using namespace satorix;

namespace {

void exercise(ChannelDatabase& db, bool listing)
{
    int n = 0;
    for (int code = 499; code <= 524; ++code) db.getCount(code, n);
    RecordView rec;
    for (int type = DBT_SATELLITE; type <= DBT_FAVOURITE; ++type)
        for (int i : {-1, 0, 1, 8, 199, 200, 399, 400, 2999, 3000, 19999, 20000}) {
            rec.field[favf::POSITION] = i;
            db.getRecord(type, i, rec);
        }
    ProgramInfo info;
    for (std::uint32_t scope : {0u, SCOPE_PROGRAMS | SCOPE_TV_RADIO, scopeFav(0) | SCOPE_RADIO, scopeFav(8)})
        for (int i : {-1, 0, 1, 399, 20000}) db.getProgramInfo(scope, i, info);
    db.getProgramInfoRaw(0, info);
    std::uint32_t mask = 0;
    db.favouriteMask(0, mask);
    db.findTransponder(0, 0);
    db.findSatelliteByName("x");
    db.findByName(DBT_PROVIDER, "x");

    const ProgramRowBuilder rows(db);
    RowTexts texts;
    std::vector<RowRef> refs;
    RowTextError err;
    for (std::uint32_t scope : {SCOPE_PROGRAMS | SCOPE_TV_RADIO, scopeFav(0) | SCOPE_RADIO, scopeFav(4) | SCOPE_TV}) {
        if (!rowsForScope(db, scope, refs, err)) continue;
        for (std::size_t i = 0; i < refs.size() && i < 300; ++i) rows.build(refs[i].programIndex, refs[i].position, texts);
        if (!refs.empty()) rows.build(refs.back().programIndex, refs.back().position, texts);
    }
    checkDatabase(db, {true, 50});
    if (listing && db.programsInUse() <= 2000) db.writeProgramListing("/dev/null"); // its loop is bounded anyway
    db.purgeUnusedProviders();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::vector<std::uint8_t> base = [] {
        auto db = std::make_unique<ChannelDatabase>();
        generateSample(*db, {false, 1});
        return std::vector<std::uint8_t>(db->image(), db->image() + IMAGE_SIZE);
    }();
    static auto db = std::make_unique<ChannelDatabase>();
    db->assignImage(base.data(), base.size());
    std::memcpy(db->image() + layout::SATELLITE_COUNT, data, std::min<std::size_t>(size, 12));
    for (std::size_t i = 12; i + 4 <= size; i += 4) {
        const std::size_t off = (data[i] | data[i + 1] << 8 | data[i + 2] << 16) % IMAGE_SIZE;
        db->image()[off] = data[i + 3];
    }
    exercise(*db, size > 0 && (data[0] & 1));
    return 0;
}
