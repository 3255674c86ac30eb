#include "app/RecentFileList.h"

#include <QFileInfo>
#include <QSettings>

namespace satorix {

namespace {
const QString SECTION = QStringLiteral("Recent File List");
QString key(int i) { return SECTION + QStringLiteral("/File%1").arg(i + 1); }
} // namespace

void RecentFileList::load()
{
    QSettings settings;
    files_.clear();
    for (int i = 0; i < SIZE; ++i) {
        const QString path = settings.value(key(i)).toString();
        if (!path.isEmpty()) files_.append(path);
    }
    ++revision_;
}

void RecentFileList::save()
{
    ++revision_;
    QSettings settings;
    for (int i = 0; i < SIZE; ++i) {
        if (i < files_.size())
            settings.setValue(key(i), files_.at(i));
        else
            settings.remove(key(i));
    }
}

void RecentFileList::add(const QString& path)
{
    const QString full = QFileInfo(path).absoluteFilePath();
    files_.removeAll(full);
    files_.prepend(full);
    while (files_.size() > SIZE) files_.removeLast();
    save();
}

void RecentFileList::remove(int index)
{
    if (index < 0 || index >= files_.size()) return;
    files_.removeAt(index);
    save();
}

} // namespace satorix
