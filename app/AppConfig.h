#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace satorix {

// The settings remembered between runs: a 264-byte block that is also, byte for byte, the file
// "tavolink.cfg" in the current directory. Accessors read and write the block itself, so the file
// keeps whatever the program does not understand.
class AppConfig {
public:
    static constexpr std::size_t SIZE = 264;
    static constexpr const char* FILE_NAME = "tavolink.cfg";
    static constexpr std::uint8_t OPTION_OPEN_LAST_EDITED = 0x01;
    static constexpr std::size_t LAST_PATH_SIZE = 256;

    AppConfig() = default;

    // A missing or short file gives the defaults (a short file's bytes are kept where defaults do not reach).
    void read(const std::string& path = FILE_NAME);
    // Silently does nothing when the file cannot be written.
    bool write(const std::string& path = FILE_NAME) const;
    void setDefaults();

    int port() const { return block_[0]; }
    void setPort(int port) { block_[0] = static_cast<std::uint8_t>(port); }
    std::uint8_t options() const { return block_[1]; }
    bool openLastEdited() const { return (block_[1] & OPTION_OPEN_LAST_EDITED) != 0; }
    void setOpenLastEdited(bool on);
    std::uint32_t baudRate() const;
    void setBaudRate(std::uint32_t rate);
    std::string lastPath() const;
    // Cut to 255 bytes: the field has room for no more.
    void setLastPath(const std::string& path);

    const std::array<std::uint8_t, SIZE>& bytes() const { return block_; }

private:
    static constexpr std::size_t BAUD = 4;
    static constexpr std::size_t LAST_PATH = 8;
    std::array<std::uint8_t, SIZE> block_{};
};

} // namespace satorix
