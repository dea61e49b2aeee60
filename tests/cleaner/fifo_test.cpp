// Pipes where the programs expect files: none of them may make a scan or a
// cleaning wait for a writer that never comes.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "cleaner/cleaning.h"
#include "cleaner/skip_list.h"
#include "platform/file_system.h"
#include "platform/files.h"
#include "platform/utf8_text.h"
#include "tests/cleaner/page_fixture.h"
#include "tests/faulty_file_system.h"

namespace {
using namespace control;

std::string T(std::u8string_view text) { return TextFromUtf8Source(text); }

void MakePipe(const std::string& path) { ASSERT_EQ(mkfifo(path.c_str(), 0644), 0) << path; }

TEST(Pipes, AreNeverOpenedAsFiles) {
  TestFolder folder;
  MakePipe(folder.File("pipe"));
  for (File::Mode mode : {File::Mode::ReadShared, File::Mode::ReadWriteShared, File::Mode::CreateOrEmpty}) {
    EXPECT_FALSE(File::Open(folder.File("pipe"), mode).IsOpen());
    EXPECT_EQ(LastFileError(), FileError::NotAFile);
  }
  EXPECT_TRUE(ReadWholeFile(folder.File("pipe")).empty());
  std::vector<std::string> names;
  EXPECT_TRUE(ReadSkipList(folder.File("pipe"), "ImagePacks2", names));
  EXPECT_TRUE(names.empty());
}

TEST(Pipes, APipeForAPackageListIsNoList) {
  PageFixture page;
  page.game.AddFile("ImagePacks2", "a.NPK", Content(5, 1));
  MakePipe(JoinPath(page.game.Directory(), "package.lst"));
  page.ChooseGameDirectory(page.game.Directory());
  EXPECT_EQ(page.LastMessage().text, T(u8"LST文件非DNF的文件列表文件..请重新选择!!"));
}

TEST(Pipes, AScanComparingDigestsOrSizesGetsPastPipes) {
  PageFixture page;
  const std::string folder = page.game.FolderPath("ImagePacks2");
  std::vector<ListedFile> official = {page.game.AddFile("ImagePacks2", "listed.NPK", Content(9, 1)),
                                      page.game.AddFile("ImagePacks2", "last.NPK", Content(9, 3))};
  page.game.WriteList({{"ImagePacks2", official}});
  RemoveFile(JoinPath(folder, "listed.NPK"));
  for (const char* name : {"listed.NPK", "skipped.NPK", "stray.NPK"}) MakePipe(JoinPath(folder, name));
  page.WriteSkipList("[ImagePacks2]\r\nskipped.NPK=1\r\n");
  page.ChooseGameDirectory(page.game.Directory());
  for (Name comparison : {选择框_哈希对比, 选择框_大小对比}) {
    page.window.Click(comparison);
    page.Scan();
    const std::string verdict = comparison == 选择框_哈希对比 ? T(u8"哈希校验码错误") : T(u8"文件大小错误");
    EXPECT_EQ(page.Rows(), page.InFoundOrder("ImagePacks2", {{"listed.NPK", verdict}, {"stray.NPK", T(u8"非官方文件")}}));
  }

  // Cleaned as itself; never copied, which would read it.
  FaultyFileSystem faults;
  faults.RefuseRename(JoinPath(folder, "stray.NPK"));
  ScopedFileSystem use(faults);
  TestFolder backup;
  const CleanOutcome outcome = CleanFinding(folder, "stray.NPK", backup.Path());
  EXPECT_FALSE(outcome.cleaned);
  EXPECT_EQ(outcome.reason, "not a regular file");
  EXPECT_TRUE(CleanFinding(folder, "stray.NPK", "").cleaned);
}

TEST(Pipes, APipeForASkipListIsAnEmptyList) {
  PageFixture page;
  page.game.WriteList({{"ImagePacks2", {page.game.AddFile("ImagePacks2", "a.NPK", Content(5, 1))}}});
  page.game.AddFile("ImagePacks2", "b.NPK", Content(5, 2));
  MakePipe(JoinPath(page.runDirectory.Path(), "Skip_Npk.ini"));
  page.ChooseGameDirectory(page.game.Directory());
  page.Scan();
  EXPECT_EQ(page.Rows(), (std::vector<ResultRow>{{"b.NPK", "ImagePacks2", T(u8"非官方文件")}}));
}
}  // namespace
