// CSV files from spreadsheets back into a database: the plan, and its summary.
#include <algorithm>
#include <unordered_map>

#include "db/ChannelDatabase.h"
#include "db/Names.h"
#include "db/ProgramExchange.h"

namespace satorix {

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
    auto nameOf = [&db, &options](int p) {
        return decodeName(boundedName(db.raw().namePtr(DatabaseImage::programOffset(p) + layout::prog::NAME)),
                          options.names);
    };
    const std::vector<ProgramKey> keys = programKeys(db);
    // Programs by key in table order; rows with the same key take them one after another.
    struct Holders {
        std::vector<int> programs;
        std::size_t next = 0;
    };
    std::unordered_map<std::string, Holders> byKey;
    byKey.reserve(static_cast<std::size_t>(n));
    for (int p = 0; p < n; ++p)
        if (keys[static_cast<std::size_t>(p)].valid)
            byKey[keys[static_cast<std::size_t>(p)].text()].programs.push_back(p);

    std::vector<int> matchedRows; // program of each matched row, in row order
    std::vector<int> matchedLines;
    std::vector<char> matched(static_cast<std::size_t>(n), 0);
    std::vector<std::int32_t> wanted(static_cast<std::size_t>(n), -1); // favourite bits the file gives
    auto cell = [](const CsvRecord& r, int col) -> std::string_view {
        return col >= 0 && static_cast<std::size_t>(col) < r.fields.size()
                   ? std::string_view(r.fields[static_cast<std::size_t>(col)])
                   : std::string_view();
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
                                          key.empty()         ? "no key"
                                          : it == byKey.end() ? "no program with this key"
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
            // An unchanged name keeps its bytes, selector and all; an emptied cell is taken for a slip.
            if (!name.empty() && name != nameOf(p)) {
                const EncodedName e = encodeName(name, options.names);
                if (!e.ok())
                    plan.problems.push_back(
                        {row.line, key, "name \"" + std::string(name) + "\": cannot store \"" + e.unstorable + "\""});
                else if (decodeName(e.bytes, options.names) != name)
                    plan.problems.push_back(
                        {row.line, key, "name \"" + std::string(name) + "\": longer than 15 bytes"});
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
                if ((p < tv) != (part == 0) || w < 0 || !(w & (1 << l)) || member[static_cast<std::size_t>(p)])
                    continue;
                member[static_cast<std::size_t>(p)] = 1;
                // As the editor's add: the 400th slot is left free.
                if (tvPart.size() + radioPart.size() + 1 >= static_cast<std::size_t>(FAV_ENTRIES)) {
                    plan.problems.push_back({matchedLines[r], keys[static_cast<std::size_t>(p)].text(),
                                             "favourite list " + std::to_string(l + 1) + " is full"});
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
        plan.notInFile.push_back({p, nameOf(p), keys[static_cast<std::size_t>(p)].text()});
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
         (plan.notInFile.empty() ? ""
          : plan.deleteUnmatched ? " (deleted)"
                                 : " (kept, after the matched ones)") +
         "\n";
    for (const ProgramNote& p : plan.notInFile)
        s += "  " + std::to_string(p.program + 1) + " " + p.name + " " + p.key + "\n";
    if (!plan.problems.empty()) {
        s += "Not applied: " + std::to_string(plan.problems.size()) + "\n";
        rowLines(plan.problems);
    }
    return s;
}

} // namespace satorix
