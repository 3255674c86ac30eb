#pragma once

#include <QString>

#include "app/DownloadBackups.h"
#include "link/TransferContext.h"

namespace satorix {

class CommandMap;
class COrbitDoc;

// The document's commands that talk to the receiver: download, upload, software upgrade and the
// port settings. Holds the one transfer context (cancel flag, identity, line time-outs) of the run.
class TransferCommands {
public:
    static constexpr const char* SOFTWARE_SECTION = "Binary_File_Section";
    static constexpr const char* SOFTWARE_KEY = "Item_1";
    // The file dialog's name buffer, terminator included.
    static constexpr int SOFTWARE_NAME_BUFFER = 300;

    explicit TransferCommands(COrbitDoc& doc);

    void registerCommands(CommandMap& commands);

    void onDownload();
    void onUpload();
    void onUpgrade();
    void onPortSettings();

    link::TransferContext& context() { return context_; }
    DownloadBackups& backups() { return backups_; }
    // The remembered path as the file dialog starts with it: cut to the name buffer.
    static QString initialSoftwareName(const QString& remembered);

private:
    // Runs the transmission dialog; true when it closed with OK.
    bool runDialog(int kind, bool& sessionCancelled);

    COrbitDoc& doc_;
    link::TransferContext context_;
    DownloadBackups backups_;
};

} // namespace satorix
