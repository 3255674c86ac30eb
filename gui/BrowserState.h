#pragma once

#include <cstdint>
#include <string>

#include "db/DbTypes.h"

namespace satorix {

// Modes the edit dialogs open in. The transponder delete dialog has one mode, the edit mode's 2.
enum EditMode : int {
    MODE_ADD_TRANSPONDER = 1,
    MODE_EDIT_TRANSPONDER = 2,
    MODE_DELETE_TRANSPONDER = 2,
    MODE_ADD_PROGRAM = 4,
    MODE_EDIT_PROGRAM = 8,
};

// BrowserState::commandMask: the clipboard commands the selected tree node allows.
constexpr std::uint8_t MASK_CUT = 1;
constexpr std::uint8_t MASK_COPY = 2;
constexpr std::uint8_t MASK_PASTE = 4;
constexpr std::uint8_t MASK_DELETE = 8;
constexpr std::uint8_t MASK_ALL = MASK_CUT | MASK_COPY | MASK_PASTE | MASK_DELETE;
constexpr std::uint8_t MASK_NO_PASTE = MASK_CUT | MASK_COPY | MASK_DELETE;

// Browsing state shared by the views, the dialogs and some database operations. One instance per
// running program, owned by the application; a test builds its own.
class BrowserState {
public:
    static constexpr std::uint32_t SCOPE_FILTER_BITS = SCOPE_TV_RADIO | SCOPE_TV | SCOPE_RADIO;
    static constexpr std::uint32_t INITIAL_SCOPE = SCOPE_TV_RADIO | SCOPE_PROGRAMS;

    std::uint32_t scope() const { return scope_; }
    void setScope(std::uint32_t scope) { scope_ = scope; }
    // Replaces the TV/radio part and keeps what the tree chose.
    void setFilter(std::uint32_t filterBit) { scope_ = (scope_ & ~SCOPE_FILTER_BITS) | filterBit; }

    // Texts of the selected tree node and its parent.
    std::string selectedText;
    std::string parentText;
    std::uint8_t nodeKind = 0;
    std::uint8_t commandMask = 0;
    std::int32_t lastTransponderFrequency = 0;
    std::string lastSatelliteName;

    // Requests consumed by the tree's next update: rebuild after a new database arrived, append
    // providers after the program dialog created one.
    bool rebuildRequest = false;
    bool providerRequest = false;

    // Text of the tree node before the caret transponder, set by the tree before it opens the
    // transponder dialog in edit mode (empty for none): equal frequencies on both nodes mean the
    // caret is the second of two transponders that findTransponder cannot tell apart.
    std::string previousSiblingText;

private:
    std::uint32_t scope_ = INITIAL_SCOPE;
};

} // namespace satorix
