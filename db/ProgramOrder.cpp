// Sorting, moving and bulk edits of programs and favourite entries. Everything works on whole
// permutations of a table, so favourite entries are renumbered once, not once per program.
#include "db/ProgramOrder.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <numeric>
#include <string>

#include "db/ChannelDatabase.h"
#include "db/EditPrimitives.h"
#include "db/Lookups.h"
#include "db/Names.h"

namespace satorix {
namespace {

std::size_t programField(int p, std::size_t field) { return DatabaseImage::programOffset(p) + field; }

// What a sort compares, read once for every program: names as text in their own table.
class SortKeys {
public:
    SortKeys(const ChannelDatabase& db, SortKey key) : db_(db), key_(key)
    {
        const DatabaseImage& img = db.raw();
        const int n = db.programsInUse();
        if (key == SortKey::Name || key == SortKey::Provider) {
            std::vector<std::string> providers;
            if (key == SortKey::Provider)
                for (int p = 0; p < db.providersInUse(); ++p)
                    providers.push_back(
                        decodeName(boundedName(img.namePtr(DatabaseImage::providerOffset(p))), db.nameTable()));
            text_.resize(static_cast<std::size_t>(n));
            for (int p = 0; p < n; ++p) {
                if (key == SortKey::Name) {
                    text_[static_cast<std::size_t>(p)] =
                        decodeName(boundedName(img.namePtr(programField(p, layout::prog::NAME))), db.nameTable());
                } else {
                    const std::size_t index = img.u16(programField(p, layout::prog::PROVIDER));
                    if (index < providers.size()) text_[static_cast<std::size_t>(p)] = providers[index];
                }
            }
        }
        if (key == SortKey::SatelliteFrequency) satelliteRank_ = satelliteIndexById(db);
    }

    bool less(int a, int b) const
    {
        const int inUse = db_.programsInUse();
        // Entries naming no program go last.
        if (a >= inUse || b >= inUse) return a < inUse && b >= inUse;
        switch (key_) {
        case SortKey::Name:
        case SortKey::Provider:
            return naturalCompare(text_[static_cast<std::size_t>(a)], text_[static_cast<std::size_t>(b)]) < 0;
        case SortKey::SatelliteFrequency: return tuning(a) < tuning(b);
        case SortKey::ServiceId:
            return db_.raw().u16(programField(a, layout::prog::SERVICE_ID)) <
                   db_.raw().u16(programField(b, layout::prog::SERVICE_ID));
        }
        return false;
    }

private:
    std::tuple<int, int, int> tuning(int p) const
    {
        const DatabaseImage& img = db_.raw();
        const int t = img.u16(programField(p, layout::prog::TRANSPONDER));
        if (t >= db_.transpondersInUse()) return {INT32_MAX, 0, 0};
        const std::size_t at = DatabaseImage::transponderOffset(t);
        const int rank = satelliteRank_[img.u8(at + layout::tp::SAT_ID)];
        return {rank < 0 ? INT32_MAX : rank, img.u16(at + layout::tp::FREQUENCY),
                img.u8(at + layout::tp::POLARISATION)};
    }

