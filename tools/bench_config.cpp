// Times what one choice of region costs: three reads of the sealed
// configuration file, the first of which derives the key, against the same
// reads of the plain text and against one key derivation alone.
//   bench-config [SEALED-FILE]     (default: File_Cfg.ini beside this program)
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "downloader/config_container.h"
#include "downloader/config_file.h"
#include "downloader/config_password.h"
#include "downloader/config_text.h"
#include "platform/files.h"
#include "platform/program.h"

namespace {
using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The three reads of a region choice, each timed: the region's list name,
// then its two addresses.
std::vector<double> TimeRegionChoice(std::string path, std::string_view password, const std::string& region) {
  std::vector<double> times;
  Clock::time_point start = Clock::now();
  std::string list = ReadConfigValue(path, password, "lst_name", region);
  times.push_back(MillisecondsSince(start));
  for (const char* key : {"file", "lst"}) {
    start = Clock::now();
    ReadConfigValue(path, password, list, key);
    times.push_back(MillisecondsSince(start));
  }
  return times;
}
}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> arguments = ProgramArguments(argc, argv, nullptr);
  std::string sealedPath = arguments.empty() ? JoinPath(RunDirectory(), "File_Cfg.ini") : arguments.front();
  std::vector<std::uint8_t> sealed = ReadWholeFile(sealedPath);
  // A private cache, so that deriving here leaves the reads below cold.
  ConfigKeyCache probe;
  std::optional<std::string> text = OpenConfigContainer(sealed, kConfigPassword, probe);
  if (!text) {
    std::fprintf(stderr, "bench-config: %s can't be opened\n", sealedPath.c_str());
    return 1;
  }
  std::vector<std::string> regions = ParseConfigKeys(*text, "lst_name");
  if (regions.empty()) {
    std::fprintf(stderr, "bench-config: %s names no region\n", sealedPath.c_str());
    return 1;
  }
  std::string plainPath = (std::filesystem::temp_directory_path() / "bench-config-plain.ini").string();
  WriteWholeFile(plainPath, text->data(), text->size());

  std::vector<double> sealedTimes = TimeRegionChoice(sealedPath, kConfigPassword, regions.front());
  std::vector<double> plainTimes = TimeRegionChoice(plainPath, "", regions.front());
  RemoveFile(plainPath);

  CipherKey key;
  std::vector<std::uint8_t> salt(kConfigDefaultSaltSize);
  Clock::time_point start = Clock::now();
  DerivePbkdf2Sha256(kConfigPassword, salt, kConfigDefaultIterations, key);
  double derive = MillisecondsSince(start);

  std::printf("bench-config: %s, one region choice (three reads)\n", sealedPath.c_str());
  std::printf("  read    sealed (ms)   plain (ms)   sealed/plain\n");
  for (std::size_t i = 0; i < sealedTimes.size(); ++i)
    std::printf("  %zu     %10.3f   %10.3f   %10.1f\n", i + 1, sealedTimes[i], plainTimes[i],
                sealedTimes[i] / plainTimes[i]);
  std::printf("  PBKDF2-HMAC-SHA256, %u iterations, alone: %.3f ms\n", kConfigDefaultIterations, derive);
  return 0;
}
