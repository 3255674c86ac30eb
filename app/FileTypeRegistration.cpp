#include "app/FileTypeRegistration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>

namespace satorix {

namespace {

// Exec= needs quoting when the path holds characters the desktop entry format reserves.
QString execArgument(const QString& path)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool needsQuotes = false;
    for (const QChar c : path)
        if (reserved.contains(c)) needsQuotes = true;
    if (!needsQuotes) return path;
    QString quoted;
    for (const QChar c : path) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    // The value itself is a string, in which a backslash is escaped once more.
    quoted.replace(QLatin1String("\\"), QLatin1String("\\\\"));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// True when the file was written.
bool writeIfDifferent(const QString& path, const QByteArray& content)
{
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == content) return false;
    existing.close();
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly)) return false;
    out.write(content);
    return out.commit();
}

} // namespace

QString FileTypeRegistration::dataHome()
{
    const QString env = qEnvironmentVariable("XDG_DATA_HOME");
    if (!env.isEmpty() && QDir::isAbsolutePath(env)) return env;
    return QDir::homePath() + QLatin1String("/.local/share");
}

QString FileTypeRegistration::desktopEntry(const QString& programPath)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Satorix for HD\n"
                          "GenericName=Channel Database Editor\n"
                          "Comment=Edit the channel database of a satellite receiver\n"
                          "Exec=%1 %f\n"
                          "Icon=satorix\n"
                          "Terminal=false\n"
                          "Categories=Utility;\n"
                          "MimeType=%2;\n")
        .arg(execArgument(programPath), QLatin1String(MIME_TYPE));
}

QString FileTypeRegistration::mimePackage()
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                          "  <mime-type type=\"%1\">\n"
                          "    <comment>SatorixEdit Database</comment>\n"
                          "    <icon name=\"satorix\"/>\n"
                          "    <glob pattern=\"*.si\"/>\n"
                          "  </mime-type>\n"
                          "</mime-info>\n")
        .arg(QLatin1String(MIME_TYPE));
}

bool FileTypeRegistration::registerFileType(const QString& programPath, const QString& dataHome, bool refreshCaches)
{
    const QString applications = dataHome + QLatin1String("/applications");
    const QString mime = dataHome + QLatin1String("/mime");
    const bool desktopChanged = writeIfDifferent(applications + QLatin1Char('/') + QLatin1String(DESKTOP_FILE),
                                                 desktopEntry(programPath).toUtf8());
    const bool mimeChanged =
        writeIfDifferent(mime + QLatin1String("/packages/") + QLatin1String(MIME_FILE), mimePackage().toUtf8());
    if (refreshCaches) {
        // Both tools are optional on a desktop; without them the files are still picked up later.
        if (mimeChanged) QProcess::startDetached(QStringLiteral("update-mime-database"), {mime});
        if (desktopChanged) QProcess::startDetached(QStringLiteral("update-desktop-database"), {applications});
    }
    return desktopChanged || mimeChanged;
}

} // namespace satorix
