#pragma once

#include <QString>
#include <QStringList>

namespace satorix {

// Makes "*.si" files open with this program: a desktop entry, a shared-mime-info package and the
// program's icon under the user's data directory. Runs at every start, so it writes only what
// differs, and ignores failures. An installed copy of the program needs none of it.
class FileTypeRegistration {
public:
    static constexpr const char* MIME_TYPE = "application/x-satorix-channel-database";
    static constexpr const char* DESKTOP_FILE = "satorix.desktop";
    static constexpr const char* MIME_FILE = "satorix-channel-database.xml";

    // $XDG_DATA_HOME, or ~/.local/share when it is unset or not absolute.
    static QString dataHome();
    static QString desktopEntry(const QString& programPath);
    static QString mimePackage();

    // The desktop entry in $XDG_DATA_DIRS whose Exec= starts this very program, or empty.
    static QString installedEntryFor(const QString& programPath);
    // The folders under dataHome whose desktop cache (mime.cache, mimeinfo.cache) is missing or
    // older than our file in them: a fresh account has neither, and "Open with" would never
    // learn the type.
    static QStringList staleCaches(const QString& dataHome);

    // Returns true when a file was (re)written. With refreshCaches the stale caches are rebuilt
    // in the background.
    static bool registerFileType(const QString& programPath, const QString& dataHome, bool refreshCaches);
};

} // namespace satorix
