#pragma once

#include "gui/CommandMap.h"

namespace satorix {

class DocumentView;

// The window that routes command ids, as a view's popup menu sees it.
class CommandHost {
public:
    virtual ~CommandHost() = default;

    // Runs a command id through the active view and the targets behind it.
    virtual bool runCommand(int id) = 0;
    // The state the routing gives a command now.
    virtual CommandUi commandState(int id) const = 0;
    virtual void setActiveView(DocumentView* view) = 0;
};

} // namespace satorix
