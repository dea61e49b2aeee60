// pellory-cli against the window's own scan, on the same game folders: the
// Linux program of this build, or, given --wine-build=DIR, the Windows
// build's pellory-cli.exe under Wine.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/wine_build_option.h"
#include "platform/files.h"
#include "platform/posix/native_text.h"
#include "tests/cleaner/page_fixture.h"
#include "platform/posix/process_spawn.h"

namespace {
using namespace control;

std::string windowsBuild;  // empty: test the Linux program

// A path as the program under test sees it.
std::string ProgramPath(const std::string& path) {
  if (windowsBuild.empty() || path.empty() || path[0] != '/') return path;
  std::string windows = "Z:" + path;
  std::replace(windows.begin(), windows.end(), '/', '\\');
  return windows;
}

// Rows follow the order in which the system lists a folder, which differs
// between Windows and Linux; on one system the order itself must agree.
std::vector<ResultRow> InListingOrder(std::vector<ResultRow> rows) {
  if (!windowsBuild.empty())
    std::sort(rows.begin(), rows.end(), [](const ResultRow& a, const ResultRow& b) { return a.name < b.name; });
  return rows;
}

struct CliResult {
  int exitCode;
  std::vector<ResultRow> rows;
};

CliResult RunCli(const std::vector<std::string>& args, const TestFolder& scratch) {
  std::vector<std::string> command = {"/usr/bin/env", "LC_ALL=C.UTF-8", PELLORY_CLI};
  if (!windowsBuild.empty()) command = {WINE_RUN, windowsBuild + "/wineprefix", windowsBuild + "/bin/pellory-cli.exe"};
  for (const std::string& arg : args) command.push_back(Utf8FromText(ProgramPath(arg)));
  const std::string out = scratch.File("cli.out");
  CliResult result{SpawnAndWait(command, "", out), {}};
  Bytes bytes = ReadWholeFile(out);
  std::string text(bytes.begin(), bytes.end());
  // Redirected, the Windows program writes GBK bytes and ends lines itself.
  text = windowsBuild.empty() ? TextFromUtf8(text) : text;
  for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::size_t tab1 = line.find('\t'), tab2 = line.find('\t', tab1 + 1);
    result.rows.push_back({line.substr(0, tab1), line.substr(tab1 + 1, tab2 - tab1 - 1), line.substr(tab2 + 1)});
  }
  return result;
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<ListedFile> image = {page.game.AddFile("ImagePacks2", "a.NPK", Content(100, 1)),
                                     page.game.AddFile("ImagePacks2", "b.NPK", Content(200, 2)),
                                     page.game.AddFile("ImagePacks2", "c.NPK", Content(300, 3))};
    page.game.AddFile("ImagePacks2", "b.NPK", Content(201, 2));
    page.game.AddFile("ImagePacks2", "c.NPK", Content(300, 4));
    page.game.AddFile("ImagePacks2", "skipped.NPK", Content(3, 5));
    page.game.AddFile("ImagePacks2", "stray.NPK", Content(4, 6));
    std::vector<ListedFile> sound = {page.game.AddFile("SoundPacks", "v.ogg", Content(10, 7))};
    page.game.AddFile("SoundPacks", "w.ogg", Content(10, 8));
    page.game.WriteList({{"ImagePacks2", image}, {"SoundPacks", sound}});
    page.WriteSkipList("[ImagePacks2]\r\nskipped.NPK=1\r\n");
    page.ChooseGameDirectory(page.game.Directory());
  }
  std::vector<std::string> Args(const char* command, const char* folder, const char* compare) const {
    return {command, page.game.Directory(), "--folder", folder, "--compare", compare, "--skip-list",
            page.runDirectory.File("Skip_Npk.ini")};
  }
  PageFixture page;
  TestFolder scratch;
};

TEST_F(CliTest, FindsWhatTheWindowFinds) {
  struct Case {
    const char* folder;
    Name radio;
    const char* compare;
    Name box;
  };
  const Case cases[] = {{"ImagePacks2", 单选框_IP, "none", ""},
                        {"ImagePacks2", 单选框_IP, "size", 选择框_大小对比},
                        {"ImagePacks2", 单选框_IP, "hash", 选择框_哈希对比},
                        {"SoundPacks", 单选框_SP, "hash", 选择框_哈希对比}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.folder) + " " + c.compare);
    page.window.SetChecked(选择框_大小对比, false);
    page.window.SetChecked(选择框_哈希对比, false);
    if (!c.box.empty()) page.window.SetChecked(c.box, true);
    page.Scan(std::string(c.radio));
    CliResult cli = RunCli(Args("scan", c.folder, c.compare), scratch);
    EXPECT_EQ(cli.exitCode, 0);
    EXPECT_FALSE(cli.rows.empty());
    EXPECT_EQ(InListingOrder(cli.rows), InListingOrder(page.Rows()));
  }
}

TEST_F(CliTest, CleansOrBacksUpTheFindings) {
  TestFolder backup;
  std::vector<std::string> args = Args("clean", "ImagePacks2", "size");
  args.insert(args.end(), {"--backup", backup.Path()});
  CliResult cli = RunCli(args, scratch);
  EXPECT_EQ(cli.exitCode, 0);
  EXPECT_EQ(cli.rows.size(), 2u);  // b.NPK of the wrong size, and stray.NPK
  EXPECT_TRUE(backup.Has("b.NPK"));
  EXPECT_TRUE(backup.Has("stray.NPK"));
  EXPECT_FALSE(page.game.Has("ImagePacks2", "stray.NPK"));
  EXPECT_TRUE(page.game.Has("ImagePacks2", "skipped.NPK"));

  cli = RunCli(Args("clean", "SoundPacks", "none"), scratch);
  EXPECT_EQ(cli.exitCode, 0);
  EXPECT_FALSE(page.game.Has("SoundPacks", "w.ogg"));
  EXPECT_TRUE(page.game.Has("SoundPacks", "v.ogg"));
}

TEST_F(CliTest, RefusesBadInput) {
  EXPECT_EQ(RunCli({"scan"}, scratch).exitCode, 2);
  EXPECT_EQ(RunCli({"scan", page.game.Directory(), "--compare", "fast"}, scratch).exitCode, 2);
  EXPECT_EQ(RunCli({"clean", page.game.Directory(), "--backup", scratch.File("nowhere")}, scratch).exitCode, 2);
  EXPECT_EQ(RunCli({"scan", scratch.Path()}, scratch).exitCode, 1);  // no package.lst
}
}  // namespace

int main(int argc, char** argv) { return RunTestsWithWineBuildOption(argc, argv, windowsBuild); }
