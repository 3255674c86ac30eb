#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/types.h>

namespace satorix {

// The first thing each program does: a write past the file-size limit then fails with EFBIG and
// is reported as a failed save, instead of SIGXFSZ ending the program with the user's edits.
void ignoreFileSizeSignal();

// Opens path for reading without waiting on a FIFO or a device. Only a regular file, or a link to
// one, is accepted; otherwise -1 with reason set to the system's words or "not a regular file".
int openRegularFile(const std::string& path, std::string& reason);

// Puts new contents in the place of a regular file without ever leaving half of it.
//
// The contents go to a temporary file beside the target, which is renamed over it; owner, group
// and mode of the old file are kept where the process may set them. A link is followed to its
// target, and a link that points nowhere creates it. A special file, or a file the user could not
// open for writing, is refused. When the folder takes no new file but the file is writable, the
// file is written in place and read back. A successful save removes the temporary files that
// killed saves of the same file left behind.
class FileReplacer {
public:
    FileReplacer() = default;
    FileReplacer(const FileReplacer&) = delete;
    FileReplacer& operator=(const FileReplacer&) = delete;
    ~FileReplacer();

    // False when the target cannot be written; nothing has changed then.
    bool open(const std::string& path);
    // Writes all of data and puts it in place; false leaves the old file (a temporary file's
    // failure) or reports that the file written in place did not read back.
    bool commit(const std::uint8_t* data, std::size_t size);

private:
    bool commitInPlace(const std::uint8_t* data, std::size_t size);
    void removeStaleTemporaries() const;

    std::string target_;
    std::string temporary_;
    int temporaryFd_ = -1;
    int targetFd_ = -1;
};

} // namespace satorix
