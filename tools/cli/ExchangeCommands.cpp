// satorix-cli import and apply-reference: a database's order, names and favourite lists from a
// spreadsheet or from another database.
#include "tools/cli/ExchangeCommands.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <unistd.h>

#include "db/FileSystem.h"
#include "db/ProgramExchange.h"
#include "db/ReferenceList.h"
#include "tools/cli/CliCommon.h"

namespace satorix::cli {
namespace {

bool readText(const std::string& path, std::string& text)
{
    std::string reason;
    const int fd = openRegularFile(path, reason);
    if (fd < 0) {
        std::fprintf(stderr, "error: cannot open %s: %s\n", path.c_str(), reason.c_str());
        return false;
    }
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            std::fprintf(stderr, "error: cannot read %s: %s\n", path.c_str(), std::strerror(errno));
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        text.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return true;
}

int save(ChannelDatabase& db, const std::string& out)
{
    if (db.save(out) != 0) {
        std::fprintf(stderr, "error: cannot write %s\n", out.c_str());
        return EXIT_FAILED;
    }
    return EXIT_OK;
}

int runImport(const std::string& path, const std::string& csvPath, const std::string& out, ImportOptions options)
{
    auto db = std::make_unique<ChannelDatabase>();
    long long size = 0;
    std::string csv;
    if (!readImageFile(path, *db, size) || !readText(csvPath, csv)) return EXIT_FAILED;
    const ImportPlan plan = planImport(*db, csv, options);
    if (!plan.error.empty()) {
        std::fprintf(stderr, "error: %s: %s\n", csvPath.c_str(), plan.error.c_str());
        return EXIT_FAILED;
    }
    std::fputs(importSummary(plan).c_str(), stdout);
    applyChanges(*db, plan.changes);
    return save(*db, out);
}

int runApplyReference(const std::string& path, const std::string& refPath, const std::string& out,
                      const ReferenceOptions& options)
{
    auto db = std::make_unique<ChannelDatabase>();
    auto reference = std::make_unique<ChannelDatabase>();
    long long size = 0;
    if (!readImageFile(path, *db, size) || !readImageFile(refPath, *reference, size)) return EXIT_FAILED;
    const ReferencePlan plan = planReference(*db, *reference, options);
    std::fputs(referenceSummary(plan).c_str(), stdout);
    applyChanges(*db, plan.changes);
    return save(*db, out);
}

} // namespace

ExchangeCommands::ExchangeCommands(CLI::App& app, int& result)
{
    auto* import = app.add_subcommand(
        "import", "Apply a spreadsheet (CSV from 'list --format csv') to a database: order, names, favourites");
    import->add_option("FILE", file_, "Database file")->required();
    import->add_option("CSV", input_, "CSV file; rows match programs by their key column")->required();
    import->add_option("-o,--output", out_, "Database file to write")->required();
    import->add_flag("--delete-unmatched", deleteUnmatched_, "Delete the programs no row names");
    addNameTableOption(import, nameTable_);
    import->callback([this, &result] { result = runImport(file_, input_, out_, {deleteUnmatched_, nameTable(nameTable_)});
});

auto* reference = app.add_subcommand("apply-reference",
                                     "Put a database's programs in another database's order, with its favourite lists");
reference->add_option("FILE", file_, "Database file")->required();
reference->add_option("REF", input_, "Reference database file")->required();
reference->add_option("-o,--output", out_, "Database file to write")->required();
reference->add_flag("--names", names_, "Take the reference's program names too");
reference->callback([this, &result] {
    result = runApplyReference(file_, input_, out_, {names_, nameTable(nameTable_)});
});
} // namespace satorix::cli

} // namespace satorix::cli
