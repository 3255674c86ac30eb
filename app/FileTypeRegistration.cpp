#include "app/FileTypeRegistration.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

#include "app/UserFolders.h"

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

// The program an Exec= line starts: its first word, unquoted.
QString execProgram(const QString& exec)
{
    QString program;
    bool quoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
        } else if (c == QLatin1Char('\\') && quoted && i + 1 < exec.size()) {
            program += exec.at(++i);
        } else if (c.isSpace() && !quoted) {
            if (!program.isEmpty()) break;
        } else {
            program += c;
        }
    }
    return program;
}

// A cache older than the file it should know about is as good as none.
bool staleFor(const QString& cache, const QString& source)
{
    const QFileInfo c(cache);
    return !c.exists() || c.lastModified() < QFileInfo(source).lastModified();
}

// The icons the program carries, to the same places under the user's icon theme folder.
bool installIcons(const QString& dataHome)
{
    const QString from = QStringLiteral(":/satorix/icons");
    bool changed = false;
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        QFile in(source);
        if (!in.open(QIODevice::ReadOnly)) continue;
        if (writeIfDifferent(dataHome + QLatin1String("/icons") + source.mid(from.size()), in.readAll()))
            changed = true;
    }
    return changed;
}

} // namespace

QString FileTypeRegistration::dataHome() { return userFolders::dataHome(); }

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
                          "Keywords=satellite;receiver;channel;DVB;\n"
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

QString FileTypeRegistration::installedEntryFor(const QString& programPath)
{
    const QString running = QFileInfo(programPath).canonicalFilePath();
    if (running.isEmpty()) return {};
    QString dirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dirs.isEmpty()) dirs = QStringLiteral("/usr/local/share:/usr/share");
    for (const QString& dir : dirs.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        QFile entry(dir + QLatin1String("/applications/") + QLatin1String(DESKTOP_FILE));
        if (!entry.open(QIODevice::ReadOnly | QIODevice::Text)) continue;
        while (!entry.atEnd()) {
            const QString line = QString::fromUtf8(entry.readLine()).trimmed();
            if (!line.startsWith(QLatin1String("Exec="))) continue;
            QString program = execProgram(line.mid(5));
            if (!QDir::isAbsolutePath(program)) program = QStandardPaths::findExecutable(program);
            if (!program.isEmpty() && QFileInfo(program).canonicalFilePath() == running) return entry.fileName();
            break;
        }
    }
    return {};
}

QStringList FileTypeRegistration::staleCaches(const QString& dataHome)
{
    const QString applications = dataHome + QLatin1String("/applications");
    const QString mime = dataHome + QLatin1String("/mime");
    QStringList stale;
    if (staleFor(mime + QLatin1String("/mime.cache"), mime + QLatin1String("/packages/") + QLatin1String(MIME_FILE)))
        stale << mime;
    if (staleFor(applications + QLatin1String("/mimeinfo.cache"),
                 applications + QLatin1Char('/') + QLatin1String(DESKTOP_FILE)))
        stale << applications;
    return stale;
}

bool FileTypeRegistration::registerFileType(const QString& programPath, const QString& dataHome, bool refreshCaches)
{
    // A second entry of our own would only shadow the installed one under the same name.
    if (!installedEntryFor(programPath).isEmpty()) return false;
    const QString applications = dataHome + QLatin1String("/applications");
    const QString mime = dataHome + QLatin1String("/mime");
    bool changed = writeIfDifferent(applications + QLatin1Char('/') + QLatin1String(DESKTOP_FILE),
                                    desktopEntry(programPath).toUtf8());
    changed = writeIfDifferent(mime + QLatin1String("/packages/") + QLatin1String(MIME_FILE), mimePackage().toUtf8()) ||
              changed;
    changed = installIcons(dataHome) || changed;
    if (refreshCaches) {
        // Both tools are optional on a desktop; without them the files are still picked up later.
        for (const QString& folder : staleCaches(dataHome)) {
            const bool isMime = folder == mime;
            QProcess::startDetached(
                isMime ? QStringLiteral("update-mime-database") : QStringLiteral("update-desktop-database"), {folder});
        }
    }
    return changed;
}

} // namespace satorix
