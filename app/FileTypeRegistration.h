#pragma once

#include <QString>

namespace satorix {

// Makes "*.si" files open with this program: a desktop entry and a shared-mime-info package under
// the user's data directory. Runs at every start, so it writes only what differs, and ignores failures.
class FileTypeRegistration {
public:
    static constexpr const char* MIME_TYPE = "application/x-satorix-channel-database";
    static constexpr const char* DESKTOP_FILE = "satorix.desktop";
    static constexpr const char* MIME_FILE = "satorix-channel-database.xml";

    // $XDG_DATA_HOME, or ~/.local/share when it is unset or not absolute.
    static QString dataHome();
    static QString desktopEntry(const QString& programPath);
    static QString mimePackage();

    // Returns true when a file was (re)written. With refreshCaches the desktop's caches are
    // rebuilt in the background after a change.
    static bool registerFileType(const QString& programPath, const QString& dataHome, bool refreshCaches);
};

} // namespace satorix
