#include "db/ProgramExchange.h"

#include <algorithm>
#include <charconv>
#include <unordered_map>

#include "db/ChannelDatabase.h"
#include "db/Names.h"
#include "db/ProgramOrder.h"
#include "db/ProgramRowTexts.h"
#include "db/Records.h"

namespace satorix {
namespace {

void appendNumber(std::string& out, long long v)
{
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
}

// What the rows of an export need, gathered once: a whole table costs one pass.
class ProgramReader {
public:
    ProgramReader(const ChannelDatabase& db, NameTable table) : db_(db), table_(table), favBits_(MAX_PROGRAMS, 0)
    {
        satelliteById_.fill(-1);
        for (int s = db.satellitesInUse() - 1; s >= 0; --s) {
            const int id = db.raw().u16(DatabaseImage::satelliteOffset(s) + layout::sat::ID);
            if (id < 256) satelliteById_[static_cast<std::size_t>(id)] = static_cast<std::int16_t>(s);
        }
        for (int l = 0; l < FAV_LISTS; ++l)
            for (int c = 0; c < db.favInUse(l); ++c)
                if (const int e = db.favEntry(l, c); e < MAX_PROGRAMS)
                    favBits_[static_cast<std::size_t>(e)] |= static_cast<std::uint16_t>(1u << l);
    }

    struct Tuning {
        bool transponder = false;
        int satellite = -1;
        int frequency = 0, polarisation = 0, symbolRate = 0;
    };
    Tuning tuning(int program) const
    {
        Tuning t;
        const int tp = db_.raw().u16(DatabaseImage::programOffset(program) + layout::prog::TRANSPONDER);
        if (tp >= db_.transpondersInUse()) return t;
        const TransponderRecord r = TransponderRecord::read(db_.raw(), tp);
        t.transponder = true;
        t.satellite = satelliteById_[r.satelliteId];
        t.frequency = r.frequency;
        t.polarisation = r.polarisation;
        t.symbolRate = r.symbolRate;
        return t;
    }

    ProgramKey key(int program) const
    {
        const Tuning t = tuning(program);
        ProgramKey k;
        if (t.satellite < 0) return k;
        const std::size_t s = DatabaseImage::satelliteOffset(t.satellite);
        const std::uint8_t ew = db_.raw().u8(s + layout::sat::EAST_WEST);
        k.valid = true;
        k.position = db_.raw().u16(s + layout::sat::POSITION);
        k.eastWest = ew == 'E' || ew == 'W' ? static_cast<char>(ew) : 0;
        k.frequency = t.frequency;
        k.polarisation = t.polarisation;
        k.serviceId = db_.raw().u16(DatabaseImage::programOffset(program) + layout::prog::SERVICE_ID);
        return k;
    }

    std::string name(int program) const
    {
        return decodeName(boundedName(db_.raw().namePtr(DatabaseImage::programOffset(program) + layout::prog::NAME)), table_);
    }

    // Providers and satellites are few: each is decoded once.
    const std::string& provider(int index)
    {
        static const std::string none;
        if (index < 0 || index >= db_.providersInUse()) return none;
        if (providers_.empty()) {
            providers_.resize(static_cast<std::size_t>(db_.providersInUse()));
            for (int p = 0; p < db_.providersInUse(); ++p)
                providers_[static_cast<std::size_t>(p)] = decodeName(boundedName(db_.raw().namePtr(DatabaseImage::providerOffset(p))), table_);
        }
        return providers_[static_cast<std::size_t>(index)];
    }
    const std::string& satellite(int index)
    {
        static const std::string none;
        if (index < 0) return none;
        if (satellites_.empty()) {
            satellites_.resize(static_cast<std::size_t>(db_.satellitesInUse()));
            for (int s = 0; s < db_.satellitesInUse(); ++s)
                satellites_[static_cast<std::size_t>(s)] = decodeName(
                    boundedName(db_.raw().namePtr(DatabaseImage::satelliteOffset(s) + layout::sat::NAME)), table_);
        }
        return satellites_[static_cast<std::size_t>(index)];
    }