    const ChannelDatabase& db_;
    SortKey key_;
    std::vector<std::string> text_;
    SatelliteIndex satelliteRank_{};
};

// Rearranges slots [begin, end) of `order` so that the chosen ones (ascending, inside the range)
// move as asked; writes where they end up to `moved`.
void arrange(std::vector<int>& order, int begin, int end, const std::vector<int>& chosen, Move move,
             std::vector<int>& moved)
{
    if (chosen.empty()) return;
    std::vector<char> isChosen(static_cast<std::size_t>(end - begin), 0);
    for (int c : chosen) isChosen[static_cast<std::size_t>(c - begin)] = 1;
    std::vector<int> slots(order.begin() + begin, order.begin() + end);
    std::vector<char> flag = isChosen;
    if (move == Move::Top || move == Move::Bottom) {
        std::vector<int> picked, rest;
        for (std::size_t i = 0; i < slots.size(); ++i) (isChosen[i] ? picked : rest).push_back(slots[i]);
        const bool top = move == Move::Top;
        std::vector<int> arranged = top ? picked : rest;
        arranged.insert(arranged.end(), (top ? rest : picked).begin(), (top ? rest : picked).end());
        slots = arranged;
        std::fill(flag.begin(), flag.end(), 0);
        const std::size_t first = top ? 0 : rest.size();
        std::fill(flag.begin() + static_cast<std::ptrdiff_t>(first),
                  flag.begin() + static_cast<std::ptrdiff_t>(first + picked.size()), 1);
    } else {
        // A chosen row at the edge stays, and so does any chosen row packed against it.
        const int n = static_cast<int>(slots.size());
        const bool up = move == Move::Up;
        std::vector<char> stuck(slots.size(), 0);
        for (int k = 0; k < n; ++k) {
            const int i = up ? k : n - 1 - k;
            if (!flag[static_cast<std::size_t>(i)]) continue;
            const int j = up ? i - 1 : i + 1;
            if (j < 0 || j >= n || stuck[static_cast<std::size_t>(j)]) {
                stuck[static_cast<std::size_t>(i)] = 1;
                continue;
            }
            std::swap(slots[static_cast<std::size_t>(i)], slots[static_cast<std::size_t>(j)]);
            std::swap(flag[static_cast<std::size_t>(i)], flag[static_cast<std::size_t>(j)]);
        }
    }
    std::copy(slots.begin(), slots.end(), order.begin() + begin);
    for (std::size_t i = 0; i < flag.size(); ++i)
        if (flag[i]) moved.push_back(begin + static_cast<int>(i));
}

std::vector<int> inRange(const std::vector<int>& sorted, int begin, int end)
{
    return {std::lower_bound(sorted.begin(), sorted.end(), begin), std::lower_bound(sorted.begin(), sorted.end(), end)};
}

void normalise(std::vector<int>& v, int limit)
{
    std::sort(v.begin(), v.end());
    v.erase(std::unique(v.begin(), v.end()), v.end());
    v.erase(std::remove_if(v.begin(), v.end(), [limit](int x) { return x < 0 || x >= limit; }), v.end());
}

// Entries of list l in the new order: entries[k] goes to place k.
void writeEntries(ChannelDatabase& db, int list, const std::vector<int>& entries)
{
    for (std::size_t k = 0; k < entries.size(); ++k) db.setFavEntry(list, static_cast<int>(k), entries[k]);
}

std::vector<int> entriesOf(const ChannelDatabase& db, int list)
{
    std::vector<int> e(static_cast<std::size_t>(db.favInUse(list)));
    for (std::size_t k = 0; k < e.size(); ++k) e[k] = db.favEntry(list, static_cast<int>(k));
    return e;
}

int favTvPart(const ChannelDatabase& db, int list) { return std::min(db.favTvCount(list), db.favInUse(list)); }

} // namespace

std::optional<SortKey> sortKeyNamed(std::string_view name)
{
    if (name == "name") return SortKey::Name;
    if (name == "provider") return SortKey::Provider;
    if (name == "satellite") return SortKey::SatelliteFrequency;
    if (name == "sid") return SortKey::ServiceId;
    return std::nullopt;
}

int naturalCompare(std::string_view a, std::string_view b)
{
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (digit(a[i]) && digit(b[j])) {
            while (i < a.size() && a[i] == '0') ++i;
            while (j < b.size() && b[j] == '0') ++j;
            std::size_t ei = i, ej = j;
            while (ei < a.size() && digit(a[ei])) ++ei;
            while (ej < b.size() && digit(b[ej])) ++ej;
            if (ei - i != ej - j) return ei - i < ej - j ? -1 : 1;
            if (const int c = a.substr(i, ei - i).compare(b.substr(j, ej - j))) return c < 0 ? -1 : 1;
            i = ei;
            j = ej;
            continue;
        }
        const int ca = std::tolower(static_cast<unsigned char>(a[i]));
        const int cb = std::tolower(static_cast<unsigned char>(b[j]));
        if (ca != cb) return ca < cb ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size()) return 1;
    return j < b.size() ? -1 : 0;
}

