#include "db/ReferenceList.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <unordered_map>

#include "db/ChannelDatabase.h"
#include "db/Names.h"

namespace satorix {
namespace {

// Everything of the key but the frequency.
std::uint64_t group(const ProgramKey& k)
{
    return static_cast<std::uint64_t>(k.position) << 40 |
           static_cast<std::uint64_t>(static_cast<std::uint8_t>(k.eastWest)) << 32 |
           static_cast<std::uint64_t>(k.polarisation & 0xFF) << 16 | static_cast<std::uint64_t>(k.serviceId);
}

std::string programName(const ChannelDatabase& db, int p, NameTable table)
{
    return decodeName(boundedName(db.raw().namePtr(DatabaseImage::programOffset(p) + layout::prog::NAME)), table);
}

} // namespace

ReferencePlan planReference(const ChannelDatabase& db, const ChannelDatabase& reference,
                            const ReferenceOptions& options)
{
    ReferencePlan plan;
    const int n = db.programsInUse();
    const int tv = std::min(db.tvProgramCount(), n);
    const int refN = reference.programsInUse();
    const std::vector<ProgramKey> keys = programKeys(db);
    const std::vector<ProgramKey> refKeys = programKeys(reference);

    std::unordered_map<std::uint64_t, std::vector<int>> candidates;
    candidates.reserve(static_cast<std::size_t>(n));
    for (int p = 0; p < n; ++p)
        if (keys[static_cast<std::size_t>(p)].valid) candidates[group(keys[static_cast<std::size_t>(p)])].push_back(p);

    std::vector<int> hereOf(static_cast<std::size_t>(refN), -1); // reference program -> program here
    std::vector<int> refOf(static_cast<std::size_t>(n), -1);
    for (int r = 0; r < refN; ++r) {
        const ProgramKey& k = refKeys[static_cast<std::size_t>(r)];
        const auto it = k.valid ? candidates.find(group(k)) : candidates.end();
        int best = -1, bestDistance = FREQUENCY_TOLERANCE + 1;
        if (it != candidates.end())
            for (int p : it->second) {
                const int d = std::abs(keys[static_cast<std::size_t>(p)].frequency - k.frequency);
                if (d < bestDistance && refOf[static_cast<std::size_t>(p)] < 0) {
                    best = p;
                    bestDistance = d;
                }
            }
        if (best < 0) {
            plan.unmatchedInReference.push_back({r, programName(reference, r, options.table), k.text()});
            continue;
        }
        hereOf[static_cast<std::size_t>(r)] = best;
        refOf[static_cast<std::size_t>(best)] = r;
        ++plan.matched;
    }

    std::vector<int> order;
    order.reserve(static_cast<std::size_t>(n));
    for (const auto& [from, to] : {std::pair{0, tv}, std::pair{tv, n}}) {
        const std::size_t start = order.size();
        for (int p = from; p < to; ++p)
            if (refOf[static_cast<std::size_t>(p)] >= 0) order.push_back(p);
        std::sort(order.begin() + static_cast<std::ptrdiff_t>(start), order.end(), [&refOf](int a, int b) {
            return refOf[static_cast<std::size_t>(a)] < refOf[static_cast<std::size_t>(b)];
        });
        for (int p = from; p < to; ++p)
            if (refOf[static_cast<std::size_t>(p)] < 0) {
                order.push_back(p);
                plan.unmatchedHere.push_back(
                    {p, programName(db, p, options.table), keys[static_cast<std::size_t>(p)].text()});
            }
    }
    bool moved = false;
    for (int k = 0; k < n && !moved; ++k) moved = order[static_cast<std::size_t>(k)] != k;
    if (moved) plan.changes.order = std::move(order);

    if (options.names)
        for (int p = 0; p < n; ++p) {
            const int r = refOf[static_cast<std::size_t>(p)];
            if (r < 0) continue;
            const char* theirs = reference.raw().namePtr(DatabaseImage::programOffset(r) + layout::prog::NAME);
            const char* ours = db.raw().namePtr(DatabaseImage::programOffset(p) + layout::prog::NAME);
            if (std::memcmp(theirs, ours, NAME_LEN) != 0)
                plan.changes.names.emplace_back(p, std::string(theirs, NAME_LEN));
        }

    for (int l = 0; l < FAV_LISTS; ++l) {
        std::vector<int> tvPart, radioPart;
        std::vector<char> taken(static_cast<std::size_t>(n), 0);
        for (int k = 0; k < reference.favInUse(l); ++k) {
            const int e = reference.favEntry(l, k);
            const int p = e < refN ? hereOf[static_cast<std::size_t>(e)] : -1;
            if (p < 0 || taken[static_cast<std::size_t>(p)]) continue;
            taken[static_cast<std::size_t>(p)] = 1;
            (p < tv ? tvPart : radioPart).push_back(p);
        }
        ProgramChanges::FavouriteList list;
        list.tvCount = static_cast<int>(tvPart.size());
        list.entries = std::move(tvPart);
        list.entries.insert(list.entries.end(), radioPart.begin(), radioPart.end());
        list.name = std::string(reference.raw().namePtr(DatabaseImage::favOffset(l) + layout::fav::NAME), NAME_LEN);
        plan.changes.favourites[static_cast<std::size_t>(l)] = std::move(list);
    }
    return plan;
}

std::string referenceSummary(const ReferencePlan& plan)
{
    std::string s = "Matched: " + std::to_string(plan.matched) + "\n";
    auto list = [&s](const char* title, const std::vector<ProgramNote>& notes) {
        s += title + std::to_string(notes.size()) + "\n";
        for (const ProgramNote& p : notes)
            s += "  " + std::to_string(p.program + 1) + " " + p.name + " " + p.key + "\n";
    };
    list("Programs here without a match (they follow in their order): ", plan.unmatchedHere);
    list("Programs of the reference without a match: ", plan.unmatchedInReference);
    return s;
}

} // namespace satorix