    std::uint16_t favBits(int program) const { return favBits_[static_cast<std::size_t>(program)]; }

private:
    const ChannelDatabase& db_;
    NameTable table_;
    std::array<std::int16_t, 256> satelliteById_{};
    std::vector<std::uint16_t> favBits_;
    std::vector<std::string> providers_, satellites_;
};

// "19.2E": degrees as satellites are usually written.
std::string positionText(const ChannelDatabase& db, int satellite)
{
    const std::size_t s = DatabaseImage::satelliteOffset(satellite);
    const int position = db.raw().u16(s + layout::sat::POSITION);
    std::string out;
    appendNumber(out, position / 10);
    out += '.';
    appendNumber(out, position % 10);
    const std::uint8_t ew = db.raw().u8(s + layout::sat::EAST_WEST);
    if (ew == 'E' || ew == 'W') out += static_cast<char>(ew);
    return out;
}

void appendCsv(std::string& out, std::string_view s)
{
    if (s.find_first_of(",\"\r\n") == std::string_view::npos) {
        out.append(s);
        return;
    }
    out += '"';
    for (char c : s) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

void appendJsonString(std::string& out, std::string_view s)
{
    out += '"';
    for (char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            static constexpr char hex[] = "0123456789abcdef";
            out += "\\u00";
            out += hex[u >> 4];
            out += hex[u & 15];
        } else {
            out += c;
        }
    }
    out += '"';
}

const std::vector<std::string_view> kColumns = {
    "number",    "name",      "kind",      "service_id", "provider", "satellite", "position",
    "frequency", "polarisation", "symbol_rate", "video_pid", "audio_pid", "pcr_pid", "scrambled",
    "scpc",      "locked",    "user",      "favourites", "key"};

// One value of a row: text, a number, a flag, the favourite lists or nothing (a missing record).
struct Cell {
    enum Kind { Text, Number, Flag, Lists, None } kind = None;
    std::string_view text;
    long long number = 0;
    std::uint16_t lists = 0;
};

void appendCell(std::string& out, const Cell& c, ExportFormat format)
{
    const bool json = format == ExportFormat::Json;
    switch (c.kind) {
    case Cell::Text: json ? appendJsonString(out, c.text) : appendCsv(out, c.text); break;
    case Cell::Number: appendNumber(out, c.number); break;
    case Cell::Flag: out += c.number ? "true" : "false"; break;
    case Cell::None:
        if (json) out += "null";
        break;
    case Cell::Lists: {
        if (json) out += '[';
        bool first = true;
        for (int l = 0; l < FAV_LISTS; ++l) {
            if (!(c.lists & (1u << l))) continue;
            if (!first) out += json ? ", " : " ";
            first = false;
            appendNumber(out, l + 1);
        }
        if (json) out += ']';
        break;
    }
    }
}

} // namespace

std::string polarisationText(int polarisation)
{
    static const char* const letters[] = {"H", "V", "L", "R"};
    return polarisation >= 0 && polarisation < 4 ? letters[polarisation] : std::to_string(polarisation);
}

std::string ProgramKey::text() const
{
    if (!valid) return {};
    std::string out;
    out.reserve(24);
    appendNumber(out, position);
    if (eastWest) out += eastWest;
    out += ':';
    appendNumber(out, frequency);
    out += ':';
    out += polarisationText(polarisation);
    out += ':';
    appendNumber(out, serviceId);
    return out;
}

std::vector<ProgramKey> programKeys(const ChannelDatabase& db)
{
    const ProgramReader reader(db, NameTable::Latin1);
    std::vector<ProgramKey> keys(static_cast<std::size_t>(db.programsInUse()));
    for (std::size_t p = 0; p < keys.size(); ++p) keys[p] = reader.key(static_cast<int>(p));
    return keys;
}

const std::vector<std::string_view>& exportColumns() { return kColumns; }

std::string exportPrograms(const ChannelDatabase& db, ExportFormat format, const ExportOptions& options)
{
    std::vector<RowRef> rows;
    RowTextError error;
    rowsForScope(db, options.scope, rows, error);
    ProgramReader reader(db, options.names);
    const bool json = format == ExportFormat::Json;
    std::string out;
    out.reserve(rows.size() * (json ? 420 : 150) + 256);
    if (json) {
        out += '[';
    } else {
        for (std::size_t c = 0; c < kColumns.size(); ++c) {
            if (c) out += ',';
            out.append(kColumns[c]);
        }
        out += "\r\n";
    }
    std::array<Cell, 19> cells;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int p = rows[i].programIndex;
        if (p < 0 || p >= db.programsInUse()) continue;
        const ProgramRecord r = ProgramRecord::read(db.raw(), p);
        const ProgramReader::Tuning t = reader.tuning(p);
        const std::string name = reader.name(p);
        const std::string position = t.satellite >= 0 ? positionText(db, t.satellite) : std::string();
        const std::string pol = polarisationText(t.polarisation);
        const std::string key = reader.key(p).text();
        auto text = [](std::string_view s) { return Cell{Cell::Text, s, 0, 0}; };
        auto number = [](long long v) { return Cell{Cell::Number, {}, v, 0}; };
        auto flag = [&r](std::uint16_t bit) { return Cell{Cell::Flag, {}, (r.flags & bit) ? 1 : 0, 0}; };
        const Cell none;
        cells = {number(rows[i].position + 1),
                 text(name),
                 text(p < db.tvProgramCount() ? "tv" : "radio"),
                 number(r.serviceId),
                 text(reader.provider(r.provider)),
                 t.satellite >= 0 ? text(reader.satellite(t.satellite)) : none,
                 t.satellite >= 0 ? text(position) : none,
                 t.transponder ? number(t.frequency) : none,
                 t.transponder ? text(pol) : none,
                 t.transponder ? number(t.symbolRate) : none,
                 number(r.videoPid),
                 number(r.audioPid),
                 number(r.pcrPid),
                 flag(FLAG_SCRAMBLED),
                 flag(FLAG_SCPC),
                 flag(FLAG_LOCKED),
                 flag(FLAG_USER),
                 Cell{Cell::Lists, {}, 0, reader.favBits(p)},
                 key.empty() ? none : text(key)};
        if (json) out += i ? ",\n  {" : "\n  {";
        for (std::size_t c = 0; c < cells.size(); ++c) {
            if (json) {
                if (c) out += ", ";
                out += '"';
                out.append(kColumns[c]);
                out += "\": ";
            } else if (c) {
                out += ',';
            }
            appendCell(out, cells[c], format);
        }
        out += json ? "}" : "\r\n";
    }
    if (json) out += rows.empty() ? "]\n" : "\n]\n";
    return out;
}

