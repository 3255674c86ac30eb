// Loading, saving and the "programs.nfo" listing of ChannelDatabase.
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

#include "ChannelDatabase.h"
#include "FileSystem.h"
#include "Names.h"

namespace satorix {

int ChannelDatabase::load(const std::string& path)
{
    // A FIFO or a device would block here or never end; only a regular file is a database.
    std::string reason;
    const int fd = openRegularFile(path, reason);
    std::FILE* f = fd >= 0 ? ::fdopen(fd, "rb") : nullptr;
    if (!f) {
        if (fd >= 0) ::close(fd);
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

int ChannelDatabase::save(const std::string& path)
{
    FileReplacer file;
    if (!file.open(path)) return -1;
    updateCrc(loadedVersion_);
    if (!file.commit(imageBase(loadedVersion_), imageSize(loadedVersion_))) return -1;
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

bool ChannelDatabase::writeProgramListing(const std::string& path) const
{
    std::FILE* f = std::fopen(path.c_str(), "w");
    if (!f) return false;
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
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && written;
}

} // namespace satorix
