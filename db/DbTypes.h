#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace satorix {

// Record type codes; also count codes for getCount.
constexpr int DBT_SATELLITE = 500;
constexpr int DBT_PROGRAM = 501;
constexpr int DBT_TRANSPONDER = 502;
constexpr int DBT_PROVIDER = 503;
constexpr int DBT_FAVOURITE = 504;
constexpr int DBT_TV_PROGRAMS = 505;
// 506 + 2*l: TV entries of list l, 507 + 2*l: radio entries of list l.
constexpr int DBT_FAV_TV_BASE = 506;

// Results of the database operations: 0 (or an index) for success, a small negative code for
// failure. Several names share a value: the code's meaning depends on the operation.
enum DbResult : int {
    DB_OK = 0,
    DB_NOT_FOUND = -1,       // also an unknown type or operation, a refused paste, a file that failed
    DB_BEYOND_CAPACITY = -2, // also getProgramInfo: the program's satellite is missing
    DB_BEYOND_COUNTER = -3,
    DB_OUT_OF_RANGE = -4,     // transponder index beyond 3,000, favourite position or list out of range
    DB_TABLE_FULL = -4,       // program or provider table full on an add or a drop
    DB_UNSUPPORTED_TYPE = -5, // findByName
    DB_FAV_FULL = -5,         // drop into a full favourite list
    DB_FAV_NO_ROOM = -6,      // favourite add that would take the last slot
    DB_NO_POSITION = -6,      // drop into a list that has rows but no position chosen
    DB_RADIO_AMONG_TV = -7,
    DB_TV_AMONG_RADIO = -8,
    DB_TRANSPONDER_IN_USE = -8,
    DB_TRANSPONDER_EXISTS = -10,
    DB_NO_SPACE = -100, // drop larger than the free space
};

// "Error: <record type>->(<result>)": what every failed database call shows, here, in the dialogs
// and on the command line.
inline std::string databaseErrorText(int type, int code)
{
    return "Error: " + std::to_string(type) + "->(" + std::to_string(code) + ")";
}

constexpr int OP_EDIT = 550;
constexpr int OP_DELETE = 551;
constexpr int OP_ADD = 552;
constexpr int OP_REMOVE_ENTRY = 553;

// ListScope bits.
constexpr std::uint32_t SCOPE_TV_RADIO = 1;
constexpr std::uint32_t SCOPE_TV = 2;
constexpr std::uint32_t SCOPE_RADIO = 4;
constexpr std::uint32_t SCOPE_PROGRAMS = 16;
constexpr std::uint32_t SCOPE_FAV1 = 32;
constexpr std::uint32_t SCOPE_FAV_ALL = 0x1FFu << 5; // FAV1..FAV9
constexpr std::uint32_t scopeFav(int list) { return SCOPE_FAV1 << list; }

// Lowest favourite list named by a scope, or -1.
constexpr int scopeFavList(std::uint32_t scope)
{
    for (int l = 0; l < 9; ++l)
        if (scope & scopeFav(l)) return l;
    return -1;
}

constexpr std::uint32_t DB_VERSION = 0x20011005;

constexpr std::size_t IMAGE_SIZE = 721968;
constexpr std::size_t NAME_LEN = 16;

constexpr int MAX_SATELLITES = 200;
constexpr int MAX_PROGRAMS = 20000;
constexpr int MAX_TRANSPONDERS = 3000;
constexpr int MAX_PROVIDERS = 400;
constexpr int FAV_LISTS = 9;
constexpr int FAV_ENTRIES = 400;

// Image layout.
namespace layout {
constexpr std::size_t CRC = 8;
constexpr std::size_t CRC_START = 12;
constexpr std::size_t CRC_ZERO_BYTE = 10079;
constexpr std::size_t SATELLITE_COUNT = 10576;
constexpr std::size_t PROGRAM_COUNT = 10578;
constexpr std::size_t TV_PROGRAM_COUNT = 10580;
constexpr std::size_t TRANSPONDER_COUNT = 10582;
constexpr std::size_t PROVIDER_COUNT = 10584;
constexpr std::size_t SATELLITES = 10588;
constexpr std::size_t PROGRAMS = 20188;
constexpr std::size_t FAVOURITES = 660188;
constexpr std::size_t TRANSPONDERS = 667568;
constexpr std::size_t PROVIDERS = 715568;

constexpr std::size_t SATELLITE_SIZE = 48;
constexpr std::size_t PROGRAM_SIZE = 32;
constexpr std::size_t FAVOURITE_SIZE = 820;
constexpr std::size_t TRANSPONDER_SIZE = 16;
constexpr std::size_t PROVIDER_SIZE = 16;

// Field offsets inside a record.
namespace sat {
constexpr std::size_t ID = 0, POSITION = 2, NAME = 4, TALLY = 20, TONE22K = 22, LNB_LOW = 24, LNB_HIGH = 28,
                      DISEQC_MODE = 32, DISEQC12 = 34, POSITIONER = 36, RESERVED2 = 38, DISEQC11 = 40, EAST_WEST = 44;
}
namespace tp {
constexpr std::size_t SAT_ID = 0, POLARISATION = 2, FEC = 3, TSID = 4, NID = 6, ONID = 8, FREQUENCY = 10,
                      SYMBOL_RATE = 12;
}
namespace prog {
constexpr std::size_t SERVICE_ID = 0, PROVIDER = 2, TRANSPONDER = 4, VIDEO_PID = 6, AUDIO_PID = 8, PCR_PID = 10,
                      RESERVED = 12, FLAGS = 14, NAME = 16;
}
namespace fav {
constexpr std::size_t NAME = 0, ENTRIES = 16, TV_COUNT = 816, COUNT = 818;
}
} // namespace layout

static_assert(layout::SATELLITES + MAX_SATELLITES * layout::SATELLITE_SIZE == layout::PROGRAMS);
static_assert(layout::PROGRAMS + MAX_PROGRAMS * layout::PROGRAM_SIZE == layout::FAVOURITES);
static_assert(layout::FAVOURITES + FAV_LISTS * layout::FAVOURITE_SIZE == layout::TRANSPONDERS);
static_assert(layout::TRANSPONDERS + MAX_TRANSPONDERS * layout::TRANSPONDER_SIZE == layout::PROVIDERS);
static_assert(layout::PROVIDERS + MAX_PROVIDERS * layout::PROVIDER_SIZE == IMAGE_SIZE);

// Program flag bits.
constexpr std::uint16_t FLAG_SCRAMBLED = 1;
constexpr std::uint16_t FLAG_SCPC = 2;
constexpr std::uint16_t FLAG_LOCKED = 4;
constexpr std::uint16_t FLAG_USER = 32;

constexpr std::uint16_t PID_RESERVED = 0x1FFF;
constexpr std::uint16_t PID_AUTO = 0x7FFF;

} // namespace satorix