bool ProgramChanges::empty() const
{
    return names.empty() && order.empty() && remove.empty() &&
           std::none_of(favourites.begin(), favourites.end(), [](const auto& f) { return f.has_value(); });
}

void applyChanges(ChannelDatabase& db, const ProgramChanges& changes)
{
    const int n = db.programsInUse();
    for (const auto& [p, bytes] : changes.names) {
        if (p < 0 || p >= n) continue;
        char* field = db.raw().namePtr(DatabaseImage::programOffset(p) + layout::prog::NAME);
        std::fill(field, field + NAME_LEN, '\0');
        std::copy_n(bytes.begin(), std::min(bytes.size(), NAME_LEN), field);
    }
    for (int l = 0; l < FAV_LISTS; ++l) {
        const auto& list = changes.favourites[static_cast<std::size_t>(l)];
        if (!list) continue;
        const int count = std::min(static_cast<int>(list->entries.size()), FAV_ENTRIES);
        for (int k = 0; k < count; ++k) db.setFavEntry(l, k, list->entries[static_cast<std::size_t>(k)]);
        db.setFavCount(l, count);
        db.setFavTvCount(l, std::min(list->tvCount, count));
        if (list->name) {
            char* field = db.raw().namePtr(DatabaseImage::favOffset(l) + layout::fav::NAME);
            std::fill(field, field + NAME_LEN, '\0');
            std::copy_n(list->name->begin(), std::min(list->name->size(), NAME_LEN), field);
        }
    }
    std::vector<int> newIndex(static_cast<std::size_t>(n));
    for (int p = 0; p < n; ++p) newIndex[static_cast<std::size_t>(p)] = p;
    if (!changes.order.empty() && reorderPrograms(db, changes.order))
        for (int k = 0; k < n; ++k) newIndex[static_cast<std::size_t>(changes.order[static_cast<std::size_t>(k)])] = k;
    std::vector<int> gone;
    for (int p : changes.remove)
        if (p >= 0 && p < n) gone.push_back(newIndex[static_cast<std::size_t>(p)]);
    removePrograms(db, gone);
}

