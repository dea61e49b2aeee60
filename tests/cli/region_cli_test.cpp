// pellory-cli regions and list: the foreign regions and the archive names of
// their list files, through the real program, against the window's readers.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "downloader/config_container.h"
#include "downloader/config_password.h"
#include "downloader/config_text.h"
#include "platform/files.h"
#include "platform/utf8_text.h"
#include "tests/cli/cli_program.h"
#include "tests/downloader/region_list_builder.h"
#include "tests/test_folder.h"

namespace {
using Lines = std::vector<std::string>;

std::string Gbk(std::u8string_view text) { return TextFromUtf8Source(text); }

// Sealed quickly: the fewest iterations the reader takes.
Bytes Sealed(const std::string& text) {
  ConfigSealing sealing{Bytes(kConfigMinSaltSize), {}, kConfigMinIterations};
  EXPECT_TRUE(FillRandom(sealing.salt) && FillRandom(sealing.nonce));
  return SealConfigContainer(text, kConfigPassword, sealing).value_or(Bytes{});
}

// Everything below a folder, with what each file holds.
std::vector<std::pair<std::string, std::string>> TreeOf(const std::string& folder) {
  std::vector<std::pair<std::string, std::string>> tree;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    const Bytes bytes = entry.is_regular_file() ? ReadWholeFile(entry.path().string()) : Bytes{};
    tree.emplace_back(entry.path().string(), std::string(bytes.begin(), bytes.end()));
  }
  std::sort(tree.begin(), tree.end());
  return tree;
}

const Lines kImageNames = {"b.NPK", "", "A_Skin.NPK", "a_skin2.NPK", Gbk(u8"淺技能.NPK"), "../b.NPK", "b.NPK"};

// A home folder as the program's own: the configuration, and the list file
// of one region (the other has none yet).
class RegionCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    home.Write("File_Cfg.ini", Sealed("[lst_name]\r\n" + Gbk(u8"韩国=kr\r\n日本=jp\r\n空=\r\n") +
                                      "[kr]\r\nfile=http://h/kr/\r\nlst=http://h/kr/kr.lst\r\n"
                                      "[jp]\r\nfile=http://h/jp/\r\n"));
    CreateFolder(home.File("lst_file"));
    home.Write("lst_file/kr.lst", RegionListBuilder()
                                      .Junk("head")
                                      .Block("Music", {"m1"})
                                      .Block("ImagePacks2", kImageNames)
                                      .Junk("between")
                                      .Block("SoundPacks", {"s\\1", "S2"})
                                      .Contents());
  }
  CliRun Run(std::vector<std::string> args, bool inHome = true) const {
    if (inHome) args.insert(args.end(), {"--home", home.Path()});
    return cli.Run(args, scratch);
  }

  CliProgram cli = CliProgram::UnderTest();
  TestFolder home, scratch;
};

TEST_F(RegionCliTest, PrintsTheShippedRegions) {
  const Bytes plain = ReadWholeFile(DNF_PLAIN_CONFIG);
  const std::string text(plain.begin(), plain.end());
  Lines expected;
  for (const std::string& region : ParseConfigKeys(text, "lst_name")) {
    const std::string list = FindConfigValue(text, "lst_name", region).value_or("");
    expected.push_back(region + "\t" + list + "\t" + FindConfigValue(text, list, "file").value_or("") + "\t" +
                       FindConfigValue(text, list, "lst").value_or(""));
  }
  ASSERT_EQ(expected.size(), 3u);
  CliRun run = Run({"regions"}, false);  // the File_Cfg.ini beside the program
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_EQ(run.Lines(), expected);
}

// A region without a list name or a list section still has its line, with
// the empty texts the window would use.
TEST_F(RegionCliTest, PrintsEachRegionWithWhatTheWindowWouldUse) {
  CliRun run = Run({"regions"});
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_EQ(run.Lines(), (Lines{Gbk(u8"韩国") + "\tkr\thttp://h/kr/\thttp://h/kr/kr.lst",
                                Gbk(u8"日本") + "\tjp\thttp://h/jp/\t", Gbk(u8"空") + "\t\t\t"}));
}

