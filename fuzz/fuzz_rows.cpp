// The program list's rows on a damaged database: the tree node filter and the row texts behind the
// list view (their Qt-free part), for any scope and any selected node.
//
// Input: the browser state (scope, node kind, how the selected and parent texts are chosen), then
// the damage as fuzz::damage reads it.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "db/Names.h"
#include "fuzz/FuzzInput.h"
#include "gui/BrowserState.h"
#include "gui/NodeTexts.h"
#include "views/ProgramListRows.h"

using namespace satorix;

namespace {

// A node text: typed by the input, or the name of a record the damaged database holds, so that
// the filter's searches find something. Read before the damage, named after it.
struct NodeChoice {
    std::uint8_t how;
    int index;
    std::string typed;

    explicit NodeChoice(fuzz::Input& in) : how(in.byte()), index(in.u16()), typed(how % 4 ? "" : in.text(24)) {}

    std::string text(const ChannelDatabase& db) const
    {
        RecordView rec;
        switch (how % 4) {
        case 0: return typed;
        case 1: return db.getRecord(DBT_SATELLITE, index, rec) == 0 ? std::string(boundedName(rec.name[0])) : "";
        case 2: return db.getRecord(DBT_PROVIDER, index, rec) == 0 ? std::string(boundedName(rec.name[0])) : "";
        default:
            if (db.getRecord(DBT_TRANSPONDER, index, rec) != 0) return "";
            return node::transponderText(rec.field[7], rec.field[2]);
        }
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static auto db = std::make_unique<ChannelDatabase>();
    std::memcpy(db->image(), fuzz::sampleImage().data(), IMAGE_SIZE);
    fuzz::Input in(data, size);
    BrowserState browser;
    const std::uint8_t s = in.byte();
    static constexpr std::uint32_t filters[] = {SCOPE_TV_RADIO, SCOPE_TV, SCOPE_RADIO, 0};
    browser.setScope(s == 0xFF ? in.u32()
                               : filters[s & 3] | ((s & 4) ? SCOPE_PROGRAMS : scopeFav((s >> 3) % FAV_LISTS)));
    browser.nodeKind = in.byte() % 10;
    const NodeChoice selected(in), parent(in);
    std::vector<fuzz::Span> spans;
    fuzz::damage(db->image(), in, spans);
    browser.selectedText = selected.text(*db);
    browser.parentText = parent.text(*db);

    std::vector<ListRow> rows;
    buildListRows(*db, browser, rows);
    return 0;
}
