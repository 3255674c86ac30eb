#pragma once

// Texts the application shell shows, exactly as the users know them.
namespace satorix::texts {

constexpr const char* APP_TITLE = "Satorix for HD";
constexpr const char* DOC_TEMPLATE = "Satorix for HD\n\nOrbitDb\n\n\nOrbitdbapp.Document\nOrbitDb Document";

constexpr const char* OPEN_FAILED = "Error: Open failed";
constexpr const char* SAVE_FAILED = "Error: Save failed!";
constexpr const char* NOTHING_TO_SAVE = "Nothing to save!";
constexpr const char* NOT_SAVED = "%1 not saved!\nSave it now?";
constexpr const char* OPEN_LAST_FAILED = "Open last edited failed";

constexpr const char* FILE_FILTER_CHANNELS = "Channel data (*.si)";
constexpr const char* FILE_FILTER_ALL = "All Files (*.*)";
constexpr const char* FILE_INITIAL_NAME = "*.si";

constexpr const char* COUNTS = "TV:%1, Radio:%2";
constexpr const char* FILE_NOT_LOADED = "File not loaded!";
constexpr const char* COUNTS_INITIAL = "TV:";

} // namespace satorix::texts