TEST_F(RegionCliTest, RegionsFailWithoutAConfiguration) {
  struct Case {
    const char* what;
    Bytes file;
    std::string reason;
  };
  const std::string notSealed = "[lst_name]\r\nkr=kr\r\n";
  const Case cases[] = {{"missing", {}, "no such file or folder"},
                        {"not sealed", Bytes(notSealed.begin(), notSealed.end()), "wrong password or damaged file"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestFolder empty;
    if (!c.file.empty()) empty.Write("File_Cfg.ini", c.file);
    CliRun run = cli.Run({"regions", "--home", empty.Path()}, scratch);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, "");
    EXPECT_EQ(run.errors,
              "pellory-cli: could not open " + cli.PathFor(empty.File("File_Cfg.ini")) + ": " + c.reason + "\n");
  }
}

// The names of the list file in file order, empty ones as empty lines,
// filtered as the window's keyword search filters them; nothing in a name
// makes the program write anything.
TEST_F(RegionCliTest, ListsAFoldersNamesAsTheWindowShowsThem) {
  const std::string korea = Gbk(u8"韩国");
  struct Case {
    std::vector<std::string> args;
    Lines lines;
  };
  const Case cases[] = {
      {{korea, "--folder", "ImagePacks2"}, kImageNames},
      {{korea, "--folder", "SoundPacks"}, {"s\\1", "S2"}},
      {{korea, "--folder", "Music"}, {"m1"}},
      {{korea, "--folder", "ImagePacks2", "--keyword", "SKIN"}, {"A_Skin.NPK", "a_skin2.NPK"}},
      {{korea, "--folder", "ImagePacks2", "--keyword", Gbk(u8"技能")}, {Gbk(u8"淺技能.NPK")}},
      {{korea, "--folder", "ImagePacks2", "--keyword", ""},
       {"b.NPK", "A_Skin.NPK", "a_skin2.NPK", Gbk(u8"淺技能.NPK"), "../b.NPK", "b.NPK"}},
      // The second byte of 淺 is a backslash, and no match starts there.
      {{korea, "--folder", "ImagePacks2", "--keyword", "\\"}, {}},
      {{korea, "--folder", "SoundPacks", "--keyword", "\\"}, {"s\\1"}},
      {{korea, "--folder", "ImagePacks2", "--keyword", "absent"}, {}},
  };
  const auto before = TreeOf(home.Path());
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.args));
    std::vector<std::string> byRegion = {"list"};
    byRegion.insert(byRegion.end(), c.args.begin(), c.args.end());
    CliRun run = Run(byRegion);
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(run.Lines(), c.lines);
    EXPECT_EQ(run.errors, "");

    // The same file named directly.
    std::vector<std::string> direct = {"list", "--lst", home.File("lst_file/kr.lst")};
    direct.insert(direct.end(), c.args.begin() + 1, c.args.end());
    CliRun named = cli.Run(direct, scratch);
    EXPECT_EQ(named.exitCode, 0) << named.errors;
    EXPECT_EQ(named.Lines(), c.lines);
  }
  EXPECT_EQ(TreeOf(home.Path()), before);
}

