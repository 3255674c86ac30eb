#pragma once

#include <array>
#include <vector>

#include "db/ProgramOrder.h"

namespace satorix {

class COrbitView;
class CommandMap;
class CommandMenu;

// The entries of Edit > Sort, the moves and the bulk edits, for the Edit menu and the list's menu.
struct CommandText {
    int id;
    const char* text;
};
extern const std::array<CommandText, 4> kSortCommands;
extern const std::array<CommandText, 6> kRowCommands; // lock, unlock and the four moves
constexpr const char* SORT_MENU = "&Sort";
constexpr const char* ADD_TO_LIST_MENU = "&Add to favourite list";
constexpr const char* REMOVE_FROM_LIST_MENU = "&Remove from favourite list";

// The list's context menu gets the same entries as the Edit menu.
void addProgramToolCommands(CommandMenu& menu);

// Sort, move, lock and favourite-list commands on the list's rows: each is one step of the
// history, and the rows it moved stay selected.
class ProgramCommands {
public:
    explicit ProgramCommands(COrbitView& view) : view_(view) {}

    void registerCommands(CommandMap& commands);

    void sort(SortKey key);
    void move(Move move);
    void lock(bool locked);
    void addToList(int list);
    void removeFromList(int list);

private:
    // The rows a command works on: the selection, or every row for a sort of one or no row.
    std::vector<int> rows(bool allWhenSingle) const;
    // Program indices (the table) or entry positions (a favourite list) of rows.
    std::vector<int> places(const std::vector<int>& rows) const;
    std::vector<int> programs(const std::vector<int>& rows) const;
    int shownList() const;
    bool idle() const;
    // Refills the list and selects the rows that now show these places.
    void showPlaces(const std::vector<int>& places);

    COrbitView& view_;
};

} // namespace satorix
