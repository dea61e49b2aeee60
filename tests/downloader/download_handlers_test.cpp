// The second page's downloads in the window in memory, over real files, with
// an engine of the tests' own that raises its events on a thread of its own
// when a test says so, and an unpacker that does what a test tells it.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "downloader/download_controller.h"
#include "downloader/download_handlers.h"
#include "downloader/home_layout.h"
#include "platform/files.h"
#include "platform/utf8_text.h"
#include "tests/downloader/browse_page.h"

namespace {
using namespace control;
using Names = std::vector<std::string>;

std::string T(std::u8string_view text) { return TextFromUtf8Source(text); }

const std::string kKorea = T(u8"韩国"), kBadRegion = "../up", kBadList = T(u8"坏表");
const std::string kIdle = T(u8"空闲中!");
// The second byte of 運 in GBK is 0x5C, the code of a backslash.
const std::string kWideName = T(u8"運.NPK");
const Names kImages = {"sprite_a.NPK", kWideName};

// Korea is whole; the other regions' names or list names lead out of their folders.
const std::string kConfig = "[lst_name]\r\n" + kKorea + "=kr\r\n" + kBadRegion + "=up\r\n" +
                            kBadList + "=..\\evil\r\n"
                            "[kr]\r\nfile=http://127.0.0.1:8631/kr/\r\nlst=http://127.0.0.1:8631/kr.lst\r\n"
                            "[up]\r\nfile=http://127.0.0.1:8631/up/\r\n";

class FakeEngine final : public DownloadEngine {
 public:
  bool AddTask(const DownloadTask& task) override {
    if (refuses) return false;
    tasks.push_back(task);
    return true;
  }
  std::int64_t CurrentSpeed() override { return speed; }
  std::int64_t BytesDone() override { return bytes; }
  void Destroy() override {}

  // Raises an event of the last task on a thread of its own, as the engine
  // does, and waits until the handler has returned.
  void Raise(int code, double value = 0) {
    std::thread([&] { tasks.back().OnEvent(code, value, ""); }).join();
  }

  bool refuses = false;
  std::vector<DownloadTask> tasks;
  std::atomic<std::int64_t> speed = 0, bytes = 0;
};

Bytes ListOf(const Names& images) { return RegionListBuilder().Block("ImagePacks2", images).Contents(); }

class DownloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    page.WriteConfig(kConfig);
    page.WriteList("kr", ListOf(kImages));
    page.WriteList("up", ListOf({"x.NPK"}));
    auto owned = std::make_unique<FakeEngine>();
    engine = owned.get();
    page.state.DownloadEngine = std::move(owned);
    page.state.DownloadTask.emplace();
    page.state.SettleMilliseconds = 20;
    page.state.RunUnpacker = [this](const std::string& spk) {
      unpackCaption = page.window.Text(标签4);
      unpackedFrom.push_back(spk);
      if (!unpacks) return;
      WriteWholeFile(spk.substr(0, spk.size() - 4), "npk", 3);
      RemoveFile(spk);
    };
    page.Open();
    WireDownloadHandlers(page.window, page.state);
  }

  void ChooseRegion(const std::string& region) {
    page.Choose(组合框_区域服务器, region);
    page.Choose(组合框_文件夹目录, "ImagePacks2");
  }
  void DoubleClick(const std::string& name) {
    const Names shown = page.Shown();
    for (int i = 0; i < static_cast<int>(shown.size()); ++i)
      if (shown[i] == name) return page.window.ChooseItem(列表框_NPK文件列表, i);
    FAIL() << "not shown: " << name;
  }
  std::string RegionFile(const std::string& name) const {
    return JoinPath(JoinPath(page.runDirectory.File("Download"), kKorea), name);
  }
  std::string Caption() const { return page.window.Text(标签4); }
  int Timer() const { return page.window.Control(时钟1).timerPeriod; }

  BrowsePage page;
  FakeEngine* engine = nullptr;
  bool unpacks = true;
  std::string unpackCaption;
  Names unpackedFrom;
};

