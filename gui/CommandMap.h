#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <unordered_map>

namespace satorix {

// What an update handler may change on a command's action or pane.
struct CommandUi {
    bool enabled = true;
    std::optional<bool> checked;
    std::optional<QString> text;
};

// A target's table of commands: what runs for an id and how its state is computed.
class CommandMap {
public:
    using Run = std::function<void()>;
    using Update = std::function<void(CommandUi&)>;

    CommandMap& on(int id, Run run, Update update = {});
    CommandMap& onUpdate(int id, Update update);

    bool hasRun(int id) const;
    bool hasUpdate(int id) const;
    bool run(int id) const;
    bool update(int id, CommandUi& ui) const;

private:
    struct Entry {
        Run run;
        Update update;
    };
    std::unordered_map<int, Entry> entries_;
};

// Anything that takes part in command routing: views, the document, the frame, the application.
class CommandTarget {
public:
    virtual ~CommandTarget() = default;
    virtual const CommandMap& commands() const = 0;
};

} // namespace satorix
