#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "downloader/config_container.h"
#include "downloader/config_file.h"
#include "downloader/config_password.h"
#include "platform/files.h"
#include "platform/program.h"
#include "tests/downloader/config_bytes.h"
#include "tests/test_folder.h"

namespace {
using Keys = std::vector<std::string>;

const std::string kKorea = "\xBA\xAB\xB9\xFA", kJapan = "\xC8\xD5\xB1\xBE", kTaiwan = "\xCC\xA8\xCD\xE5";
const std::string kText = "[lst_name]\r\n" + kKorea + "=kr\r\n[kr]\r\nfile=http://127.0.0.1:8631/kr/\r\n";

// Sealed quickly: the fewest iterations the reader takes.
std::vector<std::uint8_t> Sealed(const std::string& text) {
  ConfigSealing sealing{std::vector<std::uint8_t>(kConfigMinSaltSize), {}, kConfigMinIterations};
  EXPECT_TRUE(FillRandom(sealing.salt) && FillRandom(sealing.nonce));
  return SealConfigContainer(text, kConfigPassword, sealing).value_or(std::vector<std::uint8_t>{});
}

TEST(ConfigFile, TheShippedFileOpensToTheExampleText) {
  std::vector<std::uint8_t> shipped = ReadWholeFile(DNF_SEALED_CONFIG);
  std::vector<std::uint8_t> example = ReadWholeFile(DNF_PLAIN_CONFIG);
  ASSERT_FALSE(example.empty());
  EXPECT_EQ(OpenConfigContainer(shipped, kConfigPassword), TextOf(example));

  TestFolder folder;
  folder.Write("File_Cfg.ini", shipped);
  std::string path = folder.File("File_Cfg.ini");
  Keys regions;
  EXPECT_TRUE(ListConfigKeys(path, kConfigPassword, "lst_name", regions));
  EXPECT_EQ(regions, (Keys{kKorea, kJapan, kTaiwan}));
  EXPECT_EQ(ReadConfigValue(path, kConfigPassword, "lst_name", kJapan), "jp");
  EXPECT_EQ(ReadConfigValue(path, kConfigPassword, "jp", "file"), "http://127.0.0.1:8631/jp/");
  EXPECT_EQ(ReadConfigValue(path, kConfigPassword, "jp", "lst"), "http://127.0.0.1:8631/jp/jp.lst");
  EXPECT_EQ(path, folder.File("File_Cfg.ini"));  // a path with a folder stays as it is
}

TEST(ConfigFile, AFileThatCannotBeOpenedReadsAsNoFile) {
  TestFolder folder;
  folder.Write("sealed.ini", Sealed(kText));
  folder.Write("plain.ini", kText);
  CreateFolder(folder.File("folder.ini"));
  struct Case {
    const char* what;
    std::string name, password;
  };
  const Case cases[] = {
      {"missing file", "missing.ini", kConfigPassword},
      {"a folder", "folder.ini", kConfigPassword},
      {"wrong password", "sealed.ini", "Tavu80392751"},
      {"plain file read with the password", "plain.ini", kConfigPassword},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string path = folder.File(c.name);
    Keys keys{"kept"};
    EXPECT_FALSE(ListConfigKeys(path, c.password, "lst_name", keys));
    EXPECT_EQ(keys, Keys{"kept"});
    EXPECT_EQ(ReadConfigValue(path, c.password, "lst_name", kKorea, "fallback"), "");
  }
}

TEST(ConfigFile, MissingSectionsAndKeysGiveNoKeysOrTheFallback) {
  TestFolder folder;
  folder.Write("sealed.ini", Sealed(kText));
  folder.Write("plain.ini", kText);
  for (auto [name, password] : {std::pair{"sealed.ini", kConfigPassword}, std::pair{"plain.ini", ""}}) {
    SCOPED_TRACE(name);
    std::string path = folder.File(name);
    Keys keys{"kept"};
    EXPECT_TRUE(ListConfigKeys(path, password, "lst_name", keys));
    EXPECT_EQ(keys, (Keys{"kept", kKorea}));
    EXPECT_TRUE(ListConfigKeys(path, password, "jp", keys));
    EXPECT_EQ(keys, (Keys{"kept", kKorea}));
    EXPECT_EQ(ReadConfigValue(path, password, "kr", "file", "fallback"), "http://127.0.0.1:8631/kr/");
    EXPECT_EQ(ReadConfigValue(path, password, "kr", "lst", "fallback"), "fallback");
    EXPECT_EQ(ReadConfigValue(path, password, "jp", "file"), "");
  }
}

// A name without any folder is read from the system's folder for bare
// names; the caller's variable then holds the whole path. The second name
// holds a GBK character whose second byte is 0x5C, which is no separator.
TEST(ConfigFile, ABareNameIsReadFromTheSystemFolder) {
  const std::string stamp = std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
  for (const std::string& name : {"config-test-" + stamp + ".ini", "\x9C\x5C-config-test-" + stamp + ".ini"}) {
    const std::string where = JoinPath(SystemDirectoryForBarePaths(), name);
    ASSERT_TRUE(WriteWholeFile(where, kText.data(), kText.size())) << where;
    std::string path = name;
    EXPECT_EQ(ReadConfigValue(path, "", "lst_name", kKorea), "kr");
    EXPECT_EQ(path, where);
    path = name;
    Keys keys;
    EXPECT_TRUE(ListConfigKeys(path, "", "lst_name", keys));
    EXPECT_EQ(path, where);
    EXPECT_TRUE(RemoveFile(where));
  }
}

// The window's thread and the download engine's thread read the file at
// the same time.
TEST(ConfigFile, ReadsFromTwoThreadsAtOnce) {
  TestFolder folder;
  folder.Write("File_Cfg.ini", Sealed(kText));
  std::atomic<int> wrong{0};
  auto reader = [&] {
    for (int i = 0; i < 20; ++i) {
      std::string path = folder.File("File_Cfg.ini");
      if (ReadConfigValue(path, kConfigPassword, "kr", "file") != "http://127.0.0.1:8631/kr/") ++wrong;
    }
  };
  std::thread window(reader), engine(reader);
  window.join();
  engine.join();
  EXPECT_EQ(wrong, 0);
}
}  // namespace
