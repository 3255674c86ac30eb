#include "app/AppConfig.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace satorix {

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