// Nothing to list is a failure with a reason, never an empty list.
TEST_F(RegionCliTest, ListFailsWithoutAListFile) {
  TestFolder noConfig;
  // A list name that leads out of the list folder, to a list that is there.
  TestFolder leading;
  leading.Write("File_Cfg.ini", Sealed("[lst_name]\r\n" + Gbk(u8"外=../kr\r\n")));
  CreateFolder(leading.File("lst_file"));
  leading.Write("kr.lst", RegionListBuilder().Block("Music", {"m1"}).Contents());
  struct Case {
    std::vector<std::string> args;
    std::string error;
  };
  const Case cases[] = {
      {{"list", Gbk(u8"日本"), "--folder", "Music", "--home", home.Path()},
       "pellory-cli: could not open " + cli.PathFor(JoinPath(home.File("lst_file"), "jp.lst")) +
           ": no such file or folder\n"},
      {{"list", Gbk(u8"空"), "--folder", "Music", "--home", home.Path()},
       "pellory-cli: no list name for the region " + Gbk(u8"空") + " in " + cli.PathFor(home.File("File_Cfg.ini")) +
           "\n"},
      {{"list", Gbk(u8"德国"), "--folder", "Music", "--home", home.Path()},
       "pellory-cli: no list name for the region " + Gbk(u8"德国") + " in " +
           cli.PathFor(home.File("File_Cfg.ini")) + "\n"},
      {{"list", Gbk(u8"韩国"), "--folder", "Music", "--home", noConfig.Path()},
       "pellory-cli: could not open " + cli.PathFor(noConfig.File("File_Cfg.ini")) + ": no such file or folder\n"},
      {{"list", Gbk(u8"外"), "--folder", "Music", "--home", leading.Path()},
       "pellory-cli: " + Gbk(u8"名称含有路径分隔符(\"/\"或\"\\\"): ../kr\n")},
      {{"list", "--lst", home.File("lst_file/jp.lst"), "--folder", "Music"},
       "pellory-cli: could not open " + cli.PathFor(home.File("lst_file/jp.lst")) + ": no such file or folder\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.args));
    CliRun run = cli.Run(c.args, scratch);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, "");
    EXPECT_EQ(run.errors, c.error);
  }
}

// The list folder is found whatever the case of its name; of several
// spellings on a system whose names keep their case, the first in byte order.
TEST_F(RegionCliTest, FindsTheListFolderWhateverItsCase) {
  std::filesystem::rename(home.File("lst_file"), home.File("lst_File"));
  CliRun run = Run({"list", Gbk(u8"韩国"), "--folder", "Music"});
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_EQ(run.Lines(), Lines{"m1"});

  if (cli.IsWindows()) return;  // Wine picks one of several spellings its own way
  CreateFolder(home.File("lst_FILE"));
  home.Write("lst_FILE/kr.lst", RegionListBuilder().Block("Music", {"first"}).Contents());
  CreateFolder(home.File("lst_file"));
  home.Write("lst_file/kr.lst", RegionListBuilder().Block("Music", {"last"}).Contents());
  run = Run({"list", Gbk(u8"韩国"), "--folder", "Music"});
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_EQ(run.Lines(), Lines{"first"});
}

TEST_F(RegionCliTest, RefusesEveryWrongCommandLine) {
  const std::string korea = Gbk(u8"韩国"), list = home.File("lst_file/kr.lst");
  const std::vector<std::vector<std::string>> cases = {
      {"list"},
      {"list", korea},
      {"list", korea, "--folder", "music"},
      {"list", korea, "--folder", "ImagePacks"},
      {"list", korea, "--folder", ""},
      {"list", korea, "--folder"},
      {"list", "--folder", "Music"},
      {"list", "--folder", "Music", "--keyword", "a"},
      {"list", korea, "--lst", list, "--folder", "Music"},
      {"list", "--lst", list, "--folder", "Music", "--home", home.Path()},
      {"list", korea, "--folder", "Music", "--home", ""},
      {"list", korea, "extra", "--folder", "Music"},
      {"regions", "extra"},
      {"regions", "--home", ""},
      {"regions", "--folder", "Music"},
  };
  for (const std::vector<std::string>& args : cases) {
    SCOPED_TRACE(testing::PrintToString(args));
    CliRun run = cli.Run(args, scratch);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.output, "");
    EXPECT_EQ(run.errors.rfind("pellory-cli: ", 0), 0u) << run.errors;
  }
}

TEST_F(RegionCliTest, GivesHelpForEachCommand) {
  const Lines mentions[] = {{"pellory-cli regions", "--home"},
                            {"pellory-cli list", "REGION", "--folder", "--lst", "--keyword", "--home"}};
  for (const Lines& words : mentions) {
    const std::string command = words[0].substr(words[0].find(' ') + 1);
    SCOPED_TRACE(command);
    CliRun run = cli.Run({command, "--help"}, scratch);
    EXPECT_EQ(run.exitCode, 0);
    for (const std::string& word : words) EXPECT_NE(run.output.find(word), std::string::npos) << word;
  }
}
}  // namespace
