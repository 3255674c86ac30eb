// satorix-cli sort and duplicates: the editor's operations for scripts.
#include "tools/cli/EditCommands.h"

#include <cstdio>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <numeric>

#include "db/Duplicates.h"
#include "db/ProgramOrder.h"
#include "db/ProgramRowTexts.h"
#include "tools/cli/CliCommon.h"

namespace satorix::cli {
namespace {

int save(ChannelDatabase& db, const std::string& out)
{
    if (db.save(out) != 0) {
        std::fprintf(stderr, "error: cannot write %s\n", out.c_str());
        return EXIT_FAILED;
    }
    return EXIT_OK;
}

int runSort(const std::string& path, const std::string& by, int favourite, const std::string& out)
{
    auto db = std::make_unique<ChannelDatabase>();
    long long size = 0;
    if (!readImageFile(path, *db, size)) return EXIT_FAILED;
    const SortKey key = *sortKeyNamed(by);
    const int n = favourite ? db->favInUse(favourite - 1) : db->programsInUse();
    std::vector<int> all(static_cast<std::size_t>(n));
    std::iota(all.begin(), all.end(), 0);
    if (favourite)
        sortFavourite(*db, favourite - 1, all, key);
    else
        sortPrograms(*db, all, key);
    return save(*db, out);
}

std::string favourites(std::uint16_t bits)
{
    std::string s;
    for (int l = 0; l < FAV_LISTS; ++l)
        if (bits & (1u << l)) s += (s.empty() ? "" : " ") + std::to_string(l + 1);
    return s;
}

int runDuplicates(const std::string& path, const std::string& format, bool remove, const std::string& out)
{
    auto db = std::make_unique<ChannelDatabase>();
    long long size = 0;
    if (!readImageFile(path, *db, size)) return EXIT_FAILED;
    const std::vector<DuplicateGroup> groups = findDuplicates(*db);
    if (remove) {
        if (out.empty()) {
            std::fprintf(stderr, "error: --remove needs -o OUT\n");
            return EXIT_USAGE;
        }
        removeDuplicates(*db, groups);
        return save(*db, out);
    }
    const ProgramRowBuilder rows(*db);
    nlohmann::json json = nlohmann::json::array();
    if (format == "csv")
        std::cout << "group,kind,keep,number,name,provider,satellite,frequency,polarisation,favourites\r\n";
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const DuplicateGroup& group = groups[g];
        const char* kind = group.certain ? "certain" : "likely";
        if (format == "text" && (g == 0 || groups[g - 1].certain != group.certain))
            std::printf("%s%s duplicates (same %s):\n", g ? "\n" : "", group.certain ? "Certain" : "Likely",
                        group.certain ? "transponder and service id" : "name on the same satellite");
        else if (format == "text")
            std::printf("\n");
        for (int p : group.programs) {
            RowTexts t;
            rows.build(p, p, t);
            const std::string lists = favourites(rows.favBits(p));
            const bool keep = p == group.keep;
            if (format == "json") {
                json.push_back({{"group", g + 1},
                                {"kind", kind},
                                {"keep", keep},
                                {"program", p},
                                {"name", t[1]},
                                {"provider", t[3]},
                                {"satellite", t[4]},
                                {"frequency", t[5]},
                                {"polarisation", t[7]},
                                {"favourites", lists}});
            } else if (format == "csv") {
                std::cout << g + 1 << ',' << kind << ',' << (keep ? "yes" : "no") << ',' << t[0];
                for (const std::string& v : {t[1], t[3], t[4], t[5], t[7], lists}) {
                    std::string cell = v;
                    if (cell.find_first_of(",\"\r\n") != std::string::npos) {
                        std::string q = "\"";
                        for (char c : cell) q += c == '"' ? std::string("\"\"") : std::string(1, c);
                        cell = q + "\"";
                    }
                    std::cout << ',' << cell;
                }
                std::cout << "\r\n";
            } else {
                std::printf("  %s %-6s %-16s %-16s %s %s %s%s\n", keep ? "keep  " : "remove", t[0].c_str(),
                            t[1].c_str(), t[3].c_str(), t[5].c_str(), t[7].c_str(), lists.empty() ? "" : "favourites ",
                            lists.c_str());
            }
        }
    }
    if (format == "json") std::cout << json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    return groups.empty() ? EXIT_OK : EXIT_FAILED;
}

} // namespace

EditCommands::EditCommands(CLI::App& app, int& result)
{
    auto* sort = app.add_subcommand("sort", "Sort the programs, or one favourite list, and save the result");
    sort->add_option("FILE", file_, "Database file")->required();
    sort->add_option("--by", sortBy_, "name, provider, satellite (and frequency) or sid")
        ->check(CLI::IsMember({"name", "provider", "satellite", "sid"}))
        ->capture_default_str();
    sort->add_option("--favourite", favourite_, "Sort favourite list 1..9 instead of the programs")
        ->check(CLI::Range(1, 9));
    sort->add_option("-o,--output", out_, "Database file to write")->required();
    sort->callback([this, &result] { result = runSort(file_, sortBy_, favourite_, out_); });

    auto* dups = app.add_subcommand("duplicates", "List programs that are there twice (exit 1 when any)");
    dups->add_option("FILE", file_, "Database file")->required();
    dups->add_option("--format", format_, "text, csv or json")
        ->check(CLI::IsMember({"text", "csv", "json"}))
        ->capture_default_str();
    dups->add_flag("--remove", remove_, "Delete all but one of each group and save to -o");
    dups->add_option("-o,--output", out_, "Database file to write with --remove");
    dups->callback([this, &result] { result = runDuplicates(file_, format_, remove_, out_); });
}

} // namespace satorix::cli
