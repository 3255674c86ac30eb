#include "db/Duplicates.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <string>
#include <utility>

#include "db/ChannelDatabase.h"
#include "db/Lookups.h"
#include "db/Names.h"
#include "db/ProgramOrder.h"

namespace satorix {
namespace {

std::string foldedName(const ChannelDatabase& db, int p)
{
    std::string_view n = boundedName(db.raw().namePtr(DatabaseImage::programOffset(p) + layout::prog::NAME));
    if (!n.empty() && isCharTableByte(static_cast<unsigned char>(n[0]))) n.remove_prefix(1);
    while (!n.empty() && n.back() == ' ') n.remove_suffix(1);
    while (!n.empty() && n.front() == ' ') n.remove_prefix(1);
    std::string folded(n);
    for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return folded;
}

void chooseKept(DuplicateGroup& g, const std::vector<int>& lists)
{
    g.keep = *std::min_element(g.programs.begin(), g.programs.end(), [&](int a, int b) {
        const int la = lists[static_cast<std::size_t>(a)];
        const int lb = lists[static_cast<std::size_t>(b)];
        return la != lb ? la > lb : a < b;
    });
}

} // namespace

std::vector<DuplicateGroup> findDuplicates(const ChannelDatabase& db)
{
    const int n = db.programsInUse();
    const DatabaseImage& img = db.raw();
    const std::vector<std::uint16_t> bits = favouriteBits(db);
    std::vector<int> lists(static_cast<std::size_t>(n));
    for (std::size_t p = 0; p < lists.size(); ++p) lists[p] = std::popcount(bits[p]);

    // Grouping by sorting: (key, program) pairs, equal keys side by side in channel order.
    std::vector<std::pair<std::uint32_t, int>> byService;
    std::vector<std::pair<std::string, int>> byName;
    byService.reserve(static_cast<std::size_t>(n));
    for (int p = 0; p < n; ++p) {
        const std::size_t at = DatabaseImage::programOffset(p);
        const int t = img.u16(at + layout::prog::TRANSPONDER);
        byService.emplace_back(static_cast<std::uint32_t>(t) << 16 | img.u16(at + layout::prog::SERVICE_ID), p);
        if (t < db.transpondersInUse()) {
            std::string name = foldedName(db, p);
            if (!name.empty())
                byName.emplace_back(std::string(1, static_cast<char>(img.u8(DatabaseImage::transponderOffset(t) +
                                                                            layout::tp::SAT_ID))) +
                                        name,
                                    p);
        }
    }
    std::sort(byService.begin(), byService.end());
    std::sort(byName.begin(), byName.end());
    const auto runs = [](const auto& pairs, const auto& take) {
        for (std::size_t i = 0; i < pairs.size();) {
            std::size_t j = i;
            std::vector<int> programs;
            while (j < pairs.size() && pairs[j].first == pairs[i].first) programs.push_back(pairs[j++].second);
            if (programs.size() > 1) take(std::move(programs));
            i = j;
        }
    };

    std::vector<DuplicateGroup> groups;
    std::vector<int> certainGroup(static_cast<std::size_t>(n), -1);
    runs(byService, [&](std::vector<int> programs) {
        for (int p : programs) certainGroup[static_cast<std::size_t>(p)] = static_cast<int>(groups.size());
        groups.push_back({true, std::move(programs), -1});
    });
    std::vector<DuplicateGroup> likely;
    runs(byName, [&](std::vector<int> programs) {
        // Already told as certain: nothing more to say.
        const int g = certainGroup[static_cast<std::size_t>(programs.front())];
        if (g >= 0 && std::all_of(programs.begin(), programs.end(),
                                  [&](int p) { return certainGroup[static_cast<std::size_t>(p)] == g; }))
            return;
        likely.push_back({false, std::move(programs), -1});
    });
    groups.insert(groups.end(), std::make_move_iterator(likely.begin()), std::make_move_iterator(likely.end()));
    for (DuplicateGroup& g : groups) chooseKept(g, lists);
    // In channel order within each kind of group.
    std::stable_sort(groups.begin(), groups.end(), [](const DuplicateGroup& a, const DuplicateGroup& b) {
        return a.certain != b.certain ? a.certain : a.programs.front() < b.programs.front();
    });
    return groups;
}

void removeDuplicates(ChannelDatabase& db, const std::vector<DuplicateGroup>& groups)
{
    std::vector<int> removed;
    std::vector<std::pair<int, int>> replacements;
    for (const DuplicateGroup& g : groups)
        for (int p : g.programs)
            if (p != g.keep) {
                removed.push_back(p);
                replacements.emplace_back(p, g.keep);
            }
    removePrograms(db, std::move(removed), replacements);
}

} // namespace satorix
