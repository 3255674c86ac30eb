// Loading, saving and the "programs.nfo" listing of ChannelDatabase.
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ChannelDatabase.h"
#include "Names.h"

namespace satorix {

int ChannelDatabase::load(const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        notify("Open1", MessageIcon::Exclamation);
        return -1;
    }
    // Read aside first: a file that fails half-way leaves the database as it was.
    const std::size_t size = imageSize(version_);
    std::vector<std::uint8_t> buf(size);
    std::size_t got = 0;
    while (got < size) {
        const std::size_t n = std::fread(buf.data() + got, 1, size - got, f);
        if (n == 0) break;
        got += n;
    }
    std::fclose(f);
    if (got < size) {
        notify("Error: Open failed2", MessageIcon::Exclamation);
        return -3;
    }
    std::memcpy(imageBase(version_), buf.data(), size);
    loadedVersion_ = version_;
    loaded_ = 1;
    purgeUnusedProviders();
    if (!listingPath_.empty()) writeProgramListing(listingPath_);
    lastPath_ = path;
    return 0;
}

namespace {

// Writes all of buf to fd; false on any error (a full disk included).
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

// A link is replaced through its target, so that saving never turns it into a plain file.
std::string resolveTarget(const std::string& path)
{
    char buf[PATH_MAX];
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode) && ::realpath(path.c_str(), buf)) return buf;
    return path;
}

mode_t newFileMode(const std::string& target)
{
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

int ChannelDatabase::save(const std::string& path)
{
    // Written beside the target and renamed over it: a crash or a full disk never leaves half a file.
    const std::string target = resolveTarget(path);
    std::string tmpl = target + ".XXXXXX";
    const int fd = ::mkostemp(tmpl.data(), O_CLOEXEC);
    if (fd < 0) return -1;
    ::fchmod(fd, newFileMode(target));

    updateCrc(loadedVersion_);
    bool ok = writeAll(fd, imageBase(loadedVersion_), imageSize(loadedVersion_));
    ok = (::fsync(fd) == 0) && ok;
    ok = (::close(fd) == 0) && ok;
    if (!ok || std::rename(tmpl.c_str(), target.c_str()) != 0) {
        ::unlink(tmpl.c_str());
        return -1;
    }
    lastPath_ = path;
    return 0;
}

namespace {

// The listing's fields, formatted by hand: printf would cost more than loading the file.
void appendPadded(std::string& out, std::string_view text, std::size_t width)
{
    if (text.size() < width) out.append(width - text.size(), ' ');
    out.append(text);
}

void appendNumber(std::string& out, unsigned value, std::size_t width, bool hex = false)
{
    char buf[12];
    char* end = buf + sizeof buf;
    char* p = end;
    const unsigned base = hex ? 16 : 10;
    do {
        *--p = "0123456789ABCDEF"[value % base];
        value /= base;
    } while (value);
    out += ' ';
    appendPadded(out, std::string_view(p, static_cast<std::size_t>(end - p)), width);
}

} // namespace

void ChannelDatabase::writeProgramListing(const std::string& path) const
{
    std::FILE* f = std::fopen(path.c_str(), "w");
    if (!f) return;
    const int n = programsInUse();
    std::string text;
    text.reserve(static_cast<std::size_t>(n) * 60);
    RecordView rec;
    for (int i = 0; i < n; ++i) {
        if (getRecord(DBT_PROGRAM, i, rec) != 0) break;
        std::string_view name = boundedName(rec.name[0]);
        if (!name.empty() && isCharTableByte(static_cast<unsigned char>(name[0]))) {
            // "%02X  %16s": the character-table byte in hex, then the rest of the name
            const unsigned c = static_cast<unsigned char>(name[0]);
            text += "0123456789ABCDEF"[c >> 4];
            text += "0123456789ABCDEF"[c & 15];
            text += "  ";
            name.remove_prefix(1);
        } else {
            text += "    ";
        }
        appendPadded(text, name, 16);
        // " %5d %5d %5d %4d %4d %4d %1X\n"
        appendNumber(text, static_cast<unsigned>(rec.field[progf::SERVICE_ID]), 5);
        appendNumber(text, static_cast<unsigned>(rec.field[progf::PROVIDER]), 5);
        appendNumber(text, static_cast<unsigned>(rec.field[progf::TRANSPONDER]), 5);
        appendNumber(text, static_cast<unsigned>(rec.field[progf::VIDEO_PID]), 4);
        appendNumber(text, static_cast<unsigned>(rec.field[progf::AUDIO_PID]), 4);
        appendNumber(text, static_cast<unsigned>(rec.field[progf::PCR_PID]), 4);
        appendNumber(text, static_cast<unsigned>(rec.field[progf::FLAGS]), 1, true);
        text += '\n';
    }
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
}

} // namespace satorix
