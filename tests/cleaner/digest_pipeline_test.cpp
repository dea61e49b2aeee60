#include <gtest/gtest.h>

#include "common/digest.h"
#include "platform/files.h"
#include "cleaner/digest_pipeline.h"
#include "tests/cleaner/game_fixture.h"

namespace {
TEST(DigestPipeline, GivesEveryFilesDigestWhateverTheWorkersAndSizes) {
  TestFolder folder;
  const std::size_t piece = 1 << 20;
  const std::vector<std::size_t> sizes = {0, 1, piece - 1, piece, piece + 1, 5 * piece + 3, 17, 3 * piece};
  std::vector<std::string> paths;
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    folder.Write("f" + std::to_string(i), Content(sizes[i], static_cast<int>(i)));
    paths.push_back(folder.File("f" + std::to_string(i)));
  }
  paths.push_back(folder.File("missing"));
  for (int workers : {1, 2, 3, 8}) {
    SCOPED_TRACE(workers);
    DigestPipeline pipeline(paths, workers);
    for (std::size_t i = 0; i < paths.size(); ++i) {
      std::optional<FileDigest> digest;
      while (!(digest = pipeline.Result(i, std::chrono::milliseconds(50)))) {
      }
      EXPECT_EQ(digest->text, FileDigestText(paths[i], kSha256)) << paths[i];
      EXPECT_EQ(digest->readError, i + 1 == paths.size() ? FileError::NotFound : FileError::None) << paths[i];
    }
  }
}

// A file that cannot be read is told apart from one that reads as empty.
TEST(DigestPipeline, KeepsWhyAFileCouldNotBeRead) {
  TestFolder folder;
  folder.Write("good", Content(10, 1));
  CreateFolder(folder.File("folder"));
  struct Case {
    std::string path;
    std::optional<FileError> error;  // none: any reason will do
  };
  // Windows refuses to open a folder as a file for lack of access.
  std::vector<Case> cases = {{folder.File("missing"), FileError::NotFound},
                             {folder.File("folder"), std::nullopt},
                             {folder.File("good"), FileError::None}};
  // Opens as a regular file, and the first read fails: nothing is mapped at
  // address 0. Only Linux has it.
  if (FileExists("/proc/self/mem")) cases.push_back({"/proc/self/mem", FileError::Other});
  std::vector<std::string> paths;
  for (const Case& c : cases) paths.push_back(c.path);
  DigestPipeline pipeline(paths, 2);
  ASSERT_TRUE(pipeline.Running());
  for (std::size_t i = 0; i < cases.size(); ++i) {
    std::optional<FileDigest> digest = pipeline.Result(i, std::chrono::seconds(30));
    ASSERT_TRUE(digest.has_value()) << cases[i].path;
    if (cases[i].error)
      EXPECT_EQ(digest->readError, *cases[i].error) << cases[i].path;
    else
      EXPECT_NE(digest->readError, FileError::None) << cases[i].path;
  }
}

TEST(DigestPipeline, StopsCleanlyWithResultsNotTaken) {
  TestFolder folder;
  std::vector<std::string> paths;
  for (int i = 0; i < 20; ++i) {
    folder.Write("f" + std::to_string(i), Content(3 << 20, i));
    paths.push_back(folder.File("f" + std::to_string(i)));
  }
  DigestPipeline pipeline(paths, 2);
  EXPECT_TRUE(pipeline.Result(0, std::chrono::seconds(30)).has_value());
}
}  // namespace
