#include <CLI/CLI.hpp>
#include <cstdio>
#include <string>

#include "db/FileSystem.h"
#include "satorix/Version.h"
#include "tools/cli/CliCommon.h"
#include "tools/cli/DbCommands.h"
#include "tools/cli/EditCommands.h"
#include "tools/cli/ExchangeCommands.h"
#include "tools/cli/LinkCommands.h"

namespace {

// CLI11 would call a mistyped command an unexpected argument; a new user needs the list instead.
bool knownCommand(CLI::App& app, const std::string& word)
{
    if (word.empty() || word[0] == '-') return true;
    std::string names;
    for (const CLI::App* sub : app.get_subcommands([](CLI::App*) { return true; })) {
        if (sub->check_name(word)) return true;
        names += (names.empty() ? "" : ", ") + sub->get_name();
    }
    std::fprintf(stderr, "error: unknown command '%s'\ncommands: %s\nRun with --help for more information.\n",
                 word.c_str(), names.c_str());
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    satorix::ignoreFileSizeSignal();
    CLI::App app{"Satorix command line: channel database files and receiver transfers"};
    app.set_version_flag("--version", std::string("satorix-cli ") + satorix::version::NUMBER);
    app.require_subcommand(1);
    int result = satorix::cli::EXIT_OK;
    satorix::cli::DbCommands db(app, result);
    satorix::cli::EditCommands edits(app, result);
    satorix::cli::ExchangeCommands exchange(app, result);
    satorix::cli::LinkCommands link(app, result);
    if (argc > 1 && !knownCommand(app, argv[1])) return satorix::cli::EXIT_USAGE;
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return satorix::cli::EXIT_USAGE;
    }
    return result;
}
