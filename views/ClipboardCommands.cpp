#include "views/ClipboardCommands.h"

#include <QString>
#include <algorithm>

#include "db/ChannelDatabase.h"
#include "gui/BrowserState.h"
#include "gui/Document.h"
#include "gui/Prompter.h"
#include "gui/StepTexts.h"
#include "views/COrbitView.h"
#include "views/ViewTexts.h"

namespace satorix {

namespace {

constexpr const char* MIXED_CLIPBOARD = "You have together TV and Radio programs in clipboard!";
constexpr const char* WAIT_ROW = "WAIT...";

} // namespace

int ClipboardCommands::numberOffset() const
{
    const std::uint32_t scope = view_.document().browser().scope();
    if (!(scope & SCOPE_RADIO)) return 0;
    const ChannelDatabase& db = view_.document().database();
    const int l = scopeFavList(scope);
    return (scope & SCOPE_PROGRAMS) || l < 0 ? db.tvProgramCount() : db.favTvCount(l);
}

void ClipboardCommands::warnIfMixed()
{
    const ProgramClipboard& items = view_.document().database().clipboard();
    const bool tv = std::any_of(items.begin(), items.end(), [](const ProgramInfo& i) { return i.isTv != 0; });
    const bool radio = std::any_of(items.begin(), items.end(), [](const ProgramInfo& i) { return i.isTv == 0; });
    if (tv && radio) view_.document().prompter().message(QString::fromUtf8(MIXED_CLIPBOARD));
}

void ClipboardCommands::fillClipboard(const std::vector<int>& rows, bool cut)
{
    Document& doc = view_.document();
    ChannelDatabase& db = doc.database();
    const ProgramListModel& model = view_.listModel();
    // Only a cut from the table deletes the program; the clipboard then holds its only copy.
    const bool deletes =
        cut && (doc.browser().scope() & SCOPE_PROGRAMS) && doc.browser().selectedText != texts::ROOT_FAVS;
    ProgramClipboard& items = db.clipboard();
    items.clear();
    items.reserve(rows.size());
    for (int r : rows) {
        ProgramInfo& item = items.emplace_back();
        item.programIndex = model.programIndex(r);
        item.placed = 1;
        db.getProgramInfoRaw(item.programIndex, item);
        if (deletes) item.programIndex = -1;
    }
    doc.browser().commandMask |= MASK_PASTE;
}

void ClipboardCommands::copy()
{
    const std::vector<int> rows = view_.selectedRealRows();
    if (rows.empty()) return;
    fillClipboard(rows, false);
    warnIfMixed();
    ChannelDatabase& db = view_.document().database();
    db.updateCrc(db.version());
}

void ClipboardCommands::cut()
{
    const std::vector<int> rows = view_.selectedRealRows();
    if (rows.empty()) return;
    view_.document().edit(steps::programs("Cut", static_cast<int>(rows.size())), [&] {
        fillClipboard(rows, true);
        removeRows(rows, false);
    });
    warnIfMixed();
}

void ClipboardCommands::remove()
{
    const std::vector<int> rows = view_.selectedRealRows();
    if (rows.empty()) return;
    view_.document().edit(steps::programs("Delete", static_cast<int>(rows.size())), [&] { removeRows(rows, true); });
}

void ClipboardCommands::removeRows(const std::vector<int>& rows, bool placeholderWhenEmpty)
{
    Document& doc = view_.document();
    ChannelDatabase& db = doc.database();
    ProgramListModel& model = view_.listModel();
    const BrowserState& browser = doc.browser();
    // From the highest row down, so that the lower rows still name their programs.
    bool refused = false;
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        const int program = model.programIndex(*it);
        std::uint32_t mask = 0;
        db.favouriteMask(program, mask);
        if (db.deleteProgram(program, mask, browser.scope(), browser.selectedText) < 0) refused = true;
    }
    if (refused) {
        // The list no longer says what the database holds; show the database.
        view_.refill();
        return;
    }
    model.removeRowsAt(rows);
    if (view_.showsWholeList()) model.renumber(rows.front(), numberOffset());

    const int last = rows.back();
    const int cutCount = static_cast<int>(rows.size());
    const int remaining = model.rowCount();
    const int next = last != remaining ? last - cutCount + 1 : last - cutCount;
    view_.clearSelection();
    if (next >= 0 && next < remaining) {
        view_.selectAndFocus(next);
        view_.scrollToRow(next);
    }
    if (remaining == 0 && placeholderWhenEmpty) model.showPlaceholder();
    std::vector<ListRow> chain;
    view_.rebuildChain(chain);
}

void ClipboardCommands::paste()
{
    Document& doc = view_.document();
    ChannelDatabase& db = doc.database();
    ProgramListModel& model = view_.listModel();
    BrowserState& browser = doc.browser();
    const std::uint32_t scope = browser.scope();
    const int s = view_.firstSelectedRow();
    if (s < 0 || model.isPlaceholder(s) || db.clipboard().empty()) return;

    const int list = (scope & SCOPE_PROGRAMS) ? -1 : scopeFavList(scope);
    int position = list < 0 ? model.programIndex(s) : s + ((scope & SCOPE_RADIO) ? db.favTvCount(list) : 0);
    if (!db.checkPastePosition(position, scope)) return;

    int rc = -1;
    doc.edit(steps::programs("Paste", static_cast<int>(db.clipboard().size())),
             [&] { rc = db.pasteClipboard(position, scope); });
    if (rc >= 0) {
        const ProgramClipboard& items = db.clipboard();
        const int pasted = static_cast<int>(
            std::count_if(items.begin(), items.end(), [](const ProgramInfo& i) { return i.placed == 1; }));
        std::vector<ListRow> waiting(static_cast<std::size_t>(pasted));
        for (ListRow& row : waiting) row.texts[0] = WAIT_ROW;
        model.insertRowsAt(s, std::move(waiting));
        std::vector<ListRow> chain;
        if (view_.rebuildChain(chain)) {
            if (static_cast<int>(chain.size()) == model.rowCount())
                model.copyTexts(s, pasted, chain);
            else
                model.replaceRows(std::move(chain)); // the node does not show what was pasted
        }
        if (view_.showsWholeList()) model.renumber(s + 1, numberOffset());
        const int after = std::min(s + pasted, model.rowCount() - 1);
        view_.selectAndFocus(after);
        view_.scrollToRow(after);
    }
    if (browser.commandMask & MASK_CUT) browser.commandMask |= MASK_PASTE;
}

} // namespace satorix
