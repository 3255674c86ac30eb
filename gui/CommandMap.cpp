#include "gui/CommandMap.h"

namespace satorix {

CommandMap& CommandMap::on(int id, Run run, Update update)
{
    Entry& e = entries_[id];
    e.run = std::move(run);
    if (update) e.update = std::move(update);
    return *this;
}

CommandMap& CommandMap::onUpdate(int id, Update update)
{
    entries_[id].update = std::move(update);
    return *this;
}

bool CommandMap::hasRun(int id) const
{
    const auto it = entries_.find(id);
    return it != entries_.end() && it->second.run;
}

bool CommandMap::hasUpdate(int id) const
{
    const auto it = entries_.find(id);
    return it != entries_.end() && it->second.update;
}

bool CommandMap::run(int id) const
{
    const auto it = entries_.find(id);
    if (it == entries_.end() || !it->second.run) return false;
    it->second.run();
    return true;
}

bool CommandMap::update(int id, CommandUi& ui) const
{
    const auto it = entries_.find(id);
    if (it == entries_.end() || !it->second.update) return false;
    it->second.update(ui);
    return true;
}

} // namespace satorix
