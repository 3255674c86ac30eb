#pragma once

#include <string>

#include "db/ChannelDatabase.h"

namespace satorix::cli {

constexpr int EXIT_OK = 0;
constexpr int EXIT_FAILED = 1;
constexpr int EXIT_USAGE = 2;

// Prints the database's own messages on stderr.
void reportMessagesToStderr(ChannelDatabase& db);

// Reads a database file as it is stored (no provider purge, no listing). False with a message
// on stderr when it cannot be read or is shorter than an image; size receives the file's length.
bool readImageFile(const std::string& path, ChannelDatabase& db, long long& size);

// Loads a file the way the editor does, without leaving a "programs.nfo" behind. A file that is
// not there, not a regular file or shorter than an image is refused with the reason on stderr.
bool loadLikeEditor(const std::string& path, ChannelDatabase& db);

} // namespace satorix::cli
