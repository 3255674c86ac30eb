#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <utility>

namespace satorix {

// Time-stamped copies of every database that came from the receiver, so that nothing received is
// lost even when the user never saves. Only the newest copies are kept.
class DownloadBackups {
public:
    static constexpr int KEEP = 20;

    // The folder under $XDG_DATA_HOME (~/.local/share when unset).
    static QString defaultFolder();

    explicit DownloadBackups(QString folder = {}) : folder_(std::move(folder)) {}
    QString folder() const { return folder_.isEmpty() ? defaultFolder() : folder_; }

    // Writes the bytes as they are and drops the oldest copies beyond KEEP. The file's path, or
    // empty when it could not be written.
    QString keep(const std::uint8_t* data, std::size_t size, const QDateTime& when = QDateTime::currentDateTime());
    // The copies, oldest first.
    QStringList files() const;

private:
    void prune() const;
    QString folder_;
};

} // namespace satorix
