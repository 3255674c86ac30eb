#pragma once

#include <QString>

namespace satorix::userFolders {

// $XDG_DATA_HOME, or ~/.local/share when it is unset or not absolute.
QString dataHome();
// The program's own folder under dataHome().
QString appData();
// Where "programs.nfo" goes after every load and download; the folder is made on the way, since
// the listing itself is written silently or not at all.
QString listingFile();

} // namespace satorix::userFolders
