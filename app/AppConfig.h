#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace satorix {

// The settings remembered between runs: a 264-byte block that is also, byte for byte, the file
// "tavolink.cfg" in the user's configuration folder. Accessors read and write the block itself, so
// the file keeps whatever the program does not understand.
class AppConfig {
public:
    static constexpr std::size_t SIZE = 264;
    static constexpr const char* FILE_NAME = "tavolink.cfg";
    static constexpr std::uint8_t OPTION_OPEN_LAST_EDITED = 0x01;
    static constexpr std::size_t LAST_PATH_SIZE = 256;

    AppConfig() = default;

    // $XDG_CONFIG_HOME/satorix/tavolink.cfg; ~/.config when the variable is unset or not absolute.
    static std::string userFile();

    // The user's file; while there is none, a "tavolink.cfg" in the current directory, where
    // earlier versions kept it, so that moving costs nobody their settings.
    void read();
    // A missing or short file gives the defaults (a short file's bytes are kept where defaults do not reach).
    void read(const std::string& path);
    // Into the user's file, creating its folder.
    bool write() const;
    // Silently does nothing when the file cannot be written.
    bool write(const std::string& path) const;
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
