// Times the archive list of the second page on a large region: reading a
// region list file of 100,000 names, and the keyword filter over them,
// against a plain memmem loop over the same names in the same run.
//
//   bench-regions [names]
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "downloader/keyword_search.h"
#include "downloader/region_list.h"

namespace {
using Clock = std::chrono::steady_clock;
constexpr int kRounds = 21;

// Names as the game's archives are named, a tenth of them with Chinese
// (GBK) words, some of whose second bytes are ASCII letters.
std::string ArchiveName(std::mt19937& random) {
  static const char* const kParts[][10] = {
      {"sprite", "sound", "sprite_interface", "sprite_map", "sprite_character", "sprite_monster", "sprite_item", "sprite_effect", "sprite", "sprite_character"},
      {"swordman", "fighter", "gunner", "mage", "priest", "thief", "knight", "demoniclancer", "gunblader", "creator"},
      {"equipment", "atequipment", "avatar", "effect", "common", "skill", "animation", "weapon", "npc", "dungeon"},
      {"cap", "hair", "face", "neck", "coat", "belt", "pants", "shoes", "skin", "weapon"},
  };
  static const char* const kGbkWords[] = {"\xb5\xd8\xcf\xc2\xb3\xc7", "\xce\xe4\xc6\xf7", "\xd7\xb0\xb0\xe7", "\xd2\xf4\xd0\xa7",
                                          "\x81\x41\x81\x61", "\xb0\x41\xb0\x5a"};
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  std::string name;
  for (const auto& part : kParts) name.append(part[pick(10)]).push_back('_');
  if (pick(10) == 0) name.append(kGbkWords[pick(6)]).push_back('_');
  name.append(std::to_string(pick(1000))).append(".NPK");
  return name;
}

void AppendInt32(std::vector<std::uint8_t>& file, std::int32_t value) {
  for (int shift = 0; shift < 32; shift += 8) file.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> shift));
}

void AppendBlock(std::vector<std::uint8_t>& file, std::string_view folder, const std::vector<std::string>& names) {
  file.insert(file.end(), folder.begin(), folder.end());
  file.push_back(0);
  AppendInt32(file, static_cast<std::int32_t>(names.size()));
  for (const std::string& name : names) {
    AppendInt32(file, static_cast<std::int32_t>(name.size() + 1));
    file.insert(file.end(), name.begin(), name.end());
    file.push_back(0);
    file.resize(file.size() + 44, 0x5A);
  }
}

std::vector<std::string> Names(std::mt19937& random, int count) {
  std::vector<std::string> names(count);
  for (std::string& name : names) name = ArchiveName(random);
  return names;
}

struct Timing {
  double median = 0;
  double best = 0;
};

Timing Summary(std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  return {ms[ms.size() / 2], ms.front()};
}

template <typename Work>
double Milliseconds(Work work) {
  const auto start = Clock::now();
  work();
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The same work as the filter with the C library's plain search: the
// positions of the names that hold the keyword's bytes as they are.
std::vector<std::size_t> MemmemLoop(const std::vector<std::string>& names, std::string_view keyword) {
  std::vector<std::size_t> found;
  for (std::size_t i = 0; i < names.size(); ++i)
    if (::memmem(names[i].data(), names[i].size(), keyword.data(), keyword.size()) != nullptr) found.push_back(i);
  return found;
}

std::string Printable(std::string_view text) {
  std::string out;
  for (unsigned char byte : text) {
    char hex[5];
    std::snprintf(hex, sizeof hex, "\\x%02x", byte);
    out += byte >= 0x20 && byte < 0x7F ? std::string(1, static_cast<char>(byte)) : std::string(hex);
  }
  return out;
}
}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
  std::mt19937 random(7);
  std::vector<std::uint8_t> file(64, 0x11);  // bytes before the blocks, as real files have
  AppendBlock(file, "SoundPacks", Names(random, 2000));
  AppendBlock(file, "ImagePacks2", Names(random, count));
  AppendBlock(file, "Music", Names(random, 300));

  ArchiveNames names;
  std::vector<double> loads;
  for (int round = 0; round < kRounds; ++round) {
    ArchiveNames fresh;
    loads.push_back(Milliseconds([&] { fresh = ReadRegionList(file); }));
    names = std::move(fresh);  // the lists of the round before are freed outside the timing
  }
  const Timing load = Summary(loads);
  std::printf("region list of %d ImagePacks2 names (%zu bytes in all): read in %.2f ms (median), %.2f ms (best)\n",
              count, file.size(), load.median, load.best);

  const std::vector<std::string>& images = names.ImagePackNames;
  std::printf("%-24s %8s %16s %8s %16s %7s\n", "keyword", "matches", "search ms", "memmem", "memmem ms", "ratio");
  for (std::string_view keyword : {"swordman", "CAP", "npk", "s", "_9", "\xce\xe4\xc6\xf7", "a", "zzz", ""}) {
    // Rounds of the two loops alternate, so that both meet the same load of the machine.
    std::vector<double> searches, plains;
    std::size_t found = 0, plainFound = 0;
    for (int round = 0; round < kRounds; ++round) {
      searches.push_back(Milliseconds([&] { found = NamesContaining(images, keyword).size(); }));
      plains.push_back(Milliseconds([&] { plainFound = MemmemLoop(images, keyword).size(); }));
    }
    const Timing search = Summary(searches), plain = Summary(plains);
    std::printf("%-24s %8zu %7.2f (%6.2f) %8zu %7.2f (%6.2f) %7.2f\n", ("\"" + Printable(keyword) + "\"").c_str(), found,
                search.median, search.best, plainFound, plain.median, plain.best, search.median / plain.median);
  }
  std::printf("times: median (best) of %d runs; ratio: search median / memmem median\n", kRounds);
  return 0;
}
