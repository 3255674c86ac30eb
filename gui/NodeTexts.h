#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

// How tree nodes name things: the tree keeps no item data, so a node is known by its text alone.
namespace satorix::node {

// "3700(H)": frequency in MHz and the polarisation letter.
inline std::string transponderText(int frequency, int polarisation)
{
    static const char letters[] = "HVLR";
    const char letter = polarisation >= 0 && polarisation < 4 ? letters[polarisation] : '?';
    char buf[24];
    std::snprintf(buf, sizeof buf, "%d(%c)", frequency, letter);
    return buf;
}

// The decimal number at the start of a node text: 3700 for "3700(H)", 0 for "Empty".
inline int leadingNumber(std::string_view text)
{
    const std::string copy(text);
    return std::atoi(copy.c_str());
}

// The polarisation a transponder text names (0 H, 1 V, 2 L, 3 R), -1 for other texts.
inline int polarisationOf(std::string_view text)
{
    const auto open = text.find('(');
    if (open == std::string_view::npos || open + 1 >= text.size()) return -1;
    const auto at = std::string_view("HVLR").find(text[open + 1]);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

} // namespace satorix::node