TEST(DownloadNumber, RoundsToTwoPlacesHalvesAwayFromZero) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {1536.0 / 1024, "1.5"},    {1048576.0 / 1024, "1024"}, {0, "0"},
      {0.125, "0.13"},           {-0.125, "-0.13"},          {0.005, "0.01"},
      {2.675, "2.68"},           {1.0 / 3, "0.33"},          {0.004, "0"},
      {-0.004, "0"},             {99.995, "100"},            {123456789.126, "123456789.13"},
      {1234567890123.456, "1234567890123"},
  };
  for (const auto& c : cases) EXPECT_EQ(RoundedNumber(c.value), c.text) << c.value;
}

TEST_F(DownloadTest, AnArchiveGoesThroughDownloadUnpackAndBackToIdle) {
  ChooseRegion(kKorea);
  WriteWholeFile(RegionFile("sprite_a.NPK"), "old", 3);  // an earlier download's result
  DoubleClick("sprite_a.NPK");

  EXPECT_EQ(Caption(), T(u8"下载此文件中 [sprite_a.NPK]"));
  EXPECT_EQ(Timer(), 10);
  EXPECT_FALSE(FileExists(RegionFile("sprite_a.NPK")));
  ASSERT_EQ(engine->tasks.size(), 1u);
  const DownloadTask& task = engine->tasks[0];
  EXPECT_EQ(task.Url, "http://127.0.0.1:8631/kr/ImagePacks2/sprite_a.NPK.spk");
  EXPECT_EQ(task.SavePath, RegionFile("sprite_a.NPK.spk"));
  EXPECT_EQ(page.state.DownloadFileName, "sprite_a.NPK.spk");
  EXPECT_EQ(page.state.DownloadPurpose, 1);
  EXPECT_EQ(page.state.DownloadRegion, kKorea);
  EXPECT_EQ(std::vector<int>({task.Flags, task.Connections, task.StopWait, task.ConnectTimeout, task.SendTimeout,
                              task.ReceiveTimeout, task.ReceiveBlock, task.SpeedLimit, task.SendBlock}),
            std::vector<int>({4096, 2, 1000, 5000, 5001, 10000, 10240, 0, 1024}));

  engine->Raise(kSizeKnown, 1536);
  EXPECT_EQ(page.window.Text(标签_文件大小), T(u8"文件大小:1.5KB"));
  engine->speed = 2048;
  engine->bytes = 768;
  page.window.Control(时钟1).handler();
  EXPECT_EQ(page.window.Text(标签_下载速度), T(u8"下载速度:2kb/秒"));
  EXPECT_EQ(page.window.Text(标签_已下载), T(u8"已下载:0.75KB"));
  EXPECT_EQ(page.window.ProgressPosition(进度条1), 50);
  EXPECT_TRUE(page.window.IsEnabled(组合框_区域服务器));

  // Busy: a second double-click and the refresh button start nothing.
  DoubleClick(kWideName);
  page.window.Click(按钮_更新LST文件);
  EXPECT_EQ(engine->tasks.size(), 1u);
  EXPECT_TRUE(page.window.messages.empty());

  WriteWholeFile(task.SavePath, "spk", 3);
  engine->Raise(kTaskEnded);
  EXPECT_EQ(unpackCaption, T(u8"解包此文件中 [sprite_a.NPK]"));
  EXPECT_EQ(unpackedFrom, Names{RegionFile("sprite_a.NPK.spk")});
  ASSERT_EQ(page.window.messages.size(), 1u);
  EXPECT_EQ(page.window.messages[0].text, T(u8"外服文件下载完毕!"));
  EXPECT_EQ(page.window.messages[0].title, T(u8"提示!"));
  EXPECT_EQ(page.window.messages[0].style, 4160);
  EXPECT_EQ(Caption(), kIdle);
  EXPECT_EQ(Timer(), 0);
  EXPECT_EQ(page.window.Text(标签_文件大小), T(u8"文件大小:空闲"));
  EXPECT_EQ(page.window.Text(标签_已下载), T(u8"已下载:空闲"));
  EXPECT_EQ(page.window.Text(标签_下载速度), T(u8"下载速度:空闲"));
  EXPECT_EQ(page.window.ProgressPosition(进度条1), 0);
  EXPECT_TRUE(FileExists(RegionFile("sprite_a.NPK")));
  EXPECT_FALSE(FileExists(RegionFile("sprite_a.NPK.spk")));

  // The next download keeps the previous size until its own is known.
  DoubleClick(kWideName);
  engine->bytes = 1536 / 2;
  page.window.Control(时钟1).handler();
  EXPECT_EQ(page.window.ProgressPosition(进度条1), 50);
  EXPECT_EQ(engine->tasks.back().SavePath, RegionFile(kWideName + ".spk"));
}

