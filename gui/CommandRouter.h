#pragma once

#include <functional>
#include <vector>

#include "gui/CommandMap.h"

namespace satorix {

// Routes a command id the way the old framework did: the active view first, then the document,
// the frame and the application. The first target with a handler runs it; the first target with an
// update handler decides the state, and a command nobody handles is disabled.
class CommandRouter {
public:
    // Called at every routing, so that a change of the active view needs no notification.
    using TargetList = std::function<std::vector<const CommandTarget*>()>;
    explicit CommandRouter(TargetList targets) : targets_(std::move(targets)) {}

    bool run(int id) const;
    CommandUi state(int id) const;

private:
    TargetList targets_;
};

} // namespace satorix
