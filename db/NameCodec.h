#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace satorix {

// Names of programs and providers in their own character table, as digital-TV receivers read
// them: a first byte 0x01..0x1F chooses the table, other names use a default table.
enum class NameTable { Latin1, Iso6937, Windows1252 };
// "latin1", "iso6937", "cp1252".
std::optional<NameTable> nameTableNamed(std::string_view name);
const char* nameTableName(NameTable table);

// UTF-8 text of a name's bytes (no NUL inside; see boundedName). Bytes no table can show become
// U+FFFD.
std::string decodeName(std::string_view bytes, NameTable fallback = NameTable::Latin1);

// The shortest bytes for UTF-8 text in a field of `room` bytes: no selector when the default
// table holds every character, else the first ISO 8859 table that does, with its selector.
// Text longer than the room is cut at a character. When no table holds every character, bytes is
// empty and unstorable lists the characters (UTF-8) that the best table lacks.
struct EncodedName {
    std::string bytes;
    std::string unstorable;
    bool ok() const { return unstorable.empty(); }
};
EncodedName encodeName(std::string_view utf8, NameTable fallback = NameTable::Latin1, std::size_t room = 15);

} // namespace satorix
