// pellory-cli config: sealing and opening whole files, and the keys and
// values that the window reads, through the real program.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "downloader/config_password.h"
#include "platform/files.h"
#include "platform/utf8_text.h"
#include "tests/cli/cli_program.h"
#include "tests/test_folder.h"

namespace {
using Lines = std::vector<std::string>;
using Bytes = std::vector<std::uint8_t>;

Bytes BytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

// The files of a folder, by name.
std::vector<std::string> FilesIn(const TestFolder& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

class ConfigCliTest : public ::testing::Test {
 protected:
  CliRun Run(const std::vector<std::string>& args) const { return cli.Run(args, scratch); }
  // The file `name` of `folder` sealed by the program with `password`.
  void Seal(const std::string& plain, const std::string& name, const std::string& password = kConfigPassword) {
    folder.Write("plain.txt", plain);
    ASSERT_EQ(Run({"config", "encrypt", folder.File("plain.txt"), folder.File(name), "--password", password}).exitCode, 0);
  }

  CliProgram cli = CliProgram::UnderTest();
  TestFolder folder, scratch;
};

// Every byte comes back, line ends, zero bytes and the end-of-text byte
// included: the whole file is sealed, not the text the readers take from it.
TEST_F(ConfigCliTest, DecryptGivesBackEveryByteThatWasEncrypted) {
  std::string allBytes;
  for (int byte = 0; byte < 256; ++byte) allBytes += static_cast<char>(byte);
  const std::string cases[] = {
      "",
      "[lst_name]\r\n" + TextFromUtf8Source(u8"韩国=kr\r\n淺=tw\r\n"),
      std::string("[a]\nb=c\0d\x1A" "e\n", 12),
      allBytes,
  };
  for (const std::string& text : cases) {
    SCOPED_TRACE(testing::PrintToString(text));
    Seal(text, "sealed.ini");
    const Bytes sealed = folder.Read("sealed.ini");
    EXPECT_GT(sealed.size(), text.size());
    if (!text.empty()) {
      EXPECT_EQ(std::search(sealed.begin(), sealed.end(), text.begin(), text.end()), sealed.end()) << "left plain";
    }
    CliRun run = Run({"config", "decrypt", folder.File("sealed.ini"), folder.File("opened.txt")});
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(folder.Read("opened.txt"), BytesOf(text));
    EXPECT_TRUE(run.output.empty());
  }
}

// A new seal every time: the same text never gives the same file.
TEST_F(ConfigCliTest, EachSealIsFresh) {
  Seal("[lst_name]\nx=y\n", "one.ini");
  Seal("[lst_name]\nx=y\n", "two.ini");
  EXPECT_NE(folder.Read("one.ini"), folder.Read("two.ini"));
}

// An empty password is a plain file both ways, and a plain file is read
// with it as it stands.
TEST_F(ConfigCliTest, AnEmptyPasswordMeansPlainText) {
  const std::string text = "[lst_name]\r\n" + TextFromUtf8Source(u8"韩国=kr\r\n");
  Seal(text, "plain.ini", "");
  EXPECT_EQ(folder.Read("plain.ini"), BytesOf(text));
  ASSERT_EQ(Run({"config", "decrypt", folder.File("plain.ini"), folder.File("same.txt"), "--password", ""}).exitCode, 0);
  EXPECT_EQ(folder.Read("same.txt"), BytesOf(text));
  CliRun keys = Run({"config", "keys", "lst_name", "--config", folder.File("plain.ini"), "--password", ""});
  EXPECT_EQ(keys.exitCode, 0) << keys.errors;
  EXPECT_EQ(keys.Lines(), Lines{TextFromUtf8Source(u8"韩国")});
  // The program's password does not open a plain file.
  EXPECT_EQ(Run({"config", "keys", "lst_name", "--config", folder.File("plain.ini")}).exitCode, 1);
}

// A file sealed on Linux opens on Windows, and the other way round.
TEST_F(ConfigCliTest, FilesTravelBetweenLinuxAndWindows) {
  if (!cli.IsWindows()) GTEST_SKIP() << "needs the Windows build (--wine-build)";
  const std::string text = "[lst_name]\r\n" + TextFromUtf8Source(u8"韩国=kr\r\n日本=jp\r\n");
  folder.Write("plain.txt", text);
  const CliProgram systems[2] = {CliProgram::Linux(), cli};
  for (int sealer = 0; sealer < 2; ++sealer) {
    const CliProgram& seal = systems[sealer];
    const CliProgram& open = systems[1 - sealer];
    SCOPED_TRACE(seal.IsWindows() ? "sealed on Windows" : "sealed on Linux");
    ASSERT_EQ(seal.Run({"config", "encrypt", folder.File("plain.txt"), folder.File("sealed.ini")}, scratch).exitCode, 0);
    CliRun opened = open.Run({"config", "decrypt", folder.File("sealed.ini"), folder.File("opened.txt")}, scratch);
    EXPECT_EQ(opened.exitCode, 0) << opened.errors;
    EXPECT_EQ(folder.Read("opened.txt"), BytesOf(text));
    CliRun value = open.Run({"config", "value", "lst_name", TextFromUtf8Source(u8"日本"), "--config",
                             folder.File("sealed.ini")},
                            scratch);
    EXPECT_EQ(value.Lines(), Lines{"jp"});
  }
}

// keys and value read as the window reads: blanks around keys go, blanks
// around values stay, a missing key or section is an empty answer.
TEST_F(ConfigCliTest, KeysAndValuesAsTheWindowReadsThem) {
  const std::string ideographicBlank = "\xA1\xA1";
  const std::string text = "before=0\r\n"
                           "[LST_Name]\r\n"
                           "  kr  =  http://a/  \r\n" +
                           ideographicBlank + "jp" + ideographicBlank + "=jp\r\n" +
                           TextFromUtf8Source(u8"韩国=淺\r\n") +
                           "two=a=b\r\n"
                           "empty==\r\n"
                           "none=\r\n"
                           "no line with an equals sign\r\n"
                           "kr=second\r\n"
                           " [other] \r\n"
                           "x=1\n"
                           "[hidden]\n" +
                           std::string("y=2\0z=3\n", 8);
  struct Case {
    std::vector<std::string> args;
    Lines lines;
  };
  const Case cases[] = {
      {{"keys", "lst_name"},
       {"kr", "jp", TextFromUtf8Source(u8"韩国"), "two", "empty", "none", "kr"}},
      {{"keys", "OTHER"}, {}},  // blanks around a header: it ends a section, and opens none
      {{"keys", "hidden"}, {"y"}},
      {{"keys", "missing"}, {}},
      {{"value", "lst_name", "kr"}, {"  http://a/  "}},
      {{"value", "lst_name", "jp"}, {"jp"}},
      {{"value", "lst_name", TextFromUtf8Source(u8"韩国")}, {TextFromUtf8Source(u8"淺")}},
      {{"value", "lst_name", "KR"}, {""}},
      {{"value", "lst_name", "two"}, {""}},
      {{"value", "lst_name", "empty"}, {""}},
      {{"value", "lst_name", "none"}, {""}},
      {{"value", "lst_name", "before"}, {""}},
      {{"value", "hidden", "z"}, {""}},
      {{"value", "missing", "kr"}, {""}},
  };
  Seal(text, "File_Cfg.ini");
  for (const Case& c : cases) {
    std::vector<std::string> args = {"config"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    args.insert(args.end(), {"--home", folder.Path()});
    SCOPED_TRACE(testing::PrintToString(args));
    CliRun run = Run(args);
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(run.Lines(), c.lines);
    EXPECT_EQ(run.errors, "");
  }
}

// A file that can't be opened is a failure with a reason, and prints
// nothing: a wrong password and a changed byte are such files.
TEST_F(ConfigCliTest, AConfigurationThatCannotBeOpenedFails) {
  Seal("[lst_name]\nkr=kr\n", "sealed.ini");
  Bytes changed = folder.Read("sealed.ini");
  changed[changed.size() / 2] ^= 1;
  folder.Write("changed.ini", changed);
  CreateFolder(folder.File("folder.ini"));
  struct Case {
    const char* file;
    const char* password;
    const char* reason;
  };
  const Case cases[] = {
      {"sealed.ini", "Tavu80392751", "wrong password or damaged file"},
      {"changed.ini", kConfigPassword, "wrong password or damaged file"},
      {"missing.ini", kConfigPassword, "no such file or folder"},
      {"folder.ini", kConfigPassword, ""},
  };
  for (const Case& c : cases) {
    for (const char* command : {"keys", "value"}) {
      SCOPED_TRACE(std::string(c.file) + " " + command);
      std::vector<std::string> args = {"config", command, "lst_name"};
      if (std::string(command) == "value") args.push_back("kr");
      args.insert(args.end(), {"--config", folder.File(c.file), "--password", c.password});
      CliRun run = Run(args);
      EXPECT_EQ(run.exitCode, 1);
      EXPECT_EQ(run.output, "");
      EXPECT_EQ(run.errors.rfind("pellory-cli: could not open " + cli.PathFor(folder.File(c.file)) + ": " + c.reason, 0),
                0u)
          << run.errors;
    }
    SCOPED_TRACE(std::string(c.file) + " decrypt");
    CliRun run = Run({"config", "decrypt", folder.File(c.file), folder.File("opened.txt"), "--password", c.password});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.errors.rfind("pellory-cli: could not ", 0), 0u) << run.errors;
    EXPECT_FALSE(folder.Has("opened.txt"));
  }
}

// The configuration is File_Cfg.ini beside the program unless --home or
// --config says otherwise; a bare --config name is in the current folder.
TEST_F(ConfigCliTest, FindsTheConfigurationWhereItIsNamed) {
  CliRun shipped = Run({"config", "value", "lst_name", TextFromUtf8Source(u8"日本")});
  EXPECT_EQ(shipped.exitCode, 0) << shipped.errors;
  EXPECT_EQ(shipped.Lines(), Lines{"jp"});

  Seal("[lst_name]\nhere=1\n", "File_Cfg.ini");
  EXPECT_EQ(Run({"config", "keys", "lst_name", "--home", folder.Path()}).Lines(), Lines{"here"});
  EXPECT_EQ(Run({"config", "keys", "lst_name", "--config", folder.File("File_Cfg.ini")}).Lines(), Lines{"here"});
  // --config wins over --home.
  EXPECT_EQ(Run({"config", "keys", "lst_name", "--home", folder.Path(), "--config",
                 JoinPath(cli.ProgramFolder(), "File_Cfg.ini")})
                .Lines()
                .size(),
            3u);
}

// Output is written whole or not at all: what can't be written leaves no
// file behind, and what was there stays.
TEST_F(ConfigCliTest, OutputIsWholeOrNothing) {
  folder.Write("plain.txt", std::string("[lst_name]\nkr=kr\n"));
  CreateFolder(folder.File("taken"));
  folder.Write("taken/inside", std::string("kept"));
  const std::vector<std::string> before = FilesIn(folder);
  struct Case {
    const char* what;
    std::string input, output;
  };
  const Case cases[] = {
      {"a missing folder", folder.File("plain.txt"), folder.File("nowhere/out.ini")},
      {"a folder in the way", folder.File("plain.txt"), folder.File("taken")},
      {"a missing input", folder.File("missing.txt"), folder.File("out.ini")},
      {"a folder as the input", folder.File("taken"), folder.File("out.ini")},
  };
  for (const Case& c : cases) {
    for (const char* command : {"encrypt", "decrypt"}) {
      SCOPED_TRACE(std::string(c.what) + " " + command);
      CliRun run = Run({"config", command, c.input, c.output, "--password", ""});
      EXPECT_EQ(run.exitCode, 1);
      EXPECT_EQ(run.errors.rfind("pellory-cli: could not ", 0), 0u) << run.errors;
      EXPECT_EQ(FilesIn(folder), before);
      EXPECT_EQ(folder.Read("taken/inside"), BytesOf("kept"));
    }
  }
  // A file in the way is replaced whole.
  folder.Write("out.ini", std::string(100000, 'x'));
  ASSERT_EQ(Run({"config", "encrypt", folder.File("plain.txt"), folder.File("out.ini"), "--password", ""}).exitCode, 0);
  EXPECT_EQ(folder.Read("out.ini"), folder.Read("plain.txt"));
  // The input itself can be the output.
  ASSERT_EQ(Run({"config", "encrypt", folder.File("out.ini"), folder.File("out.ini")}).exitCode, 0);
  ASSERT_EQ(Run({"config", "decrypt", folder.File("out.ini"), folder.File("out.ini")}).exitCode, 0);
  EXPECT_EQ(folder.Read("out.ini"), folder.Read("plain.txt"));
}

TEST_F(ConfigCliTest, RefusesEveryWrongCommandLine) {
  const std::string plain = folder.File("plain.txt");
  folder.Write("plain.txt", std::string("[a]\nb=c\n"));
  const std::vector<std::vector<std::string>> cases = {
      {"config"},
      {"config", "seal", plain, plain},
      {"config", "encrypt", plain},
      {"config", "decrypt"},
      {"config", "encrypt", plain, folder.File("out"), "--password"},
      {"config", "keys"},
      {"config", "keys", "a", "b"},
      {"config", "keys", "a", "--config", ""},
      {"config", "keys", "a", "--home", ""},
      {"config", "value", "a"},
      {"config", "value", "a", "b", "c"},
      {"config", "encrypt", plain, folder.File("out"), "--config", plain},
  };
  for (const std::vector<std::string>& args : cases) {
    SCOPED_TRACE(testing::PrintToString(args));
    CliRun run = Run(args);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.output, "");
    EXPECT_EQ(run.errors.rfind("pellory-cli: ", 0), 0u) << run.errors;
  }
  EXPECT_FALSE(folder.Has("out"));
}

TEST_F(ConfigCliTest, GivesHelpForEachCommand) {
  for (const char* command : {"encrypt", "decrypt", "keys", "value"}) {
    SCOPED_TRACE(command);
    CliRun run = Run({"config", command, "--help"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.output.find("pellory-cli config " + std::string(command)), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("--password"), std::string::npos);
  }
}
}  // namespace
