#pragma once

#include "gui/NameText.h"

// Texts the views show, exactly as the users know them.
namespace satorix::texts {

constexpr const char* ROOT_FAVS = "Favs";
constexpr const char* ROOT_PROVIDERS = "Providers";
constexpr const char* ROOT_SATELLITES = "Satellites";
constexpr const char* EMPTY_PLACEHOLDER = "Empty";
constexpr const char* NO_CHANNELS = "---NO CHANNELS---";
constexpr const char* CANNOT_RENAME = "You cannot change name of this tree element.";
constexpr const char* UNKNOWN_FAV_LIST = "Program executing error:\nUnknown FAV list!";
constexpr const char* NO_MEMORY = "Missing memory to create list";

} // namespace satorix::texts
