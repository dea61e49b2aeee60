// pellory-cli against the window's own scan, on the same game folders: the
// Linux program of this build, or, given --wine-build=DIR, the Windows
// build's pellory-cli.exe under Wine.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "platform/files.h"
#include "platform/posix/native_text.h"
#include "platform/posix/process_spawn.h"
#include "platform/utf8_text.h"
#include "tests/cleaner/page_fixture.h"
#include "tests/cli/cli_program.h"

namespace {
using namespace control;

// The Windows build under Wine, given --wine-build=DIR.
bool TestsWindowsBuild() { return CliProgram::UnderTest().IsWindows(); }

// Rows follow the order in which the system lists a folder, which differs
// between Windows and Linux; on one system the order itself must agree.
std::vector<ResultRow> InListingOrder(std::vector<ResultRow> rows) {
  if (TestsWindowsBuild())
    std::sort(rows.begin(), rows.end(), [](const ResultRow& a, const ResultRow& b) { return a.name < b.name; });
  return rows;
}

struct CliResult {
  int exitCode;
  std::vector<ResultRow> rows;
  std::string output, errors;  // standard output and standard error, as texts
};

// Runs the program under test and reads its findings, one row a line.
CliResult RunCli(const std::vector<std::string>& args, const TestFolder& scratch,
                 const std::vector<std::string>& limits = {}) {
  const CliRun run = CliProgram::UnderTest().Run(args, scratch, limits);
  CliResult result{run.exitCode, {}, run.output, run.errors};
  for (const std::string& line : run.Lines()) {
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
TEST_F(CliTest, GivesHelpForTheProgramAndEachCommand) {
  struct Case {
    std::vector<std::string> args;
    std::vector<std::string> mentions, omits;
  };
  const Case cases[] = {{{"--help"}, {"Usage: pellory-cli", "scan", "clean"}, {"GAME_DIR"}},
                        {{"scan", "--help"}, {"pellory-cli scan", "GAME_DIR", "--folder", "--compare", "--workers"}, {"--backup"}},
                        {{"clean", "--help"}, {"pellory-cli clean", "GAME_DIR", "--backup"}, {}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.size() == 1 ? "program" : c.args[0]);
    CliResult cli = RunCli(c.args, scratch);
    EXPECT_EQ(cli.exitCode, 0);
    for (const std::string& word : c.mentions) EXPECT_NE(cli.output.find(word), std::string::npos) << word;
    for (const std::string& word : c.omits) EXPECT_EQ(cli.output.find(word), std::string::npos) << word;
  }
}

// Every wrong command line ends with exit code 2 and a word on standard
// error, before anything is scanned or cleaned.
TEST_F(CliTest, RefusesEveryWrongCommandLine) {
  const std::string game = page.game.Directory();
  const std::string scanned = page.game.FolderPath("ImagePacks2");
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"tidy", game},
      {"scan"},
      {"scan", game, "--workers", "3x"},
      {"scan", game, "--workers", "0"},
      {"scan", game, "--workers", "100000"},
      {"scan", game, "--workers"},
      {"scan", game, "--folder", "Music"},
      {"scan", game, "--folder", "imagepacks2"},
      {"scan", game, "--compare", "md5"},
      {"scan", game, "--colour"},
      {"scan", game, "extra"},
      {"scan", game, "--backup", scratch.Path()},  // scan never cleans
      {"clean", game, "--backup", ""},            // an unset shell variable
      {"clean", game, "--backup", scratch.File("nowhere")},
      {"clean", game, "--backup", scanned},
  };
  for (const std::vector<std::string>& args : cases) {
    std::string line;
    for (const std::string& arg : args) line += "[" + arg + "]";
    SCOPED_TRACE(line);
    CliResult cli = RunCli(args, scratch);
    EXPECT_EQ(cli.exitCode, 2);
    EXPECT_TRUE(cli.rows.empty());
    EXPECT_EQ(cli.errors.rfind("pellory-cli: ", 0), 0u) << cli.errors;
  }
  EXPECT_TRUE(page.game.Has("ImagePacks2", "stray.NPK"));
  EXPECT_TRUE(page.game.Has("ImagePacks2", "b.NPK"));
}

TEST_F(CliTest, ScansWithAsManyWorkersAsAsked) {
  page.window.SetChecked(选择框_哈希对比, true);
  page.Scan();
  for (const char* workers : {"1", "64"}) {
    SCOPED_TRACE(workers);
    std::vector<std::string> args = Args("scan", "ImagePacks2", "hash");
    args.insert(args.end(), {"--workers", workers});
    CliResult cli = RunCli(args, scratch);
    EXPECT_EQ(cli.exitCode, 0);
    EXPECT_EQ(InListingOrder(cli.rows), InListingOrder(page.Rows()));
  }
}

// Threads are refused by the system here through the size of their stacks:
// glibc gives each new thread a stack of the stack limit's size.
TEST_F(CliTest, HashesWithTheThreadsTheSystemGives) {
  if (TestsWindowsBuild()) GTEST_SKIP() << "the limits are set on Linux programs";
  page.window.SetChecked(选择框_哈希对比, true);
  page.Scan();
  std::vector<std::string> args = Args("scan", "ImagePacks2", "hash");
  args.insert(args.end(), {"--workers", "8"});

  // Stacks larger than the machine's memory: not one thread starts.
  const std::vector<std::string> noThreads = {"/usr/bin/prlimit", "--stack=17592186044416"};
  if (RunCli({"--help"}, scratch, noThreads).exitCode != 0)
    GTEST_SKIP() << "this build does not run with such stacks (a sanitizer build)";
  CliResult none = RunCli(args, scratch, noThreads);
  EXPECT_EQ(none.exitCode, 1);
  EXPECT_TRUE(none.rows.empty());
  EXPECT_NE(none.errors.find("pellory-cli: could not start a thread for hashing"), std::string::npos) << none.errors;

  // Stacks of 256 MiB in 1 GiB of address space: the reader and a few
  // workers start, the rest are refused, and the scan is whole.
  const std::vector<std::string> someThreads = {"/usr/bin/prlimit", "--stack=268435456", "--as=1073741824"};
  if (RunCli({"--help"}, scratch, someThreads).exitCode != 0)
    GTEST_SKIP() << "this build does not run in 1 GiB of address space (a sanitizer build)";
  CliResult some = RunCli(args, scratch, someThreads);
  EXPECT_EQ(some.exitCode, 0) << some.errors;
  EXPECT_EQ(some.rows, page.Rows());
}

// A file that cannot be read is no finding: it is named on standard error
// with the reason, left alone by clean, and the exit code says the scan is
// not whole.
TEST_F(CliTest, NamesAFileItCouldNotRead) {
  if (TestsWindowsBuild()) GTEST_SKIP() << "made unreadable with a symbolic link";
  const std::string b = JoinPath(page.game.FolderPath("ImagePacks2"), "b.NPK");
  RemoveFile(b);
  std::filesystem::create_symlink(page.game.root.File("gone"), b);
  const std::vector<ResultRow> findings = {{"c.NPK", "ImagePacks2", TextFromUtf8Source(u8"哈希校验码错误")},
                                           {"stray.NPK", "ImagePacks2", TextFromUtf8Source(u8"非官方文件")}};
  for (const char* command : {"scan", "clean"}) {
    SCOPED_TRACE(command);
    CliResult cli = RunCli(Args(command, "ImagePacks2", "hash"), scratch);
    EXPECT_EQ(cli.exitCode, 1);
    std::sort(cli.rows.begin(), cli.rows.end(), [](const ResultRow& x, const ResultRow& y) { return x.name < y.name; });
    EXPECT_EQ(cli.rows, findings);
    EXPECT_NE(cli.errors.find("pellory-cli: could not read " + b + ": no such file or folder\n"), std::string::npos) << cli.errors;
  }
  EXPECT_TRUE(std::filesystem::is_symlink(b));
  EXPECT_FALSE(page.game.Has("ImagePacks2", "stray.NPK"));
  EXPECT_FALSE(page.game.Has("ImagePacks2", "c.NPK"));
}

// A folder that refuses changes (immutable, which even root cannot change
// inside) keeps the findings; each is named with the reason.
TEST_F(CliTest, NamesEachFindingItCouldNotClean) {
  const std::string folder = page.game.FolderPath("ImagePacks2");
  if (SpawnAndWait({"/usr/bin/chattr", "+i", folder}, "", "") != 0) GTEST_SKIP() << "no immutable folders here";
  struct Mutable {
    std::string folder;
    ~Mutable() { SpawnAndWait({"/usr/bin/chattr", "-i", folder}, "", ""); }
  } restore{folder};
  CliResult cli = RunCli(Args("clean", "ImagePacks2", "size"), scratch);
  EXPECT_EQ(cli.exitCode, 1);
  EXPECT_EQ(cli.rows.size(), 2u);
  for (const char* name : {"b.NPK", "stray.NPK"}) {
    EXPECT_TRUE(page.game.Has("ImagePacks2", name));
    // Wine gives its own reason for the refusal.
    const std::string line = "pellory-cli: could not delete " + CliProgram::UnderTest().PathFor(JoinPath(folder, name)) + ": " +
                             (TestsWindowsBuild() ? "" : "access denied\n");
    EXPECT_NE(cli.errors.find(line), std::string::npos) << cli.errors;
  }
}

// A FIFO waits for a writer that never comes: the scan must never open one
// as if it were a file.
TEST_F(CliTest, NeverWaitsOnAFifo) {
  if (TestsWindowsBuild()) GTEST_SKIP() << "Windows has no FIFOs";
  const std::string skipList = page.runDirectory.File("Skip_Npk.ini");
  const std::string list = JoinPath(page.game.Directory(), "package.lst");
  const std::string c = JoinPath(page.game.FolderPath("ImagePacks2"), "c.NPK");
  auto makeFifo = [](const std::string& path) {
    RemoveFile(path);
    ASSERT_EQ(mkfifo(Utf8FromText(path).c_str(), 0644), 0) << path;
  };

  makeFifo(skipList);
  CliResult cli = RunCli(Args("scan", "ImagePacks2", "none"), scratch);
  EXPECT_EQ(cli.exitCode, 0) << "a FIFO as the skip list";

  makeFifo(c);  // official, so a digest scan would read it
  cli = RunCli(Args("scan", "ImagePacks2", "hash"), scratch);
  EXPECT_EQ(cli.exitCode, 1) << "a FIFO in the folder";
  EXPECT_NE(cli.errors.find("pellory-cli: could not read " + c + ": "), std::string::npos) << cli.errors;

  makeFifo(list);
  cli = RunCli(Args("scan", "ImagePacks2", "none"), scratch);
  EXPECT_EQ(cli.exitCode, 1) << "a FIFO as the package list";
  EXPECT_NE(cli.errors.find(TextFromUtf8Source(u8"LST文件非DNF的文件列表文件..请重新选择!!")), std::string::npos);
}
}  // namespace

