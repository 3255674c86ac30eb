#include "app/DownloadBackups.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include "app/FileTypeRegistration.h"

namespace satorix {

namespace {

const QString PREFIX = QStringLiteral("Channel-");
const QString SUFFIX = QStringLiteral(".si");

} // namespace

QString DownloadBackups::defaultFolder()
{
    return FileTypeRegistration::dataHome() + QStringLiteral("/satorix/backups");
}

QString DownloadBackups::keep(const std::uint8_t* data, std::size_t size, const QDateTime& when)
{
    const QDir dir(folder());
    if (!dir.mkpath(QStringLiteral("."))) return {};
    // The stamp sorts by time; two downloads within one millisecond get a counter.
    const QString stamp = when.toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    QString path = dir.filePath(PREFIX + stamp + SUFFIX);
    for (int n = 2; QFile::exists(path); ++n)
        path = dir.filePath(PREFIX + stamp + QStringLiteral("-%1").arg(n) + SUFFIX);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return {};
    const auto length = static_cast<qint64>(size);
    if (file.write(reinterpret_cast<const char*>(data), length) != length || !file.commit()) return {};
    prune();
    return path;
}

QStringList DownloadBackups::files() const
{
    const QDir dir(folder());
    QStringList names = dir.entryList({PREFIX + QStringLiteral("*") + SUFFIX}, QDir::Files, QDir::Name);
    for (QString& name : names) name = dir.filePath(name);
    return names;
}

void DownloadBackups::prune() const
{
    const QStringList all = files();
    for (qsizetype i = 0; i + KEEP < all.size(); ++i) QFile::remove(all.at(i));
}

} // namespace satorix
