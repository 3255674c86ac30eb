#include "tools/cli/CliCommon.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "db/FileSystem.h"

namespace satorix::cli {

void reportMessagesToStderr(ChannelDatabase& db)
{
    db.setNotifier([](const std::string& text, MessageIcon) { std::fprintf(stderr, "%s\n", text.c_str()); });
}

bool readImageFile(const std::string& path, ChannelDatabase& db, long long& size)
{
    std::string reason;
    const int fd = openRegularFile(path, reason);
    std::FILE* f = fd >= 0 ? ::fdopen(fd, "rb") : nullptr;
    if (!f) {
        if (fd >= 0) ::close(fd);
        std::fprintf(stderr, "error: cannot open %s: %s\n", path.c_str(),
                     fd >= 0 ? std::strerror(errno) : reason.c_str());
        return false;
    }
    struct stat st {};
    size = (::fstat(fileno(f), &st) == 0) ? static_cast<long long>(st.st_size) : -1;
    std::vector<std::uint8_t> buf(IMAGE_SIZE);
    std::size_t got = 0;
    while (got < buf.size()) {
        const std::size_t n = std::fread(buf.data() + got, 1, buf.size() - got, f);
        if (n == 0) break;
        got += n;
    }
    std::fclose(f);
    db.assignImage(buf.data(), got);
    if (got < IMAGE_SIZE) {
        std::fprintf(stderr, "error: %s: %zu bytes, a database has %zu\n", path.c_str(), got, IMAGE_SIZE);
        return false;
    }
    db.setLoaded(true);
    return true;
}

bool loadLikeEditor(const std::string& path, ChannelDatabase& db)
{
    // The editor's "Open1" and "Open failed2" say nothing of why; a script's user gets the reason.
    std::string reason;
    const int fd = openRegularFile(path, reason);
    if (fd < 0) {
        std::fprintf(stderr, "error: cannot open %s: %s\n", path.c_str(), reason.c_str());
        return false;
    }
    struct stat st {};
    const long long size = ::fstat(fd, &st) == 0 ? static_cast<long long>(st.st_size) : -1;
    ::close(fd);
    if (size >= 0 && size < static_cast<long long>(IMAGE_SIZE)) {
        std::fprintf(stderr, "error: %s: %lld bytes, a database has %zu\n", path.c_str(), size, IMAGE_SIZE);
        return false;
    }
    // The load's own messages are the editor's box texts; this says what failed instead.
    db.setNotifier({});
    db.setListingPath("");
    if (db.load(path) != 0) {
        std::fprintf(stderr, "error: cannot read %s\n", path.c_str());
        return false;
    }
    reportMessagesToStderr(db);
    return true;
}

void addNameTableOption(CLI::App* sub, std::string& table)
{
    sub->add_option("--name-table", table, "Table of names without a character-table byte")
        ->check(CLI::IsMember({"latin1", "iso6937", "cp1252"}))
        ->capture_default_str();
}

} // namespace satorix::cli
