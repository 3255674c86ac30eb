#pragma once

#include <CLI/CLI.hpp>
#include <cstdint>
#include <string>

namespace satorix::cli {

// The transfers with the receiver: download, upload, upgrade; holds their options.
class LinkCommands {
public:
    LinkCommands(CLI::App& app, int& result);

private:
    std::string device_;
    int port_ = 0;
    std::uint32_t baud_ = 115200;
    std::string file_;
};

} // namespace satorix::cli
