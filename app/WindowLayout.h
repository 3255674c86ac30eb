#pragma once

namespace satorix {

class CMainFrame;

// The main window's layout between runs, kept in the profile: window geometry, splitter position
// and the program list's column widths. Without a saved layout the tree gets room for its names.
class WindowLayout {
public:
    static constexpr const char* GROUP = "Window";

    // After the views' first update, before the window shows.
    static void restore(CMainFrame& frame);
    static void save(const CMainFrame& frame);
    // A tree pane that shows every satellite, provider and list name in full, at most a third
    // of the window and never below the classic pane size.
    static int fittingTreeWidth(const CMainFrame& frame);
};

} // namespace satorix
