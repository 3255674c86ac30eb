// Program keys, export to CSV and JSON, and what applying a plan does.
#include "db/ProgramExchange.h"

#include <algorithm>
#include <charconv>

#include "db/ChannelDatabase.h"
#include "db/Lookups.h"
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
    ProgramReader(const ChannelDatabase& db, NameTable table)
        : db_(db), table_(table), satelliteById_(satelliteIndexById(db)), favBits_(favouriteBits(db))
    {
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
        return decodeName(boundedName(db_.raw().namePtr(DatabaseImage::programOffset(program) + layout::prog::NAME)),
                          table_);
    }

    // Providers and satellites are few: each is decoded once.
    const std::string& provider(int index)
    {
        static const std::string none;
        if (index < 0 || index >= db_.providersInUse()) return none;
        if (providers_.empty()) {
            providers_.resize(static_cast<std::size_t>(db_.providersInUse()));
            for (int p = 0; p < db_.providersInUse(); ++p)
                providers_[static_cast<std::size_t>(p)] =
                    decodeName(boundedName(db_.raw().namePtr(DatabaseImage::providerOffset(p))), table_);
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
    SatelliteIndex satelliteById_{};
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

const std::vector<std::string_view> kColumns = {"number",    "name",      "kind",       "service_id",   "provider",
                                                "satellite", "position",  "frequency",  "polarisation", "symbol_rate",
                                                "video_pid", "audio_pid", "pcr_pid",    "scrambled",    "scpc",
                                                "locked",    "user",      "favourites", "key"};

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

} // namespace satorix
