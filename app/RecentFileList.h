#pragma once

#include <QString>
#include <QStringList>

namespace satorix {

// The File menu's most recently used files, newest first, kept in the profile
// (section "Recent File List", keys File1..File4).
class RecentFileList {
public:
    static constexpr int SIZE = 4;

    void load();
    void save();
    void add(const QString& path);
    void remove(int index);
    const QStringList& files() const { return files_; }
    // Grows with every change, so that the menu knows when to refill.
    int revision() const { return revision_; }

private:
    QStringList files_;
    int revision_ = 0;
};

} // namespace satorix
