#pragma once

#include <CLI/CLI.hpp>
#include <string>

#include "db/ChannelDatabase.h"
#include "db/NameCodec.h"

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

// --name-table: how names without a character-table byte read (latin1, iso6937, cp1252).
void addNameTableOption(CLI::App* sub, std::string& table);
inline NameTable nameTable(const std::string& name) { return nameTableNamed(name).value_or(NameTable::Latin1); }

} // namespace satorix::cli
