#pragma once

#include <CLI/CLI.hpp>
#include <string>

namespace satorix::cli {

// The spreadsheet round trip and reference lists: import, apply-reference.
class ExchangeCommands {
public:
    ExchangeCommands(CLI::App& app, int& result);

private:
    std::string file_;
    std::string input_;
    std::string out_;
    bool deleteUnmatched_ = false;
    bool names_ = false;
    std::string nameTable_ = "latin1";
};

} // namespace satorix::cli
