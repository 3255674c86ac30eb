// Names in their own character table: what each selector reads as, and the shortest bytes for
// what a user types.
#include <gtest/gtest.h>

#include "db/NameCodec.h"

namespace satorix {
namespace {

TEST(NameCodecTest, SelectorsChooseTheTable)
{
    const struct {
        std::string bytes;
        NameTable fallback;
        std::string text;
    } cases[] = {
        {"Caf\xE9", NameTable::Latin1, "Café"},
        {"\x80\x9C", NameTable::Windows1252, "€œ"},
        {"\xC2"
         "e",
         NameTable::Iso6937, "é"},
        {"\x01\xBF\xE0\xD8", NameTable::Latin1, "При"},
        {"\x03\xC5\xEB", NameTable::Latin1, "Ελ"},
        {"\x05\xDE", NameTable::Latin1, "Ş"},
        {"\x0B\xA4", NameTable::Latin1, "€"},
        {std::string("\x10\x00\x02\xA3", 4), NameTable::Latin1, "Ł"},
        {std::string("\x11\x04\x1F\x00\x41", 5), NameTable::Latin1, "ПA"},
        {"\x15\xC3\xA9", NameTable::Latin1, "é"},
        {"\x08\xE9", NameTable::Latin1, "\xEF\xBF\xBD"},      // reserved table
        {"News\x86X\x87\x8AY", NameTable::Latin1, "NewsX Y"}, // emphasis and line break codes
    };
    for (const auto& c : cases) EXPECT_EQ(decodeName(c.bytes, c.fallback), c.text) << c.text;
}

TEST(NameCodecTest, TypedNamesTakeTheShortestBytesThatFit)
{
    const struct {
        std::string text;
        std::string bytes;
    } cases[] = {
        {"Café", "Caf\xE9"},
        {"Привет", "\x01\xBF\xE0\xD8\xD2\xD5\xE2"},
        {"Türk", "T\xFCrk"}, // Latin-1 holds it: no selector
        {"Şişli", "\x05\xDEi\xFEli"},
        {"A name far too long here", "A name far too "},
        {"ППППППППППППППППП", "\x01\xBF\xBF\xBF\xBF\xBF\xBF\xBF\xBF\xBF\xBF\xBF\xBF\xBF\xBF"},
    };
    for (const auto& c : cases) {
        const EncodedName e = encodeName(c.text);
        EXPECT_TRUE(e.ok()) << c.text;
        EXPECT_EQ(e.bytes, c.bytes) << c.text;
        EXPECT_EQ(decodeName(e.bytes), c.text.substr(0, decodeName(e.bytes).size())) << c.text;
    }
    const EncodedName mixed = encodeName("Привет Ελλάδα");
    EXPECT_FALSE(mixed.ok());
    EXPECT_TRUE(mixed.bytes.empty());
    EXPECT_EQ(mixed.unstorable, "Ελλάδα");
}

} // namespace
} // namespace satorix
