// The second page's browsing over real files: the regions offered at start,
// the choice of a region and a folder, the keyword search and its reset.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/utf8_text.h"
#include "tests/downloader/browse_page.h"

namespace {
using namespace control;
using Names = std::vector<std::string>;

std::string T(std::u8string_view text) { return TextFromUtf8Source(text); }

const std::string kKorea = T(u8"韩国"), kJapan = T(u8"日本"), kTaiwan = T(u8"台湾"), kAmerica = T(u8"美国"),
                  kHongKong = T(u8"香港"), kEurope = T(u8"欧洲");
constexpr int kEnter = 13;

// Taiwan before Korea before Japan: the file's order, not an alphabet's.
// Japan has no section of its own, so no base address; America no list
// name; Hong Kong's list file is made unreadable where a test needs that;
// Europe's list name leads out of the list folder.
const std::string kConfig = "[lst_name]\r\n" + kTaiwan + "=tw\r\n" + kKorea + "=kr\r\n" + kJapan + "=jp\r\n" +
                            kAmerica + "=\r\n" + kHongKong + "=hk\r\n" + kEurope + "=../kr\r\n"
                            "[kr]\r\nfile=http://127.0.0.1:8631/kr/\r\n"
                            "[tw]\r\nfile=http://127.0.0.1:8631/tw/\r\n"
                            "[hk]\r\nfile=http://127.0.0.1:8631/hk/\r\n";

const Names kKoreaSounds = {"sounds_mon.npk", "", "sounds_mon.npk", "sounds_BgM.npk"};
const Names kKoreaImages = {"sprite_character_swordman.NPK", "sprite_map_BGM.NPK", T(u8"装扮.NPK")};
const Names kKoreaMusic = {"BGM_Town.ogg", "bgm_battle.ogg", "", "bgm_battle.ogg", "town.ogg"};
const Names kTaiwanSounds = {"tw_sound.npk"};

// The blocks in the order Music, ImagePacks2, SoundPacks, with bytes between them.
Bytes KoreaList() {
  return RegionListBuilder()
      .Junk("header")
      .Block("Music", kKoreaMusic)
      .Junk("\x01\x02")
      .Block("ImagePacks2", kKoreaImages)
      .Block("SoundPacks", kKoreaSounds)
      .Contents();
}

class BrowseTest : public ::testing::Test {
 protected:
  // The program's folder as it ships: the configuration and two regions' lists.
  void SetUp() override {
    page.WriteConfig(kConfig);
    page.WriteList("kr", KoreaList());
    page.WriteList("tw", RegionListBuilder().Block("SoundPacks", kTaiwanSounds).Contents());
  }

