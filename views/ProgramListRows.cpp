#include "views/ProgramListRows.h"

#include <new>

#include "db/Names.h"
#include "gui/BrowserState.h"
#include "gui/NodeTexts.h"

namespace satorix {

NodeFilter::NodeFilter(const ChannelDatabase& db, const BrowserState& browser, const ProgramRowBuilder& rows)
    : db_(db), rows_(rows), kind_(browser.nodeKind)
{
    if (kind_ == 2 || kind_ == 4) {
        // A transponder node names its satellite in the parent text.
        const std::string& satellite = kind_ == 2 ? browser.selectedText : browser.parentText;
        const int satelliteId = db.findSatelliteByName(satellite.c_str());
        const int frequency = node::leadingNumber(browser.selectedText);
        if (satelliteId < 0) return;
        for (int t = 0; t < MAX_TRANSPONDERS; ++t) {
            RecordView tp;
            if (db.getRecord(DBT_TRANSPONDER, t, tp) != 0) continue;
            // The polarisation is left out on purpose: a node lists every transponder of that frequency.
            if (tp.field[tpf::SAT_ID] == satelliteId && (kind_ == 2 || tp.field[tpf::FREQUENCY] == frequency))
                transponders_.set(static_cast<std::size_t>(t));
        }
    } else if (kind_ == 1) {
        const int n = db.providersInUse();
        for (int p = 0; p < n; ++p) {
            RecordView provider;
            if (db.getRecord(DBT_PROVIDER, p, provider) == 0 && boundedName(provider.name[0]) == browser.selectedText)
                providers_.set(static_cast<std::size_t>(p));
        }
    }
}

bool NodeFilter::passes(int programIndex) const
{
    if (kind_ == 8) return rows_.favBits(programIndex) != 0;
    if (kind_ != 1 && kind_ != 2 && kind_ != 4) return true;
    RecordView program;
    if (db_.getRecord(DBT_PROGRAM, programIndex, program) != 0) return false;
    if (kind_ == 1) {
        const auto p = static_cast<unsigned>(program.field[progf::PROVIDER]);
        return p < MAX_PROVIDERS && providers_[p];
    }
    const auto t = static_cast<unsigned>(program.field[progf::TRANSPONDER]);
    return t < MAX_TRANSPONDERS && transponders_[t];
}

FillResult buildListRows(const ChannelDatabase& db, const BrowserState& browser, std::vector<ListRow>& rows)
{
    FillResult result;
    rows.clear();
    const std::uint32_t scope = browser.scope();
    if (!(scope & SCOPE_PROGRAMS) && scopeFavList(scope) < 0) {
        result.status = FillResult::Status::UnknownList;
        return result;
    }
    try {
        std::vector<RowRef> refs;
        if (!rowsForScope(db, scope, refs, result.error)) {
            result.status = FillResult::Status::ListUnreadable;
            return result;
        }
        const ProgramRowBuilder builder(db);
        const NodeFilter filter(db, browser, builder);
        rows.reserve(refs.size());
        for (const RowRef& ref : refs) {
            if (browser.nodeKind != 0 && !filter.passes(ref.programIndex)) continue;
            ListRow& row = rows.emplace_back();
            row.position = ref.position;
            row.programIndex = ref.programIndex;
            const RowTextError e = builder.build(ref.programIndex, ref.position, row.texts);
            if (e.failed() && !result.error.failed()) result.error = e;
        }
    } catch (const std::bad_alloc&) {
        std::vector<ListRow>().swap(rows);
        result.status = FillResult::Status::NoMemory;
    }
    return result;
}

} // namespace satorix