TEST_F(DownloadTest, NoUnpackedFileIsAFailure) {
  unpacks = false;
  ChooseRegion(kKorea);
  DoubleClick("sprite_a.NPK");
  engine->Raise(kTaskEnded);
  ASSERT_EQ(page.window.messages.size(), 1u);
  EXPECT_EQ(page.window.messages[0].text, T(u8"外服文件下载失败!"));
  EXPECT_EQ(page.window.messages[0].title, T(u8"警告!"));
  EXPECT_EQ(page.window.messages[0].style, 4112);
  EXPECT_EQ(Caption(), kIdle);
}

TEST_F(DownloadTest, ARefusedTaskLeavesThePageFree) {
  engine->refuses = true;
  ChooseRegion(kKorea);
  DoubleClick("sprite_a.NPK");
  page.window.Click(按钮_更新LST文件);
  ASSERT_EQ(page.window.messages.size(), 2u);
  EXPECT_EQ(page.window.messages[0].text.rfind(T(u8"外服文件下载失败!"), 0), 0u);
  EXPECT_EQ(page.window.messages[1].text.rfind(T(u8"LST文件更新失败!"), 0), 0u);
  for (const auto& message : page.window.messages) EXPECT_EQ(message.style, 4112);
  EXPECT_EQ(Caption(), kIdle);
  EXPECT_EQ(Timer(), 0);
  EXPECT_TRUE(page.window.IsEnabled(组合框_区域服务器));
  EXPECT_TRUE(page.window.IsEnabled(组合框_文件夹目录));

}

TEST(DownloadNames, NamesThatLeaveTheirFolderAreRefused) {
  for (const char* name : {"../evil.NPK", "a/b.NPK", "a\\b.NPK", "..", ".", "C:evil.NPK", "c:\\evil.NPK", ""})
    EXPECT_FALSE(PathPartRefusal(name).empty()) << name;
  for (const std::string& name : {std::string("sprite.NPK"), kWideName, std::string("..a.NPK"), std::string("a..")})
    EXPECT_TRUE(PathPartRefusal(name).empty()) << name;
}

TEST_F(DownloadTest, AForeignNameThatLeavesTheRegionFolderWritesNothing) {
  page.WriteList("kr", ListOf({"../../escaped.NPK", "C:escaped.NPK", "..", "sub\\escaped.NPK"}));
  ChooseRegion(kKorea);
  for (const std::string& name : page.Shown()) DoubleClick(name);
  EXPECT_TRUE(engine->tasks.empty());
  ASSERT_EQ(page.window.messages.size(), 4u);
  for (const auto& message : page.window.messages) {
    EXPECT_EQ(message.text.rfind(T(u8"外服文件下载失败!") + "\n", 0), 0u) << message.text;
    EXPECT_EQ(message.style, 4112);
  }
  EXPECT_EQ(Caption(), kIdle);
  EXPECT_EQ(Timer(), 0);
  EXPECT_FALSE(FolderExists(page.runDirectory.File("Download")));

  // A region name of the configuration is a folder name too.
  page.window.messages.clear();
  page.Choose(组合框_区域服务器, kBadRegion);
  page.Choose(组合框_文件夹目录, "ImagePacks2");
  DoubleClick("x.NPK");
  EXPECT_TRUE(engine->tasks.empty());
  EXPECT_EQ(page.window.messages.size(), 1u);
  EXPECT_FALSE(FolderExists(page.runDirectory.File("Download")));
}

class ListRefreshTest : public DownloadTest {
 protected:
  std::string ListFile() const { return JoinPath(page.runDirectory.File("lst_file"), "kr.lst"); }
};

