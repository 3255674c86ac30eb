#pragma once

#include <QMenu>
#include <utility>
#include <vector>

namespace satorix {

class DocumentView;

// A popup menu that belongs to the main window, as the old resource menus did: its entries run
// command ids through the window's routing with the view as the active one, and take their
// enabled and checked states from that routing when the menu opens. Outside a main window
// (a view tested alone) the view's own command map answers.
class CommandMenu : public QMenu {
    Q_OBJECT
public:
    CommandMenu(DocumentView& view, const QString& objectName, QWidget* parent);

    // Adds an entry for a command id, to this menu or to one of its submenus.
    QAction* addCommand(int id, const QString& text, QMenu* into = nullptr);
    // Refreshes the entries' states and shows the menu at a screen point without blocking.
    void popupAt(const QPoint& globalPos);
    void refreshStates();

private:
    void runCommand(int id);

    DocumentView& view_;
    std::vector<std::pair<int, QAction*>> entries_;
};

} // namespace satorix
