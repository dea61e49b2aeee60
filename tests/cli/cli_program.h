#pragma once
// pellory-cli as the end-to-end tests run it: the Linux program of this
// build, or the Windows build's pellory-cli.exe under Wine.
#include <string>
#include <utility>
#include <vector>

class TestFolder;

struct CliRun {
  int exitCode;
  std::string output, errors;  // standard output and standard error, as the program's texts

  // Standard output's lines, without their line ends.
  std::vector<std::string> Lines() const;
};

class CliProgram {
 public:
  static CliProgram Linux();
  // The build in `buildFolder`, run under Wine.
  static CliProgram Windows(const std::string& buildFolder);
  // The program that the test run was given: the Windows build named by
  // --wine-build=DIR, else the Linux program.
  static CliProgram UnderTest();

  bool IsWindows() const { return !windowsBuild_.empty(); }
  // The folder of the program, which holds the sealed File_Cfg.ini.
  std::string ProgramFolder() const;
  // A path as the program sees it.
  std::string PathFor(const std::string& path) const;
  // Runs the program; arguments that are absolute paths are given as the
  // program sees them. Its standard output and error pass through files in
  // `scratch`. `limits` (such as prlimit and its options) go before it.
  CliRun Run(const std::vector<std::string>& args, const TestFolder& scratch,
             const std::vector<std::string>& limits = {}) const;

 private:
  explicit CliProgram(std::string windowsBuild) : windowsBuild_(std::move(windowsBuild)) {}
  std::string windowsBuild_;  // empty: the Linux program
};
