#pragma once

#include <array>
#include <cstdint>

namespace satorix {

// A record as 32-bit fields (fields 0..15) plus name pointers (fields 16..18).
// Name pointers from getRecord point into the image: at most 16 bytes, not always NUL-terminated.
struct RecordView {
    std::array<std::int32_t, 16> field{};
    std::array<const char*, 3> name{};
};

} // namespace satorix
