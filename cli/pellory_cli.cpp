// pellory-cli: the patch scan and cleaning without the window, for people
// who keep many game installs, and the foreign regions' configuration,
// archive lists and downloads. Same cores as the window, same verdicts.
// `pellory-cli --help` and `pellory-cli SUBCOMMAND --help` describe the use.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "generated/version.h"
#include "platform/console.h"
#include "platform/program.h"

namespace {
std::string FailureMessage(const CLI::App*, const CLI::Error& error) {
  return "pellory-cli: " + std::string(error.what()) + "\nRun with --help for more information.\n";
}

// Help goes to standard output with exit code 0; a wrong command line is
// told on standard error and ends with exit code 2.
int EndOfParsing(const CLI::App& app, const CLI::ParseError& error) {
  std::ostringstream out, err;
  const int code = app.exit(error, out, err);
  WriteConsoleText(out.str());
  WriteErrorText(err.str());
  return code == 0 ? exit_code::kDone : exit_code::kWrongCommandLine;
}
}  // namespace

int main(int argc, char** argv) {
  CLI::App app("The patch scan and cleaning of the game's ImagePacks2 and SoundPacks folders, and the foreign "
               "regions' configuration, archive lists and downloads.",
               "pellory-cli");
  app.set_version_flag("--version", std::string("pellory-cli ") + kProgramVersion);
  app.require_subcommand(1);
  app.failure_message(FailureMessage);
  Command chosen;
  AddScanCommands(app, chosen);
  AddConfigCommands(app, chosen);
  AddRegionCommands(app, chosen);
  AddDownloadCommands(app, chosen);

  // The arguments as the program's own texts (on Windows they arrive wide);
  // the parser takes them last first.
  std::vector<std::string> arguments = ProgramArguments(argc, argv, nullptr);
  std::reverse(arguments.begin(), arguments.end());
  try {
    app.parse(arguments);
  } catch (const CLI::ParseError& error) {
    return EndOfParsing(app, error);
  }
  return chosen();
}
