#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "downloader/shared_archive_names.h"

namespace {
// Every list of load `n` holds n copies of the same name, so a reader can
// tell a whole set of lists from one caught while it was being filled.
ArchiveNames Load(int n) {
  const std::string name = "load_" + std::to_string(n) + ".NPK";
  return {std::vector<std::string>(n, name), std::vector<std::string>(n, name), std::vector<std::string>(n, name)};
}

bool IsWholeLoad(const ArchiveNames& names) {
  const std::size_t n = names.SoundPackNames.size();
  if (names.ImagePackNames.size() != n || names.MusicNames.size() != n) return false;
  const std::string name = "load_" + std::to_string(n) + ".NPK";
  for (const auto* list : {&names.SoundPackNames, &names.ImagePackNames, &names.MusicNames})
    for (const std::string& each : *list)
      if (each != name) return false;
  return true;
}

TEST(SharedArchiveNames, StartsEmptyAndShowsTheLastLoad) {
  SharedArchiveNames shared;
  EXPECT_EQ(*shared.Snapshot(), ArchiveNames{});
  shared.Replace(Load(2));
  const auto kept = shared.Snapshot();
  shared.Replace(Load(3));
  EXPECT_EQ(*shared.Snapshot(), Load(3));
  EXPECT_EQ(*kept, Load(2));  // a snapshot taken earlier stays as it was
}

TEST(SharedArchiveNames, AReaderNeverSeesAHalfDoneLoad) {
  SharedArchiveNames shared;
  std::atomic<bool> reading{false};
  std::atomic<bool> loading{true};
  std::thread engine([&] {
    while (!reading) std::this_thread::yield();  // load only while the window's thread reads
    for (int n = 1; n <= 300; ++n) shared.Replace(Load(n % 40));
    loading = false;
  });
  bool allWhole = true;
  do {
    allWhole = allWhole && IsWholeLoad(*shared.Snapshot());
    reading = true;
    std::this_thread::yield();
  } while (loading);
  engine.join();
  EXPECT_TRUE(allWhole);
  EXPECT_EQ(*shared.Snapshot(), Load(300 % 40));
}

}  // namespace
