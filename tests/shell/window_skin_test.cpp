// The skin library installed beside the program at start, and the window's
// skin attached with it, over real files and a disk that can fail.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/files.h"
#include "platform/utf8_text.h"
#include "shell/headless_window.h"
#include "shell/window_skin.h"
#include "tests/faulty_file_system.h"
#include "tests/shell/fake_skin_library.h"
#include "tests/test_folder.h"

namespace {
std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

TEST(WindowSkin, FirstStartWritesTheLibraryWholeAndHiddenThenAttachesSkin9) {
  TestFolder run;
  FakeSkinLibrary library;
  HeadlessWindow window;
  FaultyFileSystem files;
  ScopedFileSystem use(files);

  EXPECT_TRUE(AttachWindowSkin(run.Path(), library, window));

  const std::string path = run.File("SkinH_EL.dll");
  EXPECT_EQ(run.Read("SkinH_EL.dll"), library.library);
  EXPECT_EQ(files.MarkedHidden(), std::vector<std::string>{path});
  EXPECT_EQ(ListFileNames(run.Path()), std::vector<std::string>{"SkinH_EL.dll"});  // nothing left beside it
  ASSERT_EQ(library.attachments.size(), 1u);
  EXPECT_EQ(library.attachments[0].path, path);
  EXPECT_EQ(library.attachments[0].skin, library.skins[8]);
  EXPECT_TRUE(window.messages.empty());
}

// Whatever lies there under the library's name is the user's: it is used as
// it is, never rewritten, never marked.
TEST(WindowSkin, AFileAlreadyThereIsUsedAsItIs) {
  const FakeSkinLibrary carried;
  std::vector<std::uint8_t> sameSizeOtherBytes = carried.library;
  sameSizeOtherBytes[100] ^= 0xFF;
  const struct {
    const char* what;
    std::vector<std::uint8_t> content;
  } cases[] = {
      {"empty", {}},
      {"a few bytes of text", {'n', 'o', 't', ' ', 'a', ' ', 'l', 'i', 'b'}},
      {"the carried size, other bytes", sameSizeOtherBytes},
      {"larger than the carried library", std::vector<std::uint8_t>(carried.library.size() * 2, 0x5A)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TestFolder run;
    run.Write("SkinH_EL.dll", c.content);
    FakeSkinLibrary library;
    HeadlessWindow window;
    FaultyFileSystem files;
    ScopedFileSystem use(files);

    EXPECT_TRUE(AttachWindowSkin(run.Path(), library, window));

    EXPECT_EQ(run.Read("SkinH_EL.dll"), c.content);
    EXPECT_TRUE(files.MarkedHidden().empty());
    EXPECT_EQ(ListFileNames(run.Path()), std::vector<std::string>{"SkinH_EL.dll"});
    ASSERT_EQ(library.attachments.size(), 1u);
    EXPECT_EQ(library.attachments[0].path, run.File("SkinH_EL.dll"));
  }
}

// A first start that cannot finish the file leaves no library at all, so a
// later start writes it afresh rather than finding a broken one it must keep.
TEST(WindowSkin, AWriteThatFailsLeavesNeitherTheLibraryNorAPart) {
  const struct {
    const char* what;
    void (*fault)(FaultyFileSystem&, const TestFolder&);
  } cases[] = {
      {"the disk fills half way",
       [](FaultyFileSystem& files, const TestFolder& run) { files.FillDiskAfter(kCarriedLibrarySize / 2, run.Path()); }},
      {"the disk is full", [](FaultyFileSystem& files, const TestFolder& run) { files.FillDiskAfter(0, run.Path()); }},
      {"the rename is refused",
       [](FaultyFileSystem& files, const TestFolder& run) { files.RefuseRename(run.File("SkinH_EL.dll.part")); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TestFolder run;
    FakeSkinLibrary library;
    HeadlessWindow window;
    {
      FaultyFileSystem files;
      c.fault(files, run);
      ScopedFileSystem use(files);
      // Nothing is said about the write; the load that follows finds no library.
      library.loads = false;
      EXPECT_FALSE(AttachWindowSkin(run.Path(), library, window));
      EXPECT_TRUE(ListFileNames(run.Path()).empty());
      EXPECT_TRUE(files.MarkedHidden().empty());
      EXPECT_EQ(library.attachments.size(), 1u);
    }
    // The next start, on a disk with room, installs it whole.
    library.loads = true;
    EXPECT_TRUE(AttachWindowSkin(run.Path(), library, window));
    EXPECT_EQ(run.Read("SkinH_EL.dll"), library.library);
  }
}

// A part left by a start that was cut off in the middle keeps its name; the
// new part takes another, and the library still comes out whole.
TEST(WindowSkin, APartLeftByAnEarlierStartIsNoObstacle) {
  TestFolder run;
  run.Write("SkinH_EL.dll.part", std::string("half"));
  FakeSkinLibrary library;
  HeadlessWindow window;
  EXPECT_TRUE(AttachWindowSkin(run.Path(), library, window));
  EXPECT_EQ(run.Read("SkinH_EL.dll"), library.library);
  EXPECT_EQ(Sorted(ListFileNames(run.Path())), (std::vector<std::string>{"SkinH_EL.dll", "SkinH_EL.dll.part"}));
}

TEST(WindowSkin, ALibraryThatCannotBeUsedIsReportedWithItsNameAndFunction) {
  TestFolder run;
  run.Write("SkinH_EL.dll", std::string("this is a text file, not a library"));
  FakeSkinLibrary library;
  library.loads = false;
  HeadlessWindow window;

  EXPECT_FALSE(AttachWindowSkin(run.Path(), library, window));

  ASSERT_EQ(window.messages.size(), 1u);
  EXPECT_EQ(window.messages[0].text,
            TextFromUtf8Source(u8"无法加载皮肤库 SkinH_EL.dll 或其中没有函数 SkinH_AttachRes!"));
  EXPECT_EQ(window.messages[0].title, TextFromUtf8Source(u8"错误"));
  EXPECT_EQ(window.messages[0].style, box::kError);
}
}  // namespace
