// pellory-cli download and update-list as a person runs them: the real
// program, its real engine against servers on the loopback address, the
// real ferrule beside it and real 7-Zip.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/posix/native_text.h"
#include "platform/posix/process_spawn.h"
#include "platform/utf8_text.h"
#include "tests/downloader/browse_page.h"
#include "tests/downloader/loopback_servers.h"
#include "tests/test_folder.h"
#include "tools/chunk_compressor.h"
#include "tools/spk_writer.h"

namespace {
using Names = std::vector<std::string>;

std::string T(std::u8string_view text) { return TextFromUtf8Source(text); }
std::string U(std::u8string_view text) { return std::string(text.begin(), text.end()); }

const std::string kKorea = T(u8"韩国"), kBroken = T(u8"断线"), kFailing = T(u8"出错");
const std::string kArchiveDone = U(u8"外服文件下载完毕!\n"), kArchiveFailed = U(u8"外服文件下载失败!\n");
const std::string kListDone = U(u8"LST文件更新完毕!\n"), kListFailed = U(u8"LST文件更新失败!\n");

std::string Text(const std::vector<std::uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

// An SPK file whose one chunk 7-Zip must inflate.
std::string SpkOf(const std::string& content, const std::string& scratch, bool badDigest = false) {
  SpkImage image;
  if (badDigest) image.digest = Bytes(32, 0);
  image.content.assign(content.begin(), content.end());
  image.chunks.push_back({kCompressedChunk, Compress(Codec::Xz, image.content, scratch)});
  return Text(EncodeSpk(image));
}

struct CliRun {
  int exitCode;
  std::string output, errors;  // as the terminal gets them: UTF-8
};

class DownloadCli : public ::testing::Test {
 protected:
  void SetUp() override {
    servers = TestServers();
    ASSERT_TRUE(servers);
    CreateFolder(JoinPath(servers->root, "kr"));
    CreateFolder(JoinPath(servers->root, "kr/ImagePacks2"));
    // Korea from nginx; the broken region's answers all break off halfway,
    // the failing region's are server errors.
    const std::string config =
        "[lst_name]\r\n" + kKorea + "=kr\r\n" + kBroken + "=cut\r\n" + kFailing + "=err\r\n" +
        "[kr]\r\nfile=" + servers->NginxUrl("/files/kr/") + "\r\nlst=" + servers->NginxUrl("/files/kr.lst") +
        "\r\n[cut]\r\nfile=" + servers->FaultyUrl("/break-at-half/") +
        "\r\n[err]\r\nfile=" + servers->FaultyUrl("/status/500/") + "\r\nlst=" + servers->FaultyUrl("/status/500/") +
        "\r\n";
    home.Write("File_Cfg.ini", SealedConfig(config));
  }

  CliRun Cli(const std::vector<std::string>& arguments) {
    std::vector<std::string> command = {PELLORY_CLI};
    for (const std::string& argument : arguments) command.push_back(Utf8FromText(argument));
    command.push_back("--home");
    command.push_back(home.Path());
    ProcessSetup setup;
    setup.outputFile = scratch.File("out");
    setup.errorFile = scratch.File("err");
    const int exitCode = SpawnAndWait(command, setup);
    return {exitCode, Text(ReadWholeFile(setup.outputFile)), Text(ReadWholeFile(setup.errorFile))};
  }

  std::string RegionFolder(const std::string& region) const {
    return JoinPath(JoinPath(home.Path(), "Download"), region);
  }
  Names FilesIn(const std::string& folder) const {
    Names names = ListFileNames(folder);
    std::sort(names.begin(), names.end());
    return names;
  }

  const LoopbackServers* servers = nullptr;
  TestFolder home, scratch;
};

TEST_F(DownloadCli, DownloadsAndUnpacksAnArchive) {
  const std::string content(300000, 'k');
  servers->Serve("kr/ImagePacks2/cli_ok.NPK.spk", SpkOf(content, scratch.Path()));
  const CliRun run = Cli({"download", kKorea, "--folder", "ImagePacks2", "cli_ok.NPK", "--connections", "3"});
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_EQ(run.output, kArchiveDone);
  EXPECT_EQ(FilesIn(RegionFolder(kKorea)), Names{"cli_ok.NPK"});
  EXPECT_EQ(Text(ReadWholeFile(JoinPath(RegionFolder(kKorea), "cli_ok.NPK"))), content);
}

TEST_F(DownloadCli, AFailedDownloadLeavesNoFileThatLooksDownloaded) {
  servers->Serve("cli_cut.NPK.spk", SpkOf(std::string(200000, 'c'), scratch.Path()));
  servers->Serve("kr/ImagePacks2/cli_bad.NPK.spk", SpkOf("bad", scratch.Path(), true));
  // The reason on standard error; the download itself worked when
  // Ferrule refused the file, and then Ferrule tells.
  const struct {
    const char* what;
    std::string region, name;
    Names left;
    std::string reason;
  } cases[] = {
      {"404", kKorea, "cli_missing.NPK", {}, "the server answered 404"},
      {"500", kFailing, "cli_error.NPK", {}, "the server answered 500"},
      {"digest mismatch: ferrule keeps what it refused", kKorea, "cli_bad.NPK", {"cli_bad.NPK.spk"}, ""},
      {"cut", kBroken, "cli_cut.NPK", {"cli_cut.NPK.spk.part", "cli_cut.NPK.spk.part.meta"},
       "the connection broke off ("},
  };
  for (const auto& c : cases) {
    const CliRun run = Cli({"download", c.region, "--folder", "ImagePacks2", c.name});
    EXPECT_EQ(run.exitCode, 1) << c.what;
    EXPECT_EQ(run.output, kArchiveFailed) << c.what;
    EXPECT_EQ(FilesIn(RegionFolder(c.region)), c.left) << c.what;
    const bool told = run.errors.find("pellory-cli: could not download http://") != std::string::npos;
    EXPECT_EQ(told, !c.reason.empty()) << c.what << ": " << run.errors;
    EXPECT_NE(run.errors.find(c.reason), std::string::npos) << c.what << ": " << run.errors;
  }
}

TEST_F(DownloadCli, ARefusedNameFailsAloneAndWritesNothingOutside) {
  servers->Serve("kr/ImagePacks2/cli_next.NPK.spk", SpkOf("next", scratch.Path()));
  const CliRun run = Cli({"download", kKorea, "--folder", "ImagePacks2", "../../cli_out", "C:cli_out", "..",
                       "cli_next.NPK"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.output, kArchiveFailed + kArchiveFailed + kArchiveFailed + kArchiveDone);
  EXPECT_NE(run.errors.find("../../cli_out"), std::string::npos) << run.errors;
  EXPECT_NE(run.errors.find("C:cli_out"), std::string::npos) << run.errors;
  EXPECT_EQ(FilesIn(RegionFolder(kKorea)), Names{"cli_next.NPK"});
  EXPECT_EQ(FilesIn(home.Path()), Names{"File_Cfg.ini"});
  EXPECT_EQ(FilesIn(JoinPath(home.Path(), "Download")), Names{});
}

TEST_F(DownloadCli, UpdateListReplacesTheListOnlyWhenANewOneCame) {
  CreateFolder(home.File("lst_file"));
  home.Write("lst_file/kr.lst", std::string("old kr"));
  home.Write("lst_file/err.lst", std::string("old err"));
  servers->Serve("kr.lst", "new kr");

  CliRun run = Cli({"update-list", kKorea});
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_EQ(run.output, kListDone);
  EXPECT_EQ(Text(home.Read("lst_file/kr.lst")), "new kr");

  run = Cli({"update-list", kFailing});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.output, kListFailed);
  EXPECT_EQ(Text(home.Read("lst_file/err.lst")), "old err");
  EXPECT_EQ(FilesIn(home.File("lst_file")), (Names{"err.lst", "kr.lst"}));
}

TEST_F(DownloadCli, UpdateListWithoutAListFolderFails) {
  servers->Serve("kr.lst", "new kr");
  const CliRun run = Cli({"update-list", kKorea});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.output, kListFailed);
  EXPECT_FALSE(FolderExists(home.File("lst_file")));
}

TEST_F(DownloadCli, UpdateListOfARegionTheConfigurationDoesNotKnowSaysSo) {
  CreateFolder(home.File("lst_file"));
  const CliRun run = Cli({"update-list", T(u8"火星")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.output, kListFailed);
  EXPECT_EQ(run.errors, U(u8"pellory-cli: 配置中没有此区域的LST文件名: 火星\n"));
  EXPECT_TRUE(ListFileNames(home.File("lst_file")).empty());
}
}  // namespace