bool reorderPrograms(ChannelDatabase& db, const std::vector<int>& order)
{
    const int n = db.programsInUse();
    const int tv = std::min(db.tvProgramCount(), n);
    if (static_cast<int>(order.size()) != n) return false;
    std::vector<int> newIndex(static_cast<std::size_t>(n), -1);
    for (int k = 0; k < n; ++k) {
        const int p = order[static_cast<std::size_t>(k)];
        if (p < 0 || p >= n || newIndex[static_cast<std::size_t>(p)] >= 0 || (p < tv) != (k < tv)) return false;
        newIndex[static_cast<std::size_t>(p)] = k;
    }
    const std::size_t size = layout::PROGRAM_SIZE;
    std::uint8_t* table = db.image() + layout::PROGRAMS;
    const std::vector<std::uint8_t> old(table, table + size * static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k)
        std::memcpy(table + size * static_cast<std::size_t>(k),
                    old.data() + size * static_cast<std::size_t>(order[static_cast<std::size_t>(k)]), size);
    for (int l = 0; l < FAV_LISTS; ++l)
        for (int pos = 0; pos < db.favInUse(l); ++pos) {
            const int e = db.favEntry(l, pos);
            if (e < n) db.setFavEntry(l, pos, newIndex[static_cast<std::size_t>(e)]);
        }
    return true;
}

