#pragma once
// What the groups of subcommands share: the home folder with the program's
// files, paths as a command line means them, whole files in and out, and the
// way a failure is told.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace CLI {
class App;
}

// The folder that holds File_Cfg.ini, lst_file and Download: the program's
// own folder unless --home names another.
struct HomeFolder {
  std::string path;

  std::string ConfigFile() const;
};

// Adds --home to `command`; the folder starts as the program's own.
void AddHomeOption(CLI::App& command, HomeFolder& home);

// A file path from the command line, as the program's file readers take it:
// a name without any folder means one in the current folder (the
// configuration reader would otherwise look in the Windows directory), and
// forward slashes are the system's separator.
std::string CommandLinePath(std::string path);

// "pellory-cli: " + `problem` on standard error, one line.
void Complain(std::string_view problem);

// The keys of `section` of the configuration file at `path` (completed as
// the reader completes it); nothing, told on standard error with the
// reason, when the file can't be opened.
std::optional<std::vector<std::string>> ReadConfigKeys(std::string& path, std::string_view password,
                                                       std::string_view section);

// A whole file; nothing, told on standard error with the reason, when it
// can't be opened or read to its end.
std::optional<std::vector<std::uint8_t>> ReadInputFile(const std::string& path);

// Writes `bytes` as the file `path`, whole or not at all: they go into a new
// file beside it, which then replaces `path`. False, told on standard error
// with the reason, when that fails; no partial file is left behind.
bool WriteOutputFile(const std::string& path, std::span<const std::uint8_t> bytes);
