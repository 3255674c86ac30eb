#include "FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace satorix {
namespace {

constexpr int MAX_LINK_HOPS = 40; // as the kernel's own limit
// A file written in place is kept in memory for a restore only up to this size.
constexpr std::size_t MAX_KEPT_FOR_RESTORE = 16u << 20;

std::string folderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Follows links to the file a save must replace, also when the last one points nowhere yet.
bool resolveLinks(const std::string& path, std::string& target)
{
    target = path;
    for (int hop = 0; hop < MAX_LINK_HOPS; ++hop) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0) return errno == ENOENT;
        if (!S_ISLNK(st.st_mode)) return true;
        std::vector<char> buf(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
        const ssize_t n = ::readlink(target.c_str(), buf.data(), buf.size());
        if (n < 0 || static_cast<std::size_t>(n) >= buf.size()) return false;
        const std::string link(buf.data(), static_cast<std::size_t>(n));
        target = link.front() == '/' ? link : folderOf(target) + "/" + link;
    }
    return false;
}

bool writeAll(int fd, const std::uint8_t* buf, std::size_t len)
{
    while (len > 0) {
        const ssize_t n = ::write(fd, buf, len);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        buf += n;
        len -= static_cast<std::size_t>(n);
    }
    return true;
}

bool readAll(int fd, std::vector<std::uint8_t>& buf)
{
    std::size_t at = 0;
    while (at < buf.size()) {
        const ssize_t n = ::pread(fd, buf.data() + at, buf.size() - at, static_cast<off_t>(at));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        at += static_cast<std::size_t>(n);
    }
    return true;
}

bool readsBack(int fd, const std::uint8_t* data, std::size_t size)
{
    std::vector<std::uint8_t> buf(64 * 1024);
    std::size_t at = 0;
    while (at < size) {
        const ssize_t n = ::pread(fd, buf.data(), std::min(buf.size(), size - at), static_cast<off_t>(at));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0 || std::memcmp(buf.data(), data + at, static_cast<std::size_t>(n)) != 0) return false;
        at += static_cast<std::size_t>(n);
    }
    return true;
}

// "Channel.si.Ab3xZ9": what mkostemp made of the target's name.
bool isTemporaryOf(const std::string& entry, const std::string& name)
{
    if (entry.size() != name.size() + 7 || entry.compare(0, name.size(), name) != 0 || entry[name.size()] != '.')
        return false;
    for (std::size_t i = name.size() + 1; i < entry.size(); ++i) {
        const char c = entry[i];
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
    }
    return true;
}

} // namespace

void ignoreFileSizeSignal() { std::signal(SIGXFSZ, SIG_IGN); }

int openRegularFile(const std::string& path, std::string& reason)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        reason = std::strerror(errno);
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        reason = "not a regular file";
        ::close(fd);
        return -1;
    }
    return fd;
}

FileReplacer::~FileReplacer()
{
    if (temporaryFd_ >= 0) {
        ::close(temporaryFd_);
        ::unlink(temporary_.c_str());
    }
    if (targetFd_ >= 0) ::close(targetFd_);
}

bool FileReplacer::open(const std::string& path)
{
    if (!resolveLinks(path, target_)) return false;
    struct stat old {};
    const bool exists = ::stat(target_.c_str(), &old) == 0;
    if (exists) {
        if (!S_ISREG(old.st_mode)) return false;
        // The rename would not ask the file; the user must be able to write it.
        // Readable too where it may be, so that a write in place can be read back.
        const int flags = O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
        targetFd_ = ::open(target_.c_str(), O_RDWR | flags);
        if (targetFd_ < 0 && errno == EACCES) targetFd_ = ::open(target_.c_str(), O_WRONLY | flags);
        if (targetFd_ < 0 || ::fstat(targetFd_, &old) != 0 || !S_ISREG(old.st_mode)) return false;
    }

    std::string tmpl = target_ + ".XXXXXX";
    const int fd = ::mkostemp(tmpl.data(), O_CLOEXEC);
    if (fd < 0) return exists && (errno == EACCES || errno == EPERM); // in place, if at all
    temporaryFd_ = fd;
    temporary_ = tmpl;
    // Held until the rename, so that another save does not take this file for a dead one.
    ::flock(fd, LOCK_EX | LOCK_NB);
    if (exists) {
        // Owner and group first: a change of owner clears the set-id bits of the mode.
        if (::fchown(fd, old.st_uid, old.st_gid) != 0 && ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
            // Not ours to give away: the file becomes the user's, as any new file would.
        }
        ::fchmod(fd, old.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    return true;
}

bool FileReplacer::commit(const std::uint8_t* data, std::size_t size)
{
    if (temporaryFd_ < 0) return targetFd_ >= 0 && commitInPlace(data, size);
    bool ok = writeAll(temporaryFd_, data, size);
    ok = (::fsync(temporaryFd_) == 0) && ok;
    ok = ok && std::rename(temporary_.c_str(), target_.c_str()) == 0;
    if (!ok) return false; // the destructor removes the temporary file
    ::close(temporaryFd_);
    temporaryFd_ = -1;
    const int folder = ::open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    removeStaleTemporaries();
    return true;
}

bool FileReplacer::commitInPlace(const std::uint8_t* data, std::size_t size)
{
    // Overwritten, never truncated first: on most file systems a file of the image's size then
    // needs no new blocks, and a full disk cannot stop the write half-way.
    // Should a write fail all the same, the old contents go back where they can be read.
    const bool readable = (::fcntl(targetFd_, F_GETFL) & O_ACCMODE) == O_RDWR;
    std::vector<std::uint8_t> old;
    struct stat st {};
    if (readable && ::fstat(targetFd_, &st) == 0 && st.st_size <= static_cast<off_t>(MAX_KEPT_FOR_RESTORE)) {
        old.resize(static_cast<std::size_t>(st.st_size));
        if (!readAll(targetFd_, old)) old.clear();
    }
    if (::lseek(targetFd_, 0, SEEK_SET) == 0 && writeAll(targetFd_, data, size) &&
        ::ftruncate(targetFd_, static_cast<off_t>(size)) == 0 && ::fsync(targetFd_) == 0)
        return !readable || readsBack(targetFd_, data, size); // unreadable: the writes were checked
    if (!old.empty() && ::lseek(targetFd_, 0, SEEK_SET) == 0 && writeAll(targetFd_, old.data(), old.size()))
        if (::ftruncate(targetFd_, static_cast<off_t>(old.size())) == 0) ::fsync(targetFd_);
    return false;
}

void FileReplacer::removeStaleTemporaries() const
{
    const std::string folder = folderOf(target_), name = nameOf(target_);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    const int dfd = ::dirfd(dir);
    while (const dirent* e = ::readdir(dir)) {
        if (!isTemporaryOf(e->d_name, name)) continue;
        const int fd = ::openat(dfd, e->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st {};
        // Only a regular file nobody holds: a save that is still writing keeps its lock.
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(dfd, e->d_name, 0);
        ::close(fd);
    }
    ::closedir(dir);
}

} // namespace satorix
