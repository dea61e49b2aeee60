#include "tests/cli/cli_program.h"

#include <algorithm>

#include "platform/files.h"
#include "platform/posix/native_text.h"
#include "platform/posix/process_spawn.h"
#include "tests/test_folder.h"
#include "tests/wine_build_option.h"

namespace {
std::string chosenWindowsBuild;

// A program that does not end within this many seconds has hung: it is
// ended, and its exit code (124) fails the test.
constexpr const char* kPatience = "60";
}  // namespace

std::vector<std::string> CliRun::Lines() const {
  std::vector<std::string> lines;
  for (std::size_t start = 0, end; (end = output.find('\n', start)) != std::string::npos; start = end + 1) {
    std::string line = output.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

CliProgram CliProgram::Linux() { return CliProgram(""); }

CliProgram CliProgram::Windows(const std::string& buildFolder) { return CliProgram(buildFolder); }

CliProgram CliProgram::UnderTest() { return CliProgram(chosenWindowsBuild); }

std::string CliProgram::ProgramFolder() const {
  if (IsWindows()) return windowsBuild_ + "/bin";
  const std::string program = PELLORY_CLI;
  return program.substr(0, program.rfind('/'));
}

std::string CliProgram::PathFor(const std::string& path) const {
  if (!IsWindows() || path.empty() || path[0] != '/') return path;
  std::string windows = "Z:" + path;
  std::replace(windows.begin(), windows.end(), '/', '\\');
  return windows;
}

CliRun CliProgram::Run(const std::vector<std::string>& args, const TestFolder& scratch,
                       const std::vector<std::string>& limits) const {
  const std::string out = scratch.File("cli.out"), err = scratch.File("cli.err");
  std::vector<std::string> command = {"/usr/bin/timeout", kPatience};
  command.insert(command.end(), limits.begin(), limits.end());
  if (IsWindows())
    command.insert(command.end(), {WINE_RUN, windowsBuild_ + "/wineprefix", windowsBuild_ + "/bin/pellory-cli.exe"});
  else
    command.insert(command.end(), {"/usr/bin/env", "LC_ALL=C.UTF-8", PELLORY_CLI});
  for (const std::string& arg : args) command.push_back(Utf8FromText(PathFor(arg)));
  const int exitCode = SpawnAndWait(command, ProcessSetup{"", out, err});
  // The Linux program writes UTF-8; the Windows one, redirected, the
  // program's own GBK texts.
  auto text = [this](const std::string& path) {
    const std::vector<std::uint8_t> bytes = ReadWholeFile(path);
    const std::string raw(bytes.begin(), bytes.end());
    return IsWindows() ? raw : TextFromUtf8(raw);
  };
  return {exitCode, text(out), text(err)};
}

// Given --wine-build=DIR, the tests run that Windows build.
int main(int argc, char** argv) { return RunTestsWithWineBuildOption(argc, argv, chosenWindowsBuild); }
