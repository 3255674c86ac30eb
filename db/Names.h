#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "DbTypes.h"

namespace satorix {

// A name field read with its 16-byte bound: names of 16 characters carry no NUL.
inline std::string_view boundedName(const char* p)
{
    if (!p) return {};
    return {p, strnlen(p, NAME_LEN)};
}

// Copies a name the way the receiver's own tools do: at most 16 bytes, rest of the field zeroed.
inline void copyName(char* dst, const char* src)
{
    std::size_t n = src ? strnlen(src, NAME_LEN) : 0;
    std::memcpy(dst, src ? src : "", n);
    std::memset(dst + n, 0, NAME_LEN - n);
}

inline bool isCharTableByte(unsigned char c) { return c >= 1 && c <= 31; }

} // namespace satorix
