#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace satorix::link {

constexpr std::size_t IDENTITY_SIZE = 32;
constexpr std::size_t FILE_INFO_SIZE = 32;

// What each end reports about itself (the payload of PKT_REPORT).
struct StbIdentity {
    std::uint32_t hardwareId = 0;
    std::uint16_t compatWord0 = 0;
    std::uint16_t infoWord = 0;
    std::uint16_t compatWord1 = 0;
    std::uint16_t compatWord2 = 0;
    std::uint32_t infoDword = 0;
    std::array<char, 8> model{};
    std::array<std::uint32_t, 2> reserved{};

    using Bytes = std::array<std::uint8_t, IDENTITY_SIZE>;
    Bytes bytes() const;
    static StbIdentity fromBytes(const std::uint8_t* p);
    // Replaces the first n (at most 32) bytes by those at p; the rest keep their value.
    void assignPrefix(const std::uint8_t* p, std::size_t n);

    bool isWildcard() const { return hardwareId == 0x7FFFFFFF || hardwareId == 0x7F7FFFFF || hardwareId == 0x7F7F7F7F; }
    bool sameWords(const StbIdentity& o) const
    {
        return compatWord0 == o.compatWord0 && compatWord1 == o.compatWord1 && compatWord2 == o.compatWord2;
    }
    bool operator==(const StbIdentity&) const = default;
};

// The program's own identity, sent in every download and used for the database upload.
extern const StbIdentity OWN_IDENTITY;

// The payload of PKT_FILE_HEADER: what follows in blocks.
struct FileInfo {
    std::uint32_t type = 0;
    std::uint32_t targetAddress = 0;
    std::uint32_t fileSize = 0;
    std::uint32_t blockCount = 0;
    std::array<std::uint8_t, 16> reserved{};

    using Bytes = std::array<std::uint8_t, FILE_INFO_SIZE>;
    Bytes bytes() const;
    static FileInfo fromBytes(const std::uint8_t* p);
    bool operator==(const FileInfo&) const = default;
};

} // namespace satorix::link
