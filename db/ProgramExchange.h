#pragma once

// Programs out to spreadsheets and back: the key that names a program across databases, export
// to CSV and JSON, and the plan of a CSV import. Plans are made on a database left as it is and
// applied to that same database afterwards, so that a caller can show the summary first and make
// the change one undo step.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DbTypes.h"
#include "NameCodec.h"

namespace satorix {

class ChannelDatabase;

// Satellite position as stored (tenths of a degree) with its east/west, frequency (MHz),
// polarisation and service id: "192E:11836:H:28006". Rescans keep it; indices do not.
struct ProgramKey {
    bool valid = false; // false when the program's transponder or satellite is missing
    int position = 0;
    char eastWest = 0; // 'E', 'W' or 0 when the satellite record has neither
    int frequency = 0;
    int polarisation = 0;
    int serviceId = 0;
    std::string text() const; // empty when not valid
};
// Keys of every program in use, in one pass.
std::vector<ProgramKey> programKeys(const ChannelDatabase& db);

// "H", "V", "L", "R", or the number for anything else.
std::string polarisationText(int polarisation);

enum class ExportFormat { Csv, Json };
struct ExportOptions {
    // What the program list would show: the program table or one favourite list, TV/radio.
    std::uint32_t scope = SCOPE_PROGRAMS | SCOPE_TV_RADIO;
    NameTable names = NameTable::Latin1;
};
// UTF-8 text, names decoded. CSV has a header row of the JSON keys, RFC 4180 quoting and CRLF
// line ends; JSON is an array of one object per program, keys in the same fixed order.
std::string exportPrograms(const ChannelDatabase& db, ExportFormat format, const ExportOptions& options = {});
// The column names (and JSON keys), in their order.
const std::vector<std::string_view>& exportColumns();

// A program named in a summary: its index (in its own database), decoded name and key.
struct ProgramNote {
    int program = 0;
    std::string name;
    std::string key;
};
// A CSV row named in a summary, by the line it starts on.
struct RowNote {
    int line = 0;
    std::string key;
    std::string reason;
};

// What an import or a reference list changes, in the program indices of the database it was
// planned on. Name fields and list names are whole 16-byte fields.
struct ProgramChanges {
    struct FavouriteList {
        std::vector<int> entries; // TV entries first
        int tvCount = 0;
        std::optional<std::string> name;
    };
    std::vector<std::pair<int, std::string>> names;
    std::array<std::optional<FavouriteList>, FAV_LISTS> favourites;
    std::vector<int> order;  // order[k]: the program that goes to place k; empty keeps the order
    std::vector<int> remove; // deleted after the reorder, named by their index before it
    bool empty() const;
};
// Names, then favourite lists, then the order, then the deletions. The caller updates the CRC.
void applyChanges(ChannelDatabase& db, const ProgramChanges& changes);

struct ImportOptions {
    bool deleteUnmatched = false;
    NameTable names = NameTable::Latin1;
};

// A CSV file (the export's columns; only key, name and favourites are read) against a database.
// Rows take the programs with their key in row order; the matched programs of each part (TV,
// radio) go first in row order, the others follow in their order or, with deleteUnmatched, go.
// A name that differs from the decoded name is stored; one that cannot be stored whole is reported
// and the old name stays, as it does for an empty cell. A favourites column sets the program's memberships: lists it
// leaves keep their order, lists it joins get it at the end of their TV or radio part.
struct ImportPlan {
    std::string error; // the file as a whole cannot be used; nothing else is set
    int rows = 0;
    int matched = 0;
    std::vector<RowNote> unmatchedRows;
    std::vector<RowNote> problems; // matched rows not applied in full
    std::vector<ProgramNote> notInFile;
    bool deleteUnmatched = false;
    ProgramChanges changes;
};
ImportPlan planImport(const ChannelDatabase& db, std::string_view csv, const ImportOptions& options = {});
// Lines of text for a terminal or a dialog.
std::string importSummary(const ImportPlan& plan);

// Fields of one CSV record.
struct CsvRecord {
    int line = 0; // where the record starts, from 1
    std::vector<std::string> fields;
};
// RFC 4180, with what spreadsheets write besides: a byte-order mark, LF or CR line ends, and
// ';' or a tab between fields when the first line has no comma.
std::vector<CsvRecord> parseCsv(std::string_view text);

} // namespace satorix
