#include "gui/CommandRouter.h"

namespace satorix {

bool CommandRouter::run(int id) const
{
    for (const CommandTarget* t : targets_())
        if (t && t->commands().run(id)) return true;
    return false;
}

CommandUi CommandRouter::state(int id) const
{
    const auto targets = targets_();
    CommandUi ui;
    for (const CommandTarget* t : targets)
        if (t && t->commands().update(id, ui)) return ui;
    ui.enabled = false;
    for (const CommandTarget* t : targets)
        if (t && t->commands().hasRun(id)) {
            ui.enabled = true;
            break;
        }
    return ui;
}

} // namespace satorix
