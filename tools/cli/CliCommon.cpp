#include "tools/cli/CliCommon.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <vector>

namespace satorix::cli {

void reportMessagesToStderr(ChannelDatabase& db)
{
    db.setNotifier([](const std::string& text, MessageIcon) { std::fprintf(stderr, "%s\n", text.c_str()); });
}

bool readImageFile(const std::string& path, ChannelDatabase& db, long long& size)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        std::fprintf(stderr, "error: cannot open %s: %s\n", path.c_str(), std::strerror(errno));
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
    reportMessagesToStderr(db);
    db.setListingPath("");
    return db.load(path) == 0;
}

} // namespace satorix::cli
