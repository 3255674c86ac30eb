#pragma once

#include <CLI/CLI.hpp>
#include <cstdint>
#include <string>

namespace satorix::cli {

// The subcommands on database files; holds their options for the parser's lifetime.
class DbCommands {
public:
    DbCommands(CLI::App& app, int& result);

private:
    std::string file_;
    std::string sampleOut_;
    bool sampleFull_ = false;
    std::uint32_t sampleSeed_ = 1;
    std::string listFormat_ = "text";
    int listFavourite_ = 0;
    bool listTv_ = false;
    bool listRadio_ = false;
    std::string nameTable_ = "latin1";
    std::string nfoOut_ = "programs.nfo";
};

} // namespace satorix::cli
