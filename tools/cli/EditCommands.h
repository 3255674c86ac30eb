#pragma once

#include <CLI/CLI.hpp>
#include <string>

namespace satorix::cli {

// The subcommands that change a database file's order or contents: sort, duplicates.
class EditCommands {
public:
    EditCommands(CLI::App& app, int& result);

private:
    std::string file_;
    std::string out_;
    std::string sortBy_ = "name";
    int favourite_ = 0;
    std::string format_ = "text";
    bool remove_ = false;
};

} // namespace satorix::cli
