// satorix-cli commands that work on database files: sample, info, check, list, nfo, fix-crc.
#include "tools/cli/DbCommands.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>

#include "db/DatabaseCheck.h"
#include "db/Names.h"
#include "db/ProgramExchange.h"
#include "db/ProgramRowTexts.h"
#include "db/SampleGenerator.h"
#include "tools/cli/CliCommon.h"

namespace satorix::cli {
namespace {

int runSample(const std::string& out, bool full, std::uint32_t seed)
{
    auto db = std::make_unique<ChannelDatabase>();
    generateSample(*db, {full, seed});
    if (db->save(out) != 0) {
        std::fprintf(stderr, "error: cannot write %s\n", out.c_str());
        return EXIT_FAILED;
    }
    return EXIT_OK;
}

int runInfo(const std::string& path)
{
    auto db = std::make_unique<ChannelDatabase>();
    long long size = 0;
    if (!readImageFile(path, *db, size)) return EXIT_FAILED;
    std::printf("File: %s\nSize: %lld bytes\n", path.c_str(), size);
    std::printf("Satellites: %d\nTransponders: %d\nProviders: %d\n", db->satelliteCount(), db->transponderCount(),
                db->providerCount());
    std::printf("Programs: %d (TV %d, radio %d)\n", db->programCount(), db->tvProgramCount(),
                db->programCount() - db->tvProgramCount());
    for (int l = 0; l < FAV_LISTS; ++l) {
        const std::string name(boundedName(db->raw().namePtr(DatabaseImage::favOffset(l) + layout::fav::NAME)));
        std::printf("Favourite list %d \"%s\": %d entries (TV %d, radio %d)\n", l + 1, name.c_str(), db->favCount(l),
                    db->favTvCount(l), db->favCount(l) - db->favTvCount(l));
    }
    const std::uint32_t stored = db->storedCrc(), computed = db->computeCrc();
    std::printf("Stored CRC: %08X\nComputed CRC: %08X (%s)\n", stored, computed,
                stored == computed ? "match" : "MISMATCH");
    return EXIT_OK;
}

int runCheck(const std::string& path)
{
    auto db = std::make_unique<ChannelDatabase>();
    long long size = 0;
    if (!readImageFile(path, *db, size)) return EXIT_FAILED;
    std::vector<std::string> problems;
    if (size != static_cast<long long>(IMAGE_SIZE))
        problems.push_back("file size " + std::to_string(size) + " differs from " + std::to_string(IMAGE_SIZE));
    for (auto& p : checkDatabase(*db)) problems.push_back(std::move(p));
    for (const auto& p : problems) std::printf("%s\n", p.c_str());
    if (problems.empty()) std::printf("%s: OK\n", path.c_str());
    return problems.empty() ? EXIT_OK : EXIT_FAILED;
}

int runList(const std::string& path, const std::string& format, int favourite, bool tv, bool radio, NameTable table)
{
    auto db = std::make_unique<ChannelDatabase>();
    if (!loadLikeEditor(path, *db)) return EXIT_FAILED;
    std::uint32_t scope = tv ? SCOPE_TV : radio ? SCOPE_RADIO : SCOPE_TV_RADIO;
    scope |= favourite > 0 ? scopeFav(favourite - 1) : SCOPE_PROGRAMS;

    if (format != "text") {
        ExportOptions options;
        options.scope = scope;
        options.names = table;
        const std::string text =
            exportPrograms(*db, format == "json" ? ExportFormat::Json : ExportFormat::Csv, options);
        std::fwrite(text.data(), 1, text.size(), stdout);
        return EXIT_OK;
    }

    std::vector<RowRef> refs;
    RowTextError err;
    if (!rowsForScope(*db, scope, refs, err)) {
        std::fprintf(stderr, "%s\n", databaseErrorText(err.type, err.code).c_str());
        return EXIT_FAILED;
    }
    const ProgramRowBuilder builder(*db);
    std::vector<RowTexts> rows(refs.size());
    int failures = 0;
    for (std::size_t i = 0; i < refs.size(); ++i) {
        const RowTextError e = builder.build(refs[i].programIndex, refs[i].position, rows[i]);
        if (e.failed()) {
            ++failures;
            std::fprintf(stderr, "row %zu: %s\n", i + 1, databaseErrorText(e.type, e.code).c_str());
        }
    }

    std::array<std::size_t, ROW_COLUMNS> width{};
    for (int c = 0; c < ROW_COLUMNS; ++c)
        width[static_cast<std::size_t>(c)] = std::string(kRowColumns[static_cast<std::size_t>(c)].header).size();
    for (const auto& r : rows)
        for (std::size_t c = 0; c < ROW_COLUMNS; ++c) width[c] = std::max(width[c], r[c].size());
    auto line = [&](auto cell) {
        std::string s;
        for (std::size_t c = 0; c < ROW_COLUMNS; ++c) {
            std::string v = cell(c);
            if (c + 1 < ROW_COLUMNS) v.resize(width[c] + 2, ' ');
            s += v;
        }
        std::cout << s << '\n';
    };
    line([](std::size_t c) { return std::string(kRowColumns[c].header); });
    for (const auto& r : rows) line([&r](std::size_t c) { return r[c]; });
    return failures ? EXIT_FAILED : EXIT_OK;
}

int runNfo(const std::string& path, const std::string& out)
{
    auto db = std::make_unique<ChannelDatabase>();
    if (!loadLikeEditor(path, *db)) return EXIT_FAILED;
    if (!db->writeProgramListing(out == "-" ? "/dev/stdout" : out)) {
        std::fprintf(stderr, "error: cannot write %s: %s\n", out.c_str(), std::strerror(errno));
        return EXIT_FAILED;
    }
    return EXIT_OK;
}

int runFixCrc(const std::string& path)
{
    auto db = std::make_unique<ChannelDatabase>();
    long long size = 0;
    if (!readImageFile(path, *db, size)) return EXIT_FAILED;
    // A longer file is not a database with a bad CRC: saving would cut it.
    if (size != static_cast<long long>(IMAGE_SIZE)) {
        std::fprintf(stderr, "error: %s: %lld bytes, a database has %zu; not changed\n", path.c_str(), size,
                     IMAGE_SIZE);
        return EXIT_FAILED;
    }
    if (db->save(path) != 0) {
        std::fprintf(stderr, "error: cannot write %s\n", path.c_str());
        return EXIT_FAILED;
    }
    std::printf("CRC: %08X\n", db->storedCrc());
    return EXIT_OK;
}

} // namespace

DbCommands::DbCommands(CLI::App& app, int& result)
{
    auto* sample = app.add_subcommand("sample", "Write the bundled sample database");
    sample->add_option("-o,--output", sampleOut_, "Database file to write")->required();
    sample->add_flag("--full", sampleFull_, "Fill every table to capacity");
    sample->add_option("--seed", sampleSeed_, "Seed of the generator")->capture_default_str();
    sample->callback([this, &result] { result = runSample(sampleOut_, sampleFull_, sampleSeed_); });

    auto* info = app.add_subcommand("info", "Print a database's size, counters and CRC");
    info->add_option("FILE", file_, "Database file")->required();
    info->callback([this, &result] { result = runInfo(file_); });

    auto* check = app.add_subcommand("check", "Check a database's consistency; one line per problem");
    check->add_option("FILE", file_, "Database file")->required();
    check->callback([this, &result] { result = runCheck(file_); });

    auto* list =
        app.add_subcommand("list", "List programs: text as the editor's list shows them, csv or json with every field");
    list->add_option("FILE", file_, "Database file")->required();
    list->add_option("--format", listFormat_, "text, csv or json")
        ->check(CLI::IsMember({"text", "csv", "json"}))
        ->capture_default_str();
    list->add_option("--favourite", listFavourite_, "Favourite list 1..9")->check(CLI::Range(1, 9));
    auto* tvFlag = list->add_flag("--tv", listTv_, "TV programs only");
    list->add_flag("--radio", listRadio_, "Radio programs only")->excludes(tvFlag);
    addNameTableOption(list, nameTable_);
    list->callback([this, &result] {
        result = runList(file_, listFormat_, listFavourite_, listTv_, listRadio_, nameTable(nameTable_));
    });

    auto* nfo = app.add_subcommand("nfo", "Write the programs.nfo listing");
    nfo->add_option("FILE", file_, "Database file")->required();
    nfo->add_option("-o,--output", nfoOut_, "Listing to write ('-' for standard output)")->capture_default_str();
    nfo->callback([this, &result] { result = runNfo(file_, nfoOut_); });

    auto* fix = app.add_subcommand("fix-crc", "Recompute a database's CRC and save it");
    fix->add_option("FILE", file_, "Database file")->required();
    fix->callback([this, &result] { result = runFixCrc(file_); });
}

} // namespace satorix::cli
