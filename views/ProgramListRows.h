#pragma once

#include <bitset>
#include <vector>

#include "db/ProgramRowTexts.h"

namespace satorix {

class BrowserState;

// One row of the program list: its place in the program table or favourite list, the program
// it shows and its ten cell texts. The placeholder row is the one with an empty first cell.
struct ListRow {
    int position = -1;
    int programIndex = -1;
    RowTexts texts;

    bool isPlaceholder() const { return texts[0].empty(); }
};

// Whether a program belongs to the tree node that BrowserState names (satellite, transponder,
// provider or the "Favs" root). Every search happens once here, so a test costs O(1) per program.
class NodeFilter {
public:
    NodeFilter(const ChannelDatabase& db, const BrowserState& browser, const ProgramRowBuilder& rows);
    bool passes(int programIndex) const;

private:
    const ChannelDatabase& db_;
    const ProgramRowBuilder& rows_;
    int kind_;
    std::bitset<MAX_TRANSPONDERS> transponders_;
    std::bitset<MAX_PROVIDERS> providers_;
};

struct FillResult {
    enum class Status { Ok, UnknownList, ListUnreadable, NoMemory };
    Status status = Status::Ok;
    // ListUnreadable: the favourite list's record; Ok: the first row record that could not be read.
    RowTextError error;
};

// The rows the list shows for the browser's scope and tree node, in order, numbered by position.
FillResult buildListRows(const ChannelDatabase& db, const BrowserState& browser, std::vector<ListRow>& rows);

} // namespace satorix
