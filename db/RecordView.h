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

// Field indices of a RecordView, one set per record type.
namespace satf {
enum : int {
    ID = 0,
    POSITION = 1,
    TALLY = 2,
    LNB_LOW = 3,
    LNB_HIGH = 4,
    DISEQC_MODE = 5,
    TONE22K = 6,
    DISEQC12 = 7,
    POSITIONER = 8,
    RESERVED2 = 9,
    EAST_WEST = 10,
    DISEQC11 = 11,
};
}
// Field 1 is never set.
namespace tpf {
enum : int { SAT_ID = 0, POLARISATION = 2, FEC = 3, TSID = 4, NID = 5, ONID = 6, FREQUENCY = 7, SYMBOL_RATE = 8 };
}
namespace progf {
enum : int { SERVICE_ID = 0, PROVIDER = 1, TRANSPONDER = 2, VIDEO_PID = 3, AUDIO_PID = 4, PCR_PID = 5, FLAGS = 6 };
}
// DBT_FAVOURITE: POSITION is the getRecord input; ENTRY is also the program of OP_ADD and OP_DELETE.
namespace favf {
enum : int { POSITION = 0, ENTRY = 1, COUNT = 2, TV_COUNT = 3 };
}
// DBT_PROGRAM with OP_REMOVE_ENTRY: the list and whether the row counts from its radio part.
namespace entryf {
enum : int { LIST = 0, RADIO_PART = 1 };
}
// DBT_SATELLITE with recordOp: the ListScope of the view that drops.
namespace dropf {
enum : int { SCOPE = 0 };
}

} // namespace satorix