void sortPrograms(ChannelDatabase& db, std::vector<int> places, SortKey key)
{
    const int n = db.programsInUse();
    normalise(places, n);
    const int tv = std::min(db.tvProgramCount(), n);
    std::vector<int> order(static_cast<std::size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    const SortKeys keys(db, key);
    for (const auto& part : {inRange(places, 0, tv), inRange(places, tv, n)}) {
        std::vector<int> programs = part;
        std::stable_sort(programs.begin(), programs.end(), [&](int a, int b) { return keys.less(a, b); });
        for (std::size_t i = 0; i < part.size(); ++i) order[static_cast<std::size_t>(part[i])] = programs[i];
    }
    reorderPrograms(db, order);
}

void sortFavourite(ChannelDatabase& db, int list, std::vector<int> positions, SortKey key)
{
    if (list < 0 || list >= FAV_LISTS) return;
    std::vector<int> entries = entriesOf(db, list);
    const int count = static_cast<int>(entries.size());
    normalise(positions, count);
    const int tv = favTvPart(db, list);
    const SortKeys keys(db, key);
    for (const auto& part : {inRange(positions, 0, tv), inRange(positions, tv, count)}) {
        std::vector<int> values;
        for (int p : part) values.push_back(entries[static_cast<std::size_t>(p)]);
        std::stable_sort(values.begin(), values.end(), [&](int a, int b) { return keys.less(a, b); });
        for (std::size_t i = 0; i < part.size(); ++i) entries[static_cast<std::size_t>(part[i])] = values[i];
    }
    writeEntries(db, list, entries);
}

std::vector<int> movePrograms(ChannelDatabase& db, std::vector<int> places, Move move)
{
    const int n = db.programsInUse();
    normalise(places, n);
    const int tv = std::min(db.tvProgramCount(), n);
    std::vector<int> order(static_cast<std::size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    std::vector<int> moved;
    arrange(order, 0, tv, inRange(places, 0, tv), move, moved);
    arrange(order, tv, n, inRange(places, tv, n), move, moved);
    reorderPrograms(db, order);
    return moved;
}

std::vector<int> moveFavourites(ChannelDatabase& db, int list, std::vector<int> positions, Move move)
{
    if (list < 0 || list >= FAV_LISTS) return {};
    const std::vector<int> entries = entriesOf(db, list);
    const int count = static_cast<int>(entries.size());
    normalise(positions, count);
    const int tv = favTvPart(db, list);
    std::vector<int> order(entries.size());
    std::iota(order.begin(), order.end(), 0);
    std::vector<int> moved;
    arrange(order, 0, tv, inRange(positions, 0, tv), move, moved);
    arrange(order, tv, count, inRange(positions, tv, count), move, moved);
    std::vector<int> arranged(entries.size());
    for (std::size_t k = 0; k < order.size(); ++k) arranged[k] = entries[static_cast<std::size_t>(order[k])];
    writeEntries(db, list, arranged);
    return moved;
}

void setLocked(ChannelDatabase& db, const std::vector<int>& programs, bool locked)
{
    for (int p : programs) {
        if (p < 0 || p >= db.programsInUse()) continue;
        const std::size_t at = programField(p, layout::prog::FLAGS);
        const std::uint16_t flags = db.raw().u16(at);
        db.raw().setU16(at, static_cast<std::uint16_t>(locked ? flags | FLAG_LOCKED : flags & ~FLAG_LOCKED));
    }
}

bool addToFavourite(ChannelDatabase& db, int list, const std::vector<int>& programs)
{
    for (int p : programs) {
        if (p < 0 || p >= db.programsInUse()) continue;
        RecordView member;
        member.field[favf::ENTRY] = p;
        if (db.recordOp(DBT_FAVOURITE, OP_ADD, list, member) != 0) return false;
    }
    return true;
}

void removeFromFavourite(ChannelDatabase& db, int list, const std::vector<int>& programs)
{
    for (int p : programs) {
        RecordView member;
        member.field[favf::ENTRY] = p;
        db.recordOp(DBT_FAVOURITE, OP_DELETE, list, member);
    }
}

void removePrograms(ChannelDatabase& db, std::vector<int> programs,
                    const std::vector<std::pair<int, int>>& replacements)
{
    const int n = db.programsInUse();
    normalise(programs, n);
    if (programs.empty()) return;
    const int tv = std::min(db.tvProgramCount(), n);
    std::vector<char> removed(static_cast<std::size_t>(n), 0);
    for (int p : programs) removed[static_cast<std::size_t>(p)] = 1;

    for (const auto& [gone, kept] : replacements) {
        if (gone < 0 || gone >= n || kept < 0 || kept >= n || !removed[static_cast<std::size_t>(gone)] ||
            removed[static_cast<std::size_t>(kept)] || (gone < tv) != (kept < tv))
            continue;
        for (int l = 0; l < FAV_LISTS; ++l) {
            const int at = edit::findFavEntry(db, l, gone);
            if (at >= 0 && edit::findFavEntry(db, l, kept) < 0) db.setFavEntry(l, at, kept);
        }
    }

    std::vector<int> newIndex(static_cast<std::size_t>(n), -1);
    const std::size_t size = layout::PROGRAM_SIZE;
    std::uint8_t* table = db.image() + layout::PROGRAMS;
    int next = 0;
    for (int p = 0; p < n; ++p) {
        if (removed[static_cast<std::size_t>(p)]) continue;
        if (next != p)
            std::memmove(table + size * static_cast<std::size_t>(next), table + size * static_cast<std::size_t>(p),
                         size);
        newIndex[static_cast<std::size_t>(p)] = next++;
    }
    const int removedTv =
        static_cast<int>(std::count_if(programs.begin(), programs.end(), [tv](int p) { return p < tv; }));
    db.setProgramCount(db.programCount() - static_cast<int>(programs.size()));
    db.setTvProgramCount(db.tvProgramCount() - removedTv);

    for (int l = 0; l < FAV_LISTS; ++l) {
        const std::vector<int> entries = entriesOf(db, l);
        const int listTv = favTvPart(db, l);
        std::vector<int> kept;
        int goneTv = 0;
        for (std::size_t k = 0; k < entries.size(); ++k) {
            const int e = entries[k];
            if (e < n && removed[static_cast<std::size_t>(e)]) {
                if (static_cast<int>(k) < listTv) ++goneTv;
                continue;
            }
            kept.push_back(e < n ? newIndex[static_cast<std::size_t>(e)] : e);
        }
        writeEntries(db, l, kept);
        if (kept.size() == entries.size()) continue;
        db.setFavCount(l, db.favCount(l) - static_cast<int>(entries.size() - kept.size()));
        db.setFavTvCount(l, db.favTvCount(l) - goneTv);
    }
}

} // namespace satorix