TEST_F(ListRefreshTest, WithoutARegionOnlyWarns) {
  page.window.Click(按钮_更新LST文件);
  ASSERT_EQ(page.window.messages.size(), 1u);
  EXPECT_EQ(page.window.messages[0].text, T(u8"请选择一个区域服务器再试!"));
  EXPECT_EQ(page.window.messages[0].title, T(u8"警告!"));
  EXPECT_EQ(page.window.messages[0].style, 4112);
  EXPECT_TRUE(engine->tasks.empty());
  EXPECT_EQ(Caption(), kIdle);
  EXPECT_TRUE(page.window.IsEnabled(组合框_区域服务器));
}

TEST_F(ListRefreshTest, ANewListReplacesTheOldAndTheRegionReloads) {
  ChooseRegion(kKorea);
  // The window answers during the pause before the task, and stays busy.
  int answeredWhilePaused = 0;
  page.window.onWaitingMessages = [&] {
    ++answeredWhilePaused;
    DoubleClick("sprite_a.NPK");
  };
  page.window.Click(按钮_更新LST文件);
  page.window.onWaitingMessages = nullptr;
  EXPECT_GT(answeredWhilePaused, 0);
  EXPECT_EQ(Caption(), T(u8"下载此文件中 [kr.lst]"));
  EXPECT_FALSE(page.window.IsEnabled(组合框_区域服务器));
  EXPECT_FALSE(page.window.IsEnabled(组合框_文件夹目录));
  ASSERT_EQ(engine->tasks.size(), 1u);
  EXPECT_EQ(engine->tasks[0].Url, "http://127.0.0.1:8631/kr.lst");
  EXPECT_EQ(engine->tasks[0].SavePath, ListFile() + ".new");
  EXPECT_TRUE(FileExists(ListFile()));  // the old list stays while the new one comes

  WriteWholeFile(engine->tasks[0].SavePath, ListOf({"fresh.NPK"}).data(), ListOf({"fresh.NPK"}).size());
  engine->Raise(kTaskEnded);
  ASSERT_EQ(page.window.messages.size(), 1u);
  EXPECT_EQ(page.window.messages[0].text, T(u8"LST文件更新完毕!"));
  EXPECT_EQ(page.window.messages[0].style, 4160);
  EXPECT_EQ(Caption(), kIdle);
  EXPECT_EQ(page.Shown(), Names{"fresh.NPK"});
  EXPECT_FALSE(FileExists(ListFile() + ".new"));
  EXPECT_TRUE(page.window.IsEnabled(组合框_区域服务器));
  EXPECT_TRUE(page.window.IsEnabled(组合框_文件夹目录));
  EXPECT_TRUE(unpackedFrom.empty());
}

TEST_F(ListRefreshTest, AFailedRefreshKeepsTheOldList) {
  ChooseRegion(kKorea);
  WriteWholeFile(ListFile() + ".new", "stale", 5);  // left by an earlier refresh
  page.window.Click(按钮_更新LST文件);
  EXPECT_FALSE(FileExists(ListFile() + ".new"));
  engine->Raise(kTaskEnded);
  ASSERT_EQ(page.window.messages.size(), 1u);
  EXPECT_EQ(page.window.messages[0].text, T(u8"LST文件更新失败!"));
  EXPECT_EQ(page.window.messages[0].title, T(u8"警告!"));
  EXPECT_EQ(page.window.messages[0].style, 4112);
  EXPECT_EQ(ReadWholeFile(ListFile()), ListOf(kImages));
  EXPECT_EQ(page.Shown(), kImages);
  EXPECT_EQ(Caption(), kIdle);
  EXPECT_TRUE(page.window.IsEnabled(组合框_区域服务器));
}

TEST_F(ListRefreshTest, AListNameThatLeavesTheListFolderIsRefused) {
  page.Choose(组合框_区域服务器, kBadList);
  page.window.Click(按钮_更新LST文件);
  EXPECT_TRUE(engine->tasks.empty());
  ASSERT_EQ(page.window.messages.size(), 1u);
  EXPECT_EQ(page.window.messages[0].text.rfind(T(u8"LST文件更新失败!") + "\n", 0), 0u);
  EXPECT_EQ(Caption(), kIdle);
  EXPECT_TRUE(page.window.IsEnabled(组合框_区域服务器));
  EXPECT_EQ(ListFileNames(page.runDirectory.Path()), Names{"File_Cfg.ini"});
}
}  // namespace
