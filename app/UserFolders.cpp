#include "app/UserFolders.h"

#include <QDir>

namespace satorix::userFolders {

QString dataHome()
{
    const QString env = qEnvironmentVariable("XDG_DATA_HOME");
    if (!env.isEmpty() && QDir::isAbsolutePath(env)) return env;
    return QDir::homePath() + QLatin1String("/.local/share");
}

QString appData() { return dataHome() + QLatin1String("/satorix"); }

QString listingFile()
{
    QDir().mkpath(appData());
    return appData() + QLatin1String("/programs.nfo");
}

} // namespace satorix::userFolders
