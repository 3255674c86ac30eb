// The character tables of DVB service information for names: single-byte tables are read once
// into 256-entry maps through iconv; the multi-byte ones go through iconv each time (rare).
#include "db/NameCodec.h"

#include <array>
#include <cerrno>
#include <iconv.h>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace satorix {
namespace {

constexpr const char* REPLACEMENT = "\xEF\xBF\xBD";

std::string convert(const char* from, const char* to, std::string_view in, bool& complete)
{
    complete = true;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        complete = false;
        return {};
    }
    std::string out(in.size() * 4 + 8, '\0');
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char* dst = out.data();
    std::size_t dstLeft = out.size();
    while (srcLeft > 0) {
        if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) break;
        // A byte the table does not have: one replacement, then on.
        complete = false;
        if (std::string(REPLACEMENT).size() > dstLeft) break;
        for (const char* r = REPLACEMENT; *r; ++r, --dstLeft) *dst++ = *r;
        ++src;
        --srcLeft;
    }
    iconv_close(cd);
    out.resize(out.size() - dstLeft);
    return out;
}

// A single-byte table: the UTF-8 text of each byte, empty where the table has none.
struct ByteTable {
    std::array<std::string, 256> text;
    std::map<std::string, unsigned char> byText;
};

const ByteTable* byteTable(const std::string& iconvName)
{
    static std::mutex lock;
    static std::map<std::string, std::unique_ptr<ByteTable>> tables;
    const std::lock_guard<std::mutex> guard(lock);
    auto& t = tables[iconvName];
    if (!t) {
        t = std::make_unique<ByteTable>();
        for (int b = 0x20; b < 256; ++b) {
            // Controls, and DVB's own codes in 0x80..0x9F (where Windows-1252 has letters).
            if (b == 0x7F || (b < 0xA0 && b >= 0x80 && iconvName != "CP1252")) continue;
            const char c = static_cast<char>(b);
            bool complete = true;
            const std::string s = convert(iconvName.c_str(), "UTF-8", std::string_view(&c, 1), complete);
            if (!complete || s.empty()) continue;
            t->text[static_cast<std::size_t>(b)] = s;
            t->byText.emplace(s, static_cast<unsigned char>(b));
        }
    }
    return t.get();
}

std::string iso8859(int part) { return "ISO-8859-" + std::to_string(part); }

// The single-byte table of a selector byte 0x01..0x0B, or empty (0x08 is reserved).
std::string selectedTable(unsigned char selector)
{
    if (selector < 1 || selector > 0x0B || selector == 0x08) return {};
    return iso8859(selector + 4);
}

std::string fallbackTable(NameTable table)
{
    switch (table) {
    case NameTable::Latin1: return "ISO-8859-1";
    case NameTable::Iso6937: return "ISO_6937";
    case NameTable::Windows1252: return "CP1252";
    }
    return "ISO-8859-1";
}

std::string decodeBytes(std::string_view bytes, const std::string& table)
{
    const ByteTable* t = byteTable(table);
    std::string out;
    out.reserve(bytes.size());
    for (unsigned char b : bytes) {
        if (b < 0x20 || (b >= 0x80 && b < 0xA0 && t->text[b].empty())) {
            // DVB's line break reads as a space; emphasis and the other codes show nothing.
            if (b == 0x8A) out += ' ';
            continue;
        }
        const std::string& s = t->text[b];
        out += s.empty() ? std::string(REPLACEMENT) : s;
    }
    return out;
}

std::string decodeMultiByte(std::string_view bytes, const char* table)
{
    bool complete = true;
    return convert(table, "UTF-8", bytes, complete);
}

// UTF-8 split into characters; invalid bytes stand alone.
std::vector<std::string> characters(std::string_view utf8)
{
    std::vector<std::string> out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
        if (i + n > utf8.size()) n = 1;
        out.emplace_back(utf8.substr(i, n));
        i += n;
    }
    return out;
}

} // namespace

std::optional<NameTable> nameTableNamed(std::string_view name)
{
    if (name == "latin1") return NameTable::Latin1;
    if (name == "iso6937") return NameTable::Iso6937;
    if (name == "cp1252") return NameTable::Windows1252;
    return std::nullopt;
}

const char* nameTableName(NameTable table)
{
    switch (table) {
    case NameTable::Latin1: return "latin1";
    case NameTable::Iso6937: return "iso6937";
    case NameTable::Windows1252: return "cp1252";
    }
    return "latin1";
}

std::string decodeName(std::string_view bytes, NameTable fallback)
{
    if (bytes.empty()) return {};
    const auto selector = static_cast<unsigned char>(bytes[0]);
    if (selector >= 0x20) {
        if (fallback == NameTable::Iso6937) return decodeMultiByte(bytes, "ISO_6937");
        return decodeBytes(bytes, fallbackTable(fallback));
    }
    const std::string_view rest = bytes.substr(1);
    if (const std::string table = selectedTable(selector); !table.empty()) return decodeBytes(rest, table);
    switch (selector) {
    case 0x10: {
        if (bytes.size() < 3) return {};
        const int part = static_cast<unsigned char>(bytes[1]) << 8 | static_cast<unsigned char>(bytes[2]);
        if (part < 1 || part > 16 || part == 12) return decodeBytes(bytes.substr(3), "ASCII");
        return decodeBytes(bytes.substr(3), iso8859(part));
    }
    case 0x11: return decodeMultiByte(rest, "UCS-2BE");
    case 0x12: return decodeMultiByte(rest, "EUC-KR");
    case 0x13: return decodeMultiByte(rest, "GB2312");
    case 0x14: return decodeMultiByte(rest, "BIG5");
    case 0x15: return decodeMultiByte(rest, "UTF-8");
    default: return decodeBytes(rest, "ASCII"); // reserved tables: what is not ASCII is unknown
    }
}

EncodedName encodeName(std::string_view utf8, NameTable fallback, std::size_t room)
{
    const std::vector<std::string> chars = characters(utf8);
    struct Candidate {
        std::string prefix;
        std::string table;
    };
    std::vector<Candidate> candidates = {{"", fallbackTable(fallback)}};
    for (unsigned char s = 0x01; s <= 0x0B; ++s)
        if (!selectedTable(s).empty()) candidates.push_back({std::string(1, static_cast<char>(s)), selectedTable(s)});
    for (int part : {1, 2, 3, 4, 16})
        candidates.push_back({std::string{'\x10', '\0', static_cast<char>(part)}, iso8859(part)});

    std::size_t bestCovered = 0;
    std::string bestMissing;
    for (const Candidate& c : candidates) {
        std::string bytes = c.prefix;
        std::string missing;
        std::size_t covered = 0;
        bool full = false;
        for (const std::string& ch : chars) {
            std::string encoded;
            if (c.table == "ISO_6937") {
                bool complete = true;
                encoded = convert("UTF-8", "ISO_6937", ch, complete);
                if (!complete) encoded.clear();
            } else if (const auto it = byteTable(c.table)->byText.find(ch); it != byteTable(c.table)->byText.end()) {
                encoded = std::string(1, static_cast<char>(it->second));
            }
            if (encoded.empty()) {
                missing += ch;
                continue;
            }
            ++covered;
            full = full || bytes.size() + encoded.size() > room;
            if (!full) bytes += encoded;
        }
        if (missing.empty()) return {bytes, {}};
        if (covered > bestCovered || bestMissing.empty()) {
            bestCovered = covered;
            bestMissing = missing;
        }
    }
    return {{}, bestMissing};
}

} // namespace satorix
