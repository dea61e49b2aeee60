// What the scan does when the system refuses it something: a thread, or
// the reading of a file. Both are made real on Linux: glibc gives each new
// thread the default stack size, and a stack larger than the machine's
// memory cannot be had; a dangling symbolic link is listed but cannot be
// opened.
#include <gtest/gtest.h>
#include <pthread.h>

#include <filesystem>

#include "cleaner/digest_pipeline.h"
#include "platform/files.h"
#include "platform/utf8_text.h"
#include "tests/cleaner/page_fixture.h"

namespace {
using namespace control;

std::string T(std::u8string_view text) { return TextFromUtf8Source(text); }

// No new thread starts while one of these lives.
class NoNewThreads {
 public:
  NoNewThreads() {
    pthread_getattr_default_np(&attributes_);
    pthread_attr_getstacksize(&attributes_, &usualStack_);
    pthread_attr_setstacksize(&attributes_, std::size_t{1} << 44);
    pthread_setattr_default_np(&attributes_);
  }
  ~NoNewThreads() {
    pthread_attr_setstacksize(&attributes_, usualStack_);
    pthread_setattr_default_np(&attributes_);
    pthread_attr_destroy(&attributes_);
  }

 private:
  pthread_attr_t attributes_;
  std::size_t usualStack_ = 0;
};

class SystemRefusals : public ::testing::Test {
 protected:
  void SetUp() override {
    page.game.WriteList({{"ImagePacks2",
                          {page.game.AddFile("ImagePacks2", "a.NPK", Content(10, 1)),
                           page.game.AddFile("ImagePacks2", "b.NPK", Content(10, 2))}}});
    page.game.AddFile("ImagePacks2", "stray.NPK", Content(1, 3));
    page.ChooseGameDirectory(page.game.Directory());
    page.window.Click(选择框_哈希对比);
  }
  PageFixture page;
};

TEST_F(SystemRefusals, APipelineWithoutThreadsSaysSo) {
  NoNewThreads refused;
  DigestPipeline pipeline({JoinPath(page.game.FolderPath("ImagePacks2"), "a.NPK")}, 2);
  EXPECT_FALSE(pipeline.Running());
  EXPECT_FALSE(pipeline.Result(0, std::chrono::milliseconds(1)).has_value());
}

// Saying "nothing found" after hashing nothing would be untrue.
TEST_F(SystemRefusals, AScanThatCannotHashSaysSo) {
  {
    NoNewThreads refused;
    page.Scan();
  }
  EXPECT_EQ(page.LastMessage().text, T(u8"无法启动哈希校验线程..请稍后再试!"));
  EXPECT_EQ(page.LastMessage().title, T(u8"警告!"));
  EXPECT_EQ(page.LastMessage().style, 16);
  EXPECT_EQ(page.window.RowCount(超级列表框_扫描结果), 0);
  EXPECT_TRUE(page.window.IsUsable(按钮_开始扫描));

  page.Scan();  // threads again: the scan works
  EXPECT_EQ(page.window.RowCount(超级列表框_扫描结果), 1);
}

// The window has no words for an unreadable file but the digest error's.
TEST_F(SystemRefusals, AFileThatCannotBeReadShowsAsADigestError) {
  const std::string a = JoinPath(page.game.FolderPath("ImagePacks2"), "a.NPK");
  RemoveFile(a);
  std::filesystem::create_symlink(page.game.root.File("gone"), a);
  page.Scan();
  EXPECT_EQ(page.Rows(), page.InFoundOrder("ImagePacks2", {{"a.NPK", T(u8"哈希校验码错误")}, {"stray.NPK", T(u8"非官方文件")}}));
}
}  // namespace
