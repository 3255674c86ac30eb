#include "link/ui/PortDevices.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <algorithm>

#include "link/StbPort.h"

namespace satorix {

namespace {

QString key(int port) { return QStringLiteral("%1/COM%2").arg(QString::fromLatin1(PortDevices::SECTION)).arg(port); }

bool validPort(int port) { return port >= 1 && port <= link::StbPort::PORT_COUNT; }

// Numbers compare by value, so that ttyS2 comes before ttyS10.
bool naturalLess(const QString& a, const QString& b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            qsizetype ie = i;
            qsizetype je = j;
            while (ie < a.size() && a[ie].isDigit()) ++ie;
            while (je < b.size() && b[je].isDigit()) ++je;
            const qulonglong na = a.mid(i, ie - i).toULongLong();
            const qulonglong nb = b.mid(j, je - j).toULongLong();
            if (na != nb) return na < nb;
            i = ie;
            j = je;
            continue;
        }
        if (a[i] != b[j]) return a[i] < b[j];
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

} // namespace

QString PortDevices::defaultDevice(int port) { return QFile::decodeName(link::StbPort::defaultDevice(port).c_str()); }

QString PortDevices::device(int port)
{
    const QString chosen = QSettings().value(key(port)).toString();
    return chosen.isEmpty() ? defaultDevice(port) : chosen;
}

void PortDevices::setDevice(int port, const QString& path)
{
    if (!validPort(port)) return;
    const QString trimmed = path.trimmed();
    QSettings settings;
    if (trimmed.isEmpty() || trimmed == defaultDevice(port)) {
        settings.remove(key(port));
    } else {
        settings.setValue(key(port), trimmed);
    }
}

std::string PortDevices::transferDevice(int port)
{
    const QString chosen = QSettings().value(key(port)).toString();
    return link::StbPort::devicePath(port, QFile::encodeName(chosen).toStdString());
}

QString PortDevices::environmentOverride(int port)
{
    return QFile::decodeName(link::StbPort::environmentDevice(port).c_str());
}

QStringList PortDevices::presentDevices(const QString& devRoot)
{
    const QDir::Filters nodes = QDir::System | QDir::Files | QDir::NoDotAndDotDot;
    auto sorted = [](QStringList names) {
        std::sort(names.begin(), names.end(), naturalLess);
        return names;
    };
    QStringList out;
    const QDir dev(devRoot);
    for (const char* pattern : {"ttyUSB*", "ttyACM*", "ttyS*"})
        for (const QString& name : sorted(dev.entryList({QString::fromLatin1(pattern)}, nodes)))
            out << dev.filePath(name);
    const QDir byId(dev.filePath(QStringLiteral("serial/by-id")));
    for (const QString& name : sorted(byId.entryList(nodes))) out << byId.filePath(name);
    return out;
}

} // namespace satorix