std::vector<CsvRecord> parseCsv(std::string_view text)
{
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    // The separator is what the first line uses: spreadsheets in many languages write ';'.
    char sep = ',';
    {
        const std::string_view first = text.substr(0, text.find_first_of("\r\n"));
        if (first.find(',') == std::string_view::npos) {
            if (first.find(';') != std::string_view::npos)
                sep = ';';
            else if (first.find('\t') != std::string_view::npos)
                sep = '\t';
        }
    }
    std::vector<CsvRecord> records;
    CsvRecord record{1, {}};
    std::string field;
    int line = 1;
    bool quoted = false, wasQuoted = false;
    auto endField = [&] {
        record.fields.push_back(std::move(field));
        field.clear();
        wasQuoted = false;
    };
    auto endRecord = [&] {
        endField();
        records.push_back(std::move(record));
        record = CsvRecord{line, {}};
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == '\n' || (c == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) ++line;
                field += c;
            }
        } else if (c == '"' && field.empty() && !wasQuoted) {
            quoted = wasQuoted = true;
        } else if (c == sep) {
            endField();
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            ++line;
            endRecord();
        } else {
            field += c;
        }
    }
    if (!field.empty() || !record.fields.empty() || wasQuoted) endRecord();
    return records;
}

namespace {

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

std::string lower(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// Lists 1..9 named by a favourites cell ("1 3", "1;3", "1,3"); what is no such list is reported.
std::uint16_t parseLists(std::string_view cell, std::string& bad)
{
    std::uint16_t bits = 0;
    std::size_t i = 0;
    while (i < cell.size()) {
        const char c = cell[i];
        if (c == ' ' || c == ',' || c == ';' || c == '\t') {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < cell.size() && cell[j] != ' ' && cell[j] != ',' && cell[j] != ';' && cell[j] != '\t') ++j;
        const std::string_view word = cell.substr(i, j - i);
        if (word.size() == 1 && word[0] >= '1' && word[0] <= '9')
            bits |= static_cast<std::uint16_t>(1u << (word[0] - '1'));
        else
            bad += (bad.empty() ? "" : " ") + std::string(word);
        i = j;
    }
    return bits;
}

} // namespace

ImportPlan planImport(const ChannelDatabase& db, std::string_view csv, const ImportOptions& options)
{
    ImportPlan plan;
    plan.deleteUnmatched = options.deleteUnmatched;
    const std::vector<CsvRecord> records = parseCsv(csv);
    if (records.empty()) {
        plan.error = "the file is empty";
        return plan;
    }
    int keyCol = -1, nameCol = -1, favCol = -1;
    for (std::size_t c = 0; c < records[0].fields.size(); ++c) {
        const std::string h = lower(trimmed(records[0].fields[c]));
        for (auto [name, col] : {std::pair{"key", &keyCol}, {"name", &nameCol}, {"favourites", &favCol}})
            if (h == name && *col < 0) *col = static_cast<int>(c);
    }
    if (keyCol < 0) {
        plan.error = "the first line names no \"key\" column";
        return plan;
    }

    const int n = db.programsInUse();
    const int tv = std::min(db.tvProgramCount(), n);
    const ProgramReader reader(db, options.names);
    const std::vector<ProgramKey> keys = programKeys(db);
    // Programs by key in table order; rows with the same key take them one after another.
    struct Holders {
        std::vector<int> programs;
        std::size_t next = 0;
    };
    std::unordered_map<std::string, Holders> byKey;
    byKey.reserve(static_cast<std::size_t>(n));
    for (int p = 0; p < n; ++p)
        if (keys[static_cast<std::size_t>(p)].valid) byKey[keys[static_cast<std::size_t>(p)].text()].programs.push_back(p);

    std::vector<int> matchedRows; // program of each matched row, in row order
    std::vector<int> matchedLines;
    std::vector<char> matched(static_cast<std::size_t>(n), 0);
    std::vector<std::int32_t> wanted(static_cast<std::size_t>(n), -1); // favourite bits the file gives
    auto cell = [](const CsvRecord& r, int col) -> std::string_view {
        return col >= 0 && static_cast<std::size_t>(col) < r.fields.size() ? std::string_view(r.fields[static_cast<std::size_t>(col)]) : std::string_view();
    };
    for (std::size_t i = 1; i < records.size(); ++i) {
        const CsvRecord& row = records[i];
        if (std::all_of(row.fields.begin(), row.fields.end(), [](const std::string& f) { return trimmed(f).empty(); }))
            continue;
        ++plan.rows;
        const std::string key(trimmed(cell(row, keyCol)));
        const auto it = key.empty() ? byKey.end() : byKey.find(key);
        if (it == byKey.end() || it->second.next >= it->second.programs.size()) {
            plan.unmatchedRows.push_back({row.line, key,
                                          key.empty()                 ? "no key"
                                          : it == byKey.end()         ? "no program with this key"
                                                                      : "no other program with this key"});
            continue;
        }
        const int p = it->second.programs[it->second.next++];
        matched[static_cast<std::size_t>(p)] = 1;
        matchedRows.push_back(p);
        matchedLines.push_back(row.line);
        ++plan.matched;

        if (nameCol >= 0 && static_cast<std::size_t>(nameCol) < row.fields.size()) {
            const std::string_view name = row.fields[static_cast<std::size_t>(nameCol)];
            // An unchanged name keeps its bytes, selector and all.
            if (name != reader.name(p)) {
                const EncodedName e = encodeName(name, options.names);
                if (!e.ok())
                    plan.problems.push_back({row.line, key, "name \"" + std::string(name) + "\": cannot store \"" + e.unstorable + "\""});
                else if (decodeName(e.bytes, options.names) != name)
                    plan.problems.push_back({row.line, key, "name \"" + std::string(name) + "\": longer than 15 bytes"});
                else
                    plan.changes.names.emplace_back(p, e.bytes + std::string(NAME_LEN - e.bytes.size(), '\0'));
            }
        }
        if (favCol >= 0 && static_cast<std::size_t>(favCol) < row.fields.size()) {
            std::string bad;
            wanted[static_cast<std::size_t>(p)] = parseLists(row.fields[static_cast<std::size_t>(favCol)], bad);
            if (!bad.empty()) plan.problems.push_back({row.line, key, "favourites \"" + bad + "\": lists are 1..9"});
        }
    }

    // Memberships: lists keep their entries' order; a program joins at the end of its part.
    for (int l = 0; l < FAV_LISTS; ++l) {
        const int count = db.favInUse(l);
        const int listTv = std::min(db.favTvCount(l), count);
        ProgramChanges::FavouriteList list;
        std::vector<char> member(static_cast<std::size_t>(n), 0);
        std::vector<int> tvPart, radioPart;
        for (int k = 0; k < count; ++k) {
            const int e = db.favEntry(l, k);
            if (e < n) {
                member[static_cast<std::size_t>(e)] = 1;
                const std::int32_t w = wanted[static_cast<std::size_t>(e)];
                if (w >= 0 && !(w & (1 << l))) continue;
            }
            (k < listTv ? tvPart : radioPart).push_back(e);
        }
        bool changed = static_cast<int>(tvPart.size() + radioPart.size()) != count;
        for (int part = 0; part < 2; ++part) {
            for (std::size_t r = 0; r < matchedRows.size(); ++r) {
                const int p = matchedRows[r];
                const std::int32_t w = wanted[static_cast<std::size_t>(p)];
                if ((p < tv) != (part == 0) || w < 0 || !(w & (1 << l)) || member[static_cast<std::size_t>(p)]) continue;
                member[static_cast<std::size_t>(p)] = 1;
                // As the editor's add: the 400th slot is left free.
                if (tvPart.size() + radioPart.size() + 1 >= static_cast<std::size_t>(FAV_ENTRIES)) {
                    plan.problems.push_back({matchedLines[r], keys[static_cast<std::size_t>(p)].text(), "favourite list " + std::to_string(l + 1) + " is full"});
                    continue;
                }
                (part == 0 ? tvPart : radioPart).push_back(p);
                changed = true;
            }
        }
        if (!changed) continue;
        list.tvCount = static_cast<int>(tvPart.size());
        list.entries = std::move(tvPart);
        list.entries.insert(list.entries.end(), radioPart.begin(), radioPart.end());
        plan.changes.favourites[static_cast<std::size_t>(l)] = std::move(list);
    }

    std::vector<int> order;
    order.reserve(static_cast<std::size_t>(n));
    for (const auto& [from, to] : {std::pair{0, tv}, std::pair{tv, n}}) {
        for (int p : matchedRows)
            if (p >= from && p < to) order.push_back(p);
        for (int p = from; p < to; ++p)
            if (!matched[static_cast<std::size_t>(p)]) order.push_back(p);
    }
    bool moved = false;
    for (int k = 0; k < n && !moved; ++k) moved = order[static_cast<std::size_t>(k)] != k;
    if (moved) plan.changes.order = std::move(order);

    for (int p = 0; p < n; ++p) {
        if (matched[static_cast<std::size_t>(p)]) continue;
        plan.notInFile.push_back({p, reader.name(p), keys[static_cast<std::size_t>(p)].text()});
        if (options.deleteUnmatched) plan.changes.remove.push_back(p);
    }
    return plan;
}

std::string importSummary(const ImportPlan& plan)
{
    if (!plan.error.empty()) return "Cannot import: " + plan.error + "\n";
    std::string s = "Rows: " + std::to_string(plan.rows) + ", matched: " + std::to_string(plan.matched) + "\n";
    auto rowLines = [&s](const std::vector<RowNote>& notes) {
        for (const RowNote& r : notes) {
            s += "  ";
            if (r.line) s += "line " + std::to_string(r.line) + ": ";
            s += (r.key.empty() ? "" : r.key + ": ") + r.reason + "\n";
        }
    };
    s += "Rows without a program: " + std::to_string(plan.unmatchedRows.size()) + "\n";
    rowLines(plan.unmatchedRows);
    s += "Programs not in the file: " + std::to_string(plan.notInFile.size()) +
         (plan.notInFile.empty() ? "" : plan.deleteUnmatched ? " (deleted)" : " (kept, after the matched ones)") + "\n";
    for (const ProgramNote& p : plan.notInFile) s += "  " + std::to_string(p.program + 1) + " " + p.name + " " + p.key + "\n";
    if (!plan.problems.empty()) {
        s += "Not applied: " + std::to_string(plan.problems.size()) + "\n";
        rowLines(plan.problems);
    }
    return s;
}

} // namespace satorix
