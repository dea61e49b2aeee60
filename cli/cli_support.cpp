#include "cli/cli_support.h"

#include <CLI/CLI.hpp>

#include "common/gbk_text.h"
#include "downloader/config_file.h"
#include "downloader/home_layout.h"
#include "platform/console.h"
#include "platform/files.h"
#include "platform/program.h"

namespace {
// The reason of the file operation that just failed.
std::string LastReason() {
  const FileError error = LastFileError();
  return FileErrorText(error == FileError::None ? FileError::Other : error);
}
}  // namespace

std::string HomeFolder::ConfigFile() const { return ConfigFilePath(path); }

void AddHomeOption(CLI::App& command, HomeFolder& home) {
  home.path = RunDirectory();
  // An unset shell variable must not turn into the root folder.
  command
      .add_option("--home", home.path, "The folder of File_Cfg.ini, lst_file and Download (default: the program's)")
      ->check([](const std::string& folder) { return folder.empty() ? std::string("names no folder") : std::string(); });
}

std::string CommandLinePath(std::string path) {
  const char separator = PathSeparator();
  for (std::size_t at = 0; at < path.size(); at += gbk::CharLength(path, at))
    if (path[at] == '/') path[at] = separator;
  if (gbk::FindChar(path, separator) == gbk::npos) path = JoinPath(".", path);
  return path;
}

void Complain(std::string_view problem) { WriteErrorText("pellory-cli: " + std::string(problem) + "\n"); }

std::optional<std::vector<std::string>> ReadConfigKeys(std::string& path, std::string_view password,
                                                       std::string_view section) {
  SetLastFileError(FileError::None);
  std::vector<std::string> keys;
  if (ListConfigKeys(path, password, section, keys)) return keys;
  // The reader says nothing of why; a file it could read but not open is
  // sealed with another password, or was changed.
  const FileError error = LastFileError();
  Complain("could not open " + path + ": " +
           (error == FileError::None ? std::string("wrong password or damaged file") : FileErrorText(error)));
  return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> ReadInputFile(const std::string& path) {
  SetLastFileError(FileError::None);
  File file = File::Open(path, File::Mode::ReadShared);
  const std::int64_t size = file.Size();
  if (!file.IsOpen() || size < 0 || static_cast<std::uint64_t>(size) > SIZE_MAX) {
    Complain("could not open " + path + ": " + LastReason());
    return std::nullopt;
  }
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  if (file.Read(bytes.data(), bytes.size()) != bytes.size()) {
    Complain("could not read " + path + ": " + LastReason());
    return std::nullopt;
  }
  return bytes;
}

bool WriteOutputFile(const std::string& path, std::span<const std::uint8_t> bytes) {
  SetLastFileError(FileError::None);
  std::string written;
  File file = CreateFileBeside(path, ".writing", written);
  if (!file.IsOpen()) {
    Complain("could not write " + path + ": " + LastReason());
    return false;
  }
  const bool whole = file.Write(bytes.data(), bytes.size());
  file.Close();
  if (whole && MoveReplacing(written, path)) return true;
  Complain("could not write " + path + ": " + LastReason());
  RemoveFile(written);
  return false;
}
