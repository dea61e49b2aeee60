// A scan over files that change under it.
#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "platform/files.h"
#include "platform/utf8_text.h"
#include "tests/cleaner/page_fixture.h"
#include "tests/faulty_file_system.h"

namespace {
using namespace control;

std::string T(std::u8string_view text) { return TextFromUtf8Source(text); }

// Files listed and then gone before they are read, while the digests are
// worked out on other threads: they read as missing and empty.
TEST(ScanFaults, AFileThatVanishesAfterTheListingDiffersInSizeAndDigest) {
  PageFixture page;
  std::vector<ListedFile> official;
  for (const char* name : {"a.NPK", "b.NPK", "c.NPK", "d.NPK"})
    official.push_back(page.game.AddFile("ImagePacks2", name, Content(4000, name[0])));
  page.game.WriteList({{"ImagePacks2", official}});
  page.ChooseGameDirectory(page.game.Directory());
  FaultyFileSystem faults;
  faults.Vanish(JoinPath(page.game.FolderPath("ImagePacks2"), "b.NPK"));
  faults.Vanish(JoinPath(page.game.FolderPath("ImagePacks2"), "d.NPK"));
  ScopedFileSystem use(faults);
  for (Name comparison : {选择框_哈希对比, 选择框_大小对比}) {
    page.window.Click(comparison);
    page.Scan();
    const std::string verdict = comparison == 选择框_哈希对比 ? T(u8"哈希校验码错误") : T(u8"文件大小错误");
    EXPECT_EQ(page.Rows(), page.InFoundOrder("ImagePacks2", {{"b.NPK", verdict}, {"d.NPK", verdict}}));
  }
}
}  // namespace
