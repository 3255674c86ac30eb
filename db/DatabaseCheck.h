#pragma once

#include <string>
#include <vector>

#include "ChannelDatabase.h"

namespace satorix {

struct CheckOptions {
    bool checkCrc = true;
    std::size_t maxProblems = 1000; // a nonsense file could otherwise yield tens of thousands of lines
};

// The database's consistency rules: counters within capacity, every reference in range, TV before
// radio in the program table and in every favourite list. One text per problem; empty when sound.
std::vector<std::string> checkDatabase(const ChannelDatabase& db, const CheckOptions& options = {});

} // namespace satorix
