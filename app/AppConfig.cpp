#include "app/AppConfig.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace satorix {

std::string AppConfig::userFile()
{
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (xdg && xdg[0] == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home ? home : "") + "/.config";
    }
    return base + "/satorix/" + FILE_NAME;
}

void AppConfig::read()
{
    const std::string user = userFile();
    std::error_code ec;
    read(std::filesystem::exists(user, ec) ? user : std::string(FILE_NAME));
}

bool AppConfig::write() const
{
    const std::string user = userFile();
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(user).parent_path(), ec);
    return write(user);
}

void AppConfig::read(const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        setDefaults();
        return;
    }
    // A short record still lands in the block; the defaults then cover only their own fields.
    const std::size_t got = std::fread(block_.data(), 1, SIZE, f);
    std::fclose(f);
    if (got < SIZE) setDefaults();
}

bool AppConfig::write(const std::string& path) const
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(block_.data(), 1, SIZE, f) == SIZE;
    return std::fclose(f) == 0 && ok;
}

void AppConfig::setDefaults()
{
    setPort(1);
    setBaudRate(115200);
    setOpenLastEdited(false);
    setLastPath({});
}

void AppConfig::setOpenLastEdited(bool on)
{
    if (on)
        block_[1] = static_cast<std::uint8_t>(block_[1] | OPTION_OPEN_LAST_EDITED);
    else
        block_[1] = static_cast<std::uint8_t>(block_[1] & ~OPTION_OPEN_LAST_EDITED);
}

std::uint32_t AppConfig::baudRate() const
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | block_[BAUD + i];
    return v;
}

void AppConfig::setBaudRate(std::uint32_t rate)
{
    for (int i = 0; i < 4; ++i) block_[BAUD + i] = static_cast<std::uint8_t>(rate >> (8 * i));
}

std::string AppConfig::lastPath() const
{
    const char* p = reinterpret_cast<const char*>(&block_[LAST_PATH]);
    return {p, strnlen(p, LAST_PATH_SIZE - 1)};
}

void AppConfig::setLastPath(const std::string& path)
{
    const std::size_t n = std::min(path.size(), LAST_PATH_SIZE - 1);
    std::memset(&block_[LAST_PATH], 0, LAST_PATH_SIZE);
    std::memcpy(&block_[LAST_PATH], path.data(), n);
}

} // namespace satorix
