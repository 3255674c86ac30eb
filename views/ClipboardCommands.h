#pragma once

#include <cstdint>
#include <vector>

namespace satorix {

class COrbitView;

// Cut, Copy, Paste and Delete of the list's selected programs through the program's own
// clipboard. What a removal means (the program, its entry in the shown favourite list, or its
// entries in every list) is the database's call, made from the scope and the selected node.
class ClipboardCommands {
public:
    explicit ClipboardCommands(COrbitView& view) : view_(view) {}

    void copy();
    void cut();
    void paste();
    void remove();

private:
    // Fills the clipboard from the rows; cut programs of the table lose their index.
    void fillClipboard(const std::vector<int>& rows, bool cut);
    // Takes the rows out of the database and the list, renumbers and selects the next row.
    void removeRows(const std::vector<int>& rows, bool placeholderWhenEmpty);
    int numberOffset() const;
    void warnIfMixed();

    COrbitView& view_;
};

} // namespace satorix
