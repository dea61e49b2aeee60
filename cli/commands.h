#pragma once
// pellory-cli's subcommands come in groups, one file per group. Each group
// adds its subcommands to the program's parser; the subcommand that the
// command line names leaves its work in `chosen`, which runs once the whole
// command line has been read.
#include <functional>

namespace CLI {
class App;
}

namespace exit_code {
constexpr int kDone = 0;
constexpr int kFailed = 1;            // the work could not be done, or not all of it
constexpr int kWrongCommandLine = 2;  // also a backup folder that cannot be used
}  // namespace exit_code

using Command = std::function<int()>;

// scan and clean: the patch scan of one game folder, and the cleaning of
// what it finds.
void AddScanCommands(CLI::App& app, Command& chosen);
// config: the configuration file sealed, opened, and its keys and values.
void AddConfigCommands(CLI::App& app, Command& chosen);
// regions and list: the foreign regions and the archive names of their
// list files.
void AddRegionCommands(CLI::App& app, Command& chosen);
// download and update-list: archives from a region's server, and the region's list file.
void AddDownloadCommands(CLI::App& app, Command& chosen);