  BrowsePage page;
};

TEST_F(BrowseTest, OffersTheConfiguredRegionsInFileOrderWithNoneChosen) {
  page.Open();
  const Names regions = {kTaiwan, kKorea, kJapan, kAmerica, kHongKong, kEurope};
  EXPECT_EQ(page.ComboItems(组合框_区域服务器), regions);
  EXPECT_EQ(page.state.RegionNames, regions);
  EXPECT_EQ(page.window.ComboCurrent(组合框_区域服务器), -1);
  EXPECT_EQ(page.window.ComboCurrent(组合框_文件夹目录), -1);
  EXPECT_TRUE(page.Shown().empty());
  EXPECT_TRUE(page.window.messages.empty());
}

TEST(Browse, OffersNoRegionWhenTheConfigurationCannotBeRead) {
  const std::vector<std::uint8_t> sealed = SealedConfig(kConfig);
  struct Case {
    const char* what;
    std::vector<std::uint8_t> file;  // empty: no file
    bool folder = false;
  };
  const Case cases[] = {
      {"no configuration file", {}},
      {"a folder in its place", {}, true},
      {"the plain text, not sealed", {kConfig.begin(), kConfig.end()}},
      {"sealed and then cut short", {sealed.begin(), sealed.end() - 1}},
      {"no section of region names", SealedConfig("[kr]\r\nfile=http://127.0.0.1:8631/kr/\r\n")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    BrowsePage page;
    if (c.folder) CreateFolder(page.runDirectory.File("File_Cfg.ini"));
    if (!c.file.empty()) page.runDirectory.Write("File_Cfg.ini", c.file);
    page.Open();
    EXPECT_TRUE(page.ComboItems(组合框_区域服务器).empty());
    EXPECT_TRUE(page.state.RegionNames.empty());
    EXPECT_TRUE(page.window.messages.empty());
  }
}

TEST_F(BrowseTest, ShowsTheChosenFolderOfTheChosenRegionAsTheListFileHasIt) {
  page.Open();
  page.Choose(组合框_文件夹目录, "SoundPacks");
  EXPECT_TRUE(page.Shown().empty());  // no region yet
  page.Choose(组合框_区域服务器, kKorea);
  EXPECT_EQ(page.Shown(), kKoreaSounds);
  EXPECT_EQ(page.state.RegionBaseUrl.Get(), "http://127.0.0.1:8631/kr/");
  page.Choose(组合框_文件夹目录, "ImagePacks2");
  EXPECT_EQ(page.Shown(), kKoreaImages);
  page.Choose(组合框_文件夹目录, "Music");
  EXPECT_EQ(page.Shown(), kKoreaMusic);

  page.Choose(组合框_文件夹目录, "SoundPacks");
  page.Choose(组合框_区域服务器, kTaiwan);
  EXPECT_EQ(page.Shown(), kTaiwanSounds);
  EXPECT_EQ(page.state.RegionBaseUrl.Get(), "http://127.0.0.1:8631/tw/");
  EXPECT_TRUE(page.window.messages.empty());
}

TEST_F(BrowseTest, ARegionChosenBeforeAFolderShowsItsNamesOnceTheFolderIsChosen) {
  page.Open();
  page.Choose(组合框_区域服务器, kKorea);
  EXPECT_TRUE(page.Shown().empty());
  page.Choose(组合框_文件夹目录, "Music");
  EXPECT_EQ(page.Shown(), kKoreaMusic);
}

// A region without a list of its own empties the list box, without a
// message; its base address replaces the last one, also when it is empty.
TEST_F(BrowseTest, ARegionWithoutAReadableListShowsAnEmptyList) {
  CreateFolder(page.runDirectory.File(JoinPath("lst_file", "hk.lst")));  // a folder where the file should be
  page.runDirectory.Write("kr.lst", KoreaList());  // where "../kr" would lead
  struct Case {
    std::string region, baseUrl;
    const char* what;
  };
  const Case cases[] = {
      {kJapan, "", "its list file is missing"},
      {kAmerica, "", "the configuration gives no list name"},
      {kHongKong, "http://127.0.0.1:8631/hk/", "its list file can't be read"},
      {kEurope, "", "its list name leads out of the list folder"},
  };
  page.Open();
  page.Choose(组合框_文件夹目录, "SoundPacks");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    page.Choose(组合框_区域服务器, kKorea);
    ASSERT_EQ(page.Shown(), kKoreaSounds);
    page.Choose(组合框_区域服务器, c.region);
    EXPECT_TRUE(page.Shown().empty());
    EXPECT_EQ(page.state.RegionBaseUrl.Get(), c.baseUrl);
    page.Choose(组合框_文件夹目录, "Music");  // the lists themselves are empty, not only the box
    EXPECT_TRUE(page.Shown().empty());
    page.Choose(组合框_文件夹目录, "SoundPacks");
  }
  EXPECT_TRUE(page.window.messages.empty());
}

TEST_F(BrowseTest, SearchesTheChosenFolderAndClearsTheKeyword) {
  page.Open();
  page.Choose(组合框_区域服务器, kKorea);
  page.Choose(组合框_文件夹目录, "Music");
  struct Case {
    std::string keyword;
    Names shown;
    const char* what;
  };
  const Case cases[] = {
      {"bgm", {"BGM_Town.ogg", "bgm_battle.ogg", "bgm_battle.ogg"}, "letters in any case, duplicates kept"},
      {"TOWN", {"BGM_Town.ogg", "town.ogg"}, "an upper-case keyword"},
      {"", {"BGM_Town.ogg", "bgm_battle.ogg", "bgm_battle.ogg", "town.ogg"}, "the empty keyword: all but empty names"},
      {"npk", {}, "a keyword no name holds"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    page.TypeKeyword(c.keyword);
    page.window.Click(按钮_查找关键词);
    EXPECT_EQ(page.Shown(), c.shown);
    page.window.Click(按钮_清空关键词);
    EXPECT_EQ(page.Shown(), kKoreaMusic);
    EXPECT_EQ(page.window.Text(编辑框_文件名关键词), "");
  }
  // The search follows the chosen folder.
  page.TypeKeyword("bgm");
  page.Choose(组合框_文件夹目录, "SoundPacks");
  page.window.Click(按钮_查找关键词);
  EXPECT_EQ(page.Shown(), Names{"sounds_BgM.npk"});
}

TEST_F(BrowseTest, EnterInTheKeywordBoxSearchesAndOtherKeysDoNothing) {
  page.Open();
  page.Choose(组合框_区域服务器, kKorea);
  page.Choose(组合框_文件夹目录, "Music");
  page.TypeKeyword("battle");
  for (int key : {int{'B'}, 8 /* backspace */, 27 /* Esc */, 9 /* Tab */}) {
    page.window.PressKey(编辑框_文件名关键词, key);
    EXPECT_EQ(page.Shown(), kKoreaMusic) << "key " << key;
  }
  page.window.PressKey(编辑框_文件名关键词, kEnter);
  EXPECT_EQ(page.Shown(), (Names{"bgm_battle.ogg", "bgm_battle.ogg"}));
  EXPECT_EQ(page.window.Text(编辑框_文件名关键词), "battle");  // searching keeps the keyword
}

TEST_F(BrowseTest, SearchAndClearWithNoFolderChosenLeaveTheListAlone) {
  page.Open();
  page.Choose(组合框_区域服务器, kKorea);
  page.TypeKeyword("bgm");
  page.window.Click(按钮_查找关键词);
  page.window.PressKey(编辑框_文件名关键词, kEnter);
  EXPECT_TRUE(page.Shown().empty());
  page.window.Click(按钮_清空关键词);
  EXPECT_TRUE(page.Shown().empty());
  EXPECT_EQ(page.window.Text(编辑框_文件名关键词), "");
}

// After a region's list file has been refreshed the region is chosen again
// from the download side: the new file decides, for showing and searching.
TEST_F(BrowseTest, ChoosingTheRegionAgainReadsItsListFileAnew) {
  page.Open();
  page.Choose(组合框_区域服务器, kKorea);
  page.Choose(组合框_文件夹目录, "SoundPacks");
  ASSERT_EQ(page.Shown(), kKoreaSounds);
  const Names refreshed = {"sounds_new.npk", "sounds_newer.npk"};
  page.WriteList("kr", RegionListBuilder().Block("SoundPacks", refreshed).Contents());
  EXPECT_EQ(page.Shown(), kKoreaSounds);  // nothing reads the file until the region is chosen
  OnRegionSelected(page.window, page.state);
  EXPECT_EQ(page.Shown(), refreshed);
  page.TypeKeyword("newer");
  page.window.Click(按钮_查找关键词);
  EXPECT_EQ(page.Shown(), Names{"sounds_newer.npk"});
  page.Choose(组合框_文件夹目录, "Music");
  EXPECT_TRUE(page.Shown().empty());
}

// The program's texts spell the list folder "lst_file" and "lst_File";
// where names keep their case either may be on disk.
TEST(Browse, FindsTheListFolderWhateverTheCaseOfItsName) {
  for (const char* folder : {"lst_file", "lst_File", "LST_FILE"}) {
    SCOPED_TRACE(folder);
    BrowsePage page;
    page.WriteConfig(kConfig);
    page.WriteList("tw", RegionListBuilder().Block("SoundPacks", kTaiwanSounds).Contents(), folder);
    page.Open();
    page.Choose(组合框_文件夹目录, "SoundPacks");
    page.Choose(组合框_区域服务器, kTaiwan);
    EXPECT_EQ(page.Shown(), kTaiwanSounds);
  }
}

TEST(Browse, TakesTheFirstOfSeveralListFoldersInByteOrder) {
  BrowsePage page;
  page.WriteConfig(kConfig);
  page.WriteList("tw", RegionListBuilder().Block("SoundPacks", {"from_lst_file.npk"}).Contents(), "lst_file");
  if (!CreateFolder(page.runDirectory.File("lst_File"))) GTEST_SKIP() << "names ignore case here: one folder only";
  page.WriteList("tw", RegionListBuilder().Block("SoundPacks", {"from_lst_File.npk"}).Contents(), "lst_File");
  // A file, not a folder, that comes first in byte order is passed over.
  page.runDirectory.Write("Lst_file", std::string("not a folder"));
  page.Open();
  page.Choose(组合框_文件夹目录, "SoundPacks");
  page.Choose(组合框_区域服务器, kTaiwan);
  EXPECT_EQ(page.Shown(), Names{"from_lst_File.npk"});
}

TEST(Browse, TheListFolderKeepsItsGivenNameWhenThereIsNone) {
  TestFolder folder;
  EXPECT_EQ(FindFolderIgnoringCase(folder.Path(), "lst_file"), folder.File("lst_file"));
  folder.Write("LST_FILE", std::string("a file, not a folder"));
  EXPECT_EQ(FindFolderIgnoringCase(folder.Path(), "lst_file"), folder.File("lst_file"));
  EXPECT_EQ(FindFolderIgnoringCase(folder.File("missing"), "lst_file"), JoinPath(folder.File("missing"), "lst_file"));
}
}  // namespace
