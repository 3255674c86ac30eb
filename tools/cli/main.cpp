#include <CLI/CLI.hpp>

#include "db/FileSystem.h"
#include "tools/cli/CliCommon.h"
#include "tools/cli/DbCommands.h"
#include "tools/cli/EditCommands.h"
#include "tools/cli/ExchangeCommands.h"
#include "tools/cli/LinkCommands.h"

int main(int argc, char** argv)
{
    satorix::ignoreFileSizeSignal();
    CLI::App app{"Satorix command line: channel database files and receiver transfers"};
    app.require_subcommand(1);
    int result = satorix::cli::EXIT_OK;
    satorix::cli::DbCommands db(app, result);
    satorix::cli::EditCommands edits(app, result);
    satorix::cli::ExchangeCommands exchange(app, result);
    satorix::cli::LinkCommands link(app, result);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return satorix::cli::EXIT_USAGE;
    }
    return result;
}
