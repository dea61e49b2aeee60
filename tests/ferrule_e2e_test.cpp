// Runs the real Ferrule program on SPK files with real 7-Zip: `ferrule` of
// this build, or, given --wine-build=DIR, the Windows build's Ferrule.exe
// under Wine with the 7z.exe stand-in beside it.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "tests/wine_build_option.h"
#include "tools/chunk_compressor.h"
#include "unpacker/ferrule_texts.h"
#include "platform/files.h"
#include "platform/posix/native_text.h"
#include "platform/posix/process_spawn.h"
#include "tools/spk_writer.h"
#include "tests/test_folder.h"
#include "platform/utf8_text.h"

namespace {
std::string windowsBuild;  // empty: test the Linux program

bool UnderWine() { return !windowsBuild.empty(); }

Bytes Pattern(std::size_t size, int seed) {
  Bytes bytes(size);
  std::uint32_t x = 2463534242u + seed;
  for (auto& b : bytes) {
    x ^= x << 13, x ^= x >> 17, x ^= x << 5;
    b = static_cast<std::uint8_t>(x % 16 + 'a');  // compressible, yet not trivially
  }
  return bytes;
}

// A run folder holding the program (and, for Windows, its 7z.exe) plus the
// SPK files of one test.
class FerruleRun {
 public:
  explicit FerruleRun(const std::string& sevenZipVariant = "7z.exe") {
    namespace fs = std::filesystem;
    if (UnderWine()) {
      fs::copy_file(windowsBuild + "/bin/Ferrule.exe", folder.File("Ferrule.exe"));
      if (!sevenZipVariant.empty())
        fs::copy_file(windowsBuild + "/seven-zip-double/" + sevenZipVariant, folder.File("7z.exe"));
    } else {
      fs::copy_file(FERRULE_PROGRAM, folder.File("ferrule"), fs::copy_options::none);
    }
    CreateFolder(folder.File("tmp"));
  }

  // The path as the program sees it.
  std::string ProgramPath(const std::string& unixPath) const {
    if (!UnderWine()) return unixPath;
    std::string windows = "Z:" + unixPath;
    std::replace(windows.begin(), windows.end(), '/', '\\');
    return windows;
  }

  struct Result {
    int exitCode;
    std::string output;  // as GB18030 text
    std::string errors;  // standard error, the same way
  };

  // The command that runs the program on `arguments`; `shellPrefix` goes
  // before the Linux program (a shell that sets limits first).
  std::vector<std::string> Command(const std::vector<std::string>& arguments, const std::string& path = "",
                                   const std::vector<std::string>& shellPrefix = {}) const {
    std::vector<std::string> command;
    if (UnderWine()) {
      command = {WINE_RUN, windowsBuild + "/wineprefix", Utf8FromText(folder.File("Ferrule.exe"))};
    } else {
      command = {"/usr/bin/env", "TMPDIR=" + folder.File("tmp"), "PATH=" + (path.empty() ? getenv("PATH") : path),
                 "LC_ALL=C.UTF-8"};
      command.insert(command.end(), shellPrefix.begin(), shellPrefix.end());
      command.push_back(Utf8FromText(folder.File("ferrule")));
    }
    for (const std::string& argument : arguments) command.push_back(Utf8FromText(argument));
    return command;
  }

  ProcessSetup Redirected() const {
    return {"", Utf8FromText(folder.File("stdout.txt")), Utf8FromText(folder.File("stderr.txt"))};
  }

  // What the program wrote, taken out of the run folder.
  Result Collect(int exitCode) const {
    return {exitCode, TakeText("stdout.txt"), TakeText("stderr.txt")};
  }

  Result Run(const std::vector<std::string>& arguments, const std::string& path = "",
             const std::vector<std::string>& shellPrefix = {}) {
    return Collect(SpawnAndWait(Command(arguments, path, shellPrefix), Redirected()));
  }

  std::string TakeText(const std::string& name) const {
    Bytes bytes = folder.Read(name);
    RemoveFile(folder.File(name));
    std::string text(bytes.begin(), bytes.end());
    // Redirected, the Windows program writes GBK bytes; the Linux one UTF-8.
    return UnderWine() ? text : TextFromUtf8(text);
  }

  std::vector<std::string> Names() const {
    std::vector<std::string> names = ListFileNames(folder.Path());
    std::sort(names.begin(), names.end());
    return names;
  }

  TestFolder folder;
};

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

struct ChunkPlan {
  Codec codec;
  std::size_t size;
};

SpkImage BuildImage(const std::vector<ChunkPlan>& plan, const std::string& scratch) {
  SpkImage image;
  int seed = 0;
  for (const ChunkPlan& part : plan) {
    Bytes data = Pattern(part.size, ++seed);
    image.content.insert(image.content.end(), data.begin(), data.end());
    Bytes packed = Compress(part.codec, data, scratch);
    image.chunks.push_back({part.codec == Codec::Stored ? kStoredChunk : kCompressedChunk, packed});
  }
  return image;
}

enum class Outcome { Unpacked, NotRecognised, DigestMismatch };

struct UnpackCase {
  const char* name;
  std::vector<ChunkPlan> plan;
  std::function<void(Bytes&)> damage;
  Outcome outcome;
  const char* reason;  // the line on standard error after the message; empty for none
};

void NoDamage(Bytes&) {}

void PrintTo(const UnpackCase& c, std::ostream* os) { *os << c.name; }

// One test per case, so that the runs (each ends with a 2-second pause) go
// side by side.
const UnpackCase kUnpackCases[] = {
    {"Bzip2", {{Codec::Bzip2, 300000}, {Codec::Bzip2, 1 << 20}, {Codec::Bzip2, 7}}, NoDamage, Outcome::Unpacked, ""},
    {"Gzip", {{Codec::Gzip, 200000}, {Codec::Gzip, 5000}}, NoDamage, Outcome::Unpacked, ""},
    {"Xz", {{Codec::Xz, 100000}, {Codec::Xz, 1}}, NoDamage, Outcome::Unpacked, ""},
    {"StoredAndCompressed", {{Codec::Stored, 4096}, {Codec::Bzip2, 9000}, {Codec::Stored, 0}, {Codec::Xz, 10}},
     NoDamage, Outcome::Unpacked, ""},
    {"NoChunks", {}, NoDamage, Outcome::Unpacked, ""},
    {"StoredKind2", {{Codec::Stored, 1000}}, [](Bytes& b) { b[312 + 4] = 2; }, Outcome::Unpacked, ""},
    {"Truncated", {{Codec::Stored, 5000}, {Codec::Gzip, 5000}}, [](Bytes& b) { b.resize(b.size() - 10); },
     Outcome::DigestMismatch, "ferrule: 7-Zip ended with exit code 2 on chunk 2"},
    {"TamperedContent", {{Codec::Stored, 5000}}, [](Bytes& b) { b.back() ^= 1; }, Outcome::DigestMismatch, ""},
    {"TamperedCompressedChunk", {{Codec::Bzip2, 5000}}, [](Bytes& b) { b[b.size() - 20] ^= 0x55; },
     Outcome::DigestMismatch, "ferrule: 7-Zip ended with exit code 2 on chunk 1"},
    {"NotAnSpkFile", {{Codec::Stored, 10}}, [](Bytes& b) { b[0] = 'P'; }, Outcome::NotRecognised, ""},
};

class FerruleUnpack : public ::testing::TestWithParam<UnpackCase> {};

TEST_P(FerruleUnpack, UnpacksVerifiesAndReports) {
  const UnpackCase& c = GetParam();
  const FerruleTexts& t = Texts();
  const std::string& message = c.outcome == Outcome::Unpacked        ? t.unpacked
                               : c.outcome == Outcome::NotRecognised ? t.notRecognised
                                                                     : t.digestMismatch;
  {
    FerruleRun run;
    SpkImage image = BuildImage(c.plan, run.folder.File("tmp"));
    Bytes spk = EncodeSpk(image);
    c.damage(spk);
    run.folder.Write("sprite.NPK.spk", spk);

    FerruleRun::Result result = run.Run({run.ProgramPath(run.folder.File("sprite.NPK.spk"))});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.output.starts_with(t.banner));
    EXPECT_TRUE(EndsWith(result.output, "\r\n" + message)) << result.output;
    if (*c.reason) {
      EXPECT_TRUE(EndsWith(result.errors, std::string("\r\n") + c.reason)) << result.errors;
    } else {
      EXPECT_EQ(result.errors.find("ferrule:"), std::string::npos) << result.errors;
    }
    const bool unpacked = c.outcome == Outcome::Unpacked;
    EXPECT_EQ(run.folder.Has("sprite.NPK.spk"), !unpacked);
    EXPECT_EQ(run.folder.Has("sprite.NPK"), unpacked);
    if (unpacked) {
      EXPECT_EQ(run.folder.Read("sprite.NPK"), image.content);
    }
    // No side file or temporary file is left anywhere.
    EXPECT_FALSE(run.folder.Has("file.tmp"));
    EXPECT_FALSE(run.folder.Has("[Content]"));
    EXPECT_TRUE(std::filesystem::is_empty(run.folder.File("tmp")));
    for (const std::string& name : run.Names()) EXPECT_FALSE(EndsWith(name, ".part")) << name;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, FerruleUnpack, ::testing::ValuesIn(kUnpackCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FerruleEndToEnd, AWrongCommandLineGetsTheUsageMessage) {
  FerruleRun run;
  run.folder.Write("a.NPK.spk", Bytes{1, 2, 3});
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{}, {"one.spk", "two.spk"}}) {
    FerruleRun::Result result = run.Run(args);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(EndsWith(result.output, "\r\n" + Texts().usage)) << result.output;
  }
  EXPECT_TRUE(run.folder.Has("a.NPK.spk"));
}

TEST(FerruleEndToEnd, APathWithBlanksAndADoubleByteBackslashCharacter) {
  FerruleRun run;
  // 淺 is 9C 5C in GBK: its second byte must not be taken for a separator.
  const std::string folderName = TextFromUtf8Source(u8"下载 淺");
  CreateFolder(run.folder.File(folderName));
  SpkImage image = BuildImage({{Codec::Bzip2, 20000}}, run.folder.File("tmp"));
  const std::string spk = JoinPath(run.folder.File(folderName), TextFromUtf8Source(u8"淺.NPK.SPK"));
  Bytes bytes = EncodeSpk(image);
  WriteWholeFile(spk, bytes.data(), bytes.size());
  FerruleRun::Result result = run.Run({run.ProgramPath(spk)});
  EXPECT_TRUE(EndsWith(result.output, "\r\n" + Texts().unpacked)) << result.output;
  EXPECT_EQ(ReadWholeFile(JoinPath(run.folder.File(folderName), TextFromUtf8Source(u8"淺.NPK"))), image.content);
  EXPECT_FALSE(FileExists(spk));
}

TEST(FerruleEndToEnd, WithoutTheExpected7ZipNothingIsTouched) {
  std::vector<std::string> variants = {""};  // no 7-Zip at all
  if (UnderWine()) variants = {"", "7z-long.exe", "7z-short.exe"};
  for (const std::string& variant : variants) {
    SCOPED_TRACE(variant);
    FerruleRun run(variant);
    run.folder.Write("a.NPK.spk", std::string("not even an SPK file"));
    const std::string emptyPath = run.folder.File("tmp");  // a PATH with no 7-Zip in it
    FerruleRun::Result result = run.Run({run.ProgramPath(run.folder.File("a.NPK.spk"))}, emptyPath);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(EndsWith(result.output, "\r\n" + Texts().sevenZipBroken)) << result.output;
    EXPECT_TRUE(run.folder.Has("a.NPK.spk"));
    EXPECT_FALSE(run.folder.Has("a.NPK"));
  }
}

TEST(FerruleEndToEnd, A7ZipBesideTheProgramIsPreferred) {
  if (UnderWine()) GTEST_SKIP() << "the Windows program only ever uses the 7z.exe beside it";
  FerruleRun run;
  // A 7z beside the program that notes its use, then hands over to the real one.
  const std::string script = "#!/bin/sh\necho used >> \"" + run.folder.File("beside.log") + "\"\nexec " +
                             FindInPath("7zz") + " \"$@\"\n";
  run.folder.Write("7z", script);
  std::filesystem::permissions(run.folder.File("7z"), std::filesystem::perms::owner_all);
  SpkImage image = BuildImage({{Codec::Gzip, 1000}, {Codec::Gzip, 1000}}, run.folder.File("tmp"));
  run.folder.Write("b.NPK.spk", EncodeSpk(image));
  FerruleRun::Result result = run.Run({run.folder.File("b.NPK.spk")}, run.folder.File("tmp"));
  EXPECT_TRUE(EndsWith(result.output, "\r\n" + Texts().unpacked)) << result.output;
  EXPECT_EQ(run.folder.Read("beside.log").size(), std::string("used\nused\n").size());
}
TEST(FerruleEndToEnd, AFolderNamed7zBesideTheProgramIsNo7Zip) {
  if (UnderWine()) GTEST_SKIP() << "the Windows program only ever uses the 7z.exe beside it";
  FerruleRun run;
  CreateFolder(run.folder.File("7z"));
  run.folder.Write("c.NPK.spk", EncodeSpk(BuildImage({{Codec::Gzip, 1000}}, run.folder.File("tmp"))));
  FerruleRun::Result result = run.Run({run.folder.File("c.NPK.spk")});
  EXPECT_TRUE(EndsWith(result.output, "\r\n" + Texts().unpacked)) << result.output;
}

TEST(FerruleEndToEnd, AReaderThatStopsEarlyDoesNotStopTheUnpack) {
  if (UnderWine()) GTEST_SKIP() << "a Windows console program is not ended by a closed pipe";
  FerruleRun run;
  run.folder.Write("d.NPK.spk", EncodeSpk(BuildImage({{Codec::Bzip2, 3000}}, run.folder.File("tmp"))));
  // The reader takes one byte of the banner and goes; ferrule's status comes out.
  const std::string pipeline = "\"$0\" \"$1\" | head -c 1 >/dev/null; exit ${PIPESTATUS[0]}";
  int exitCode = SpawnAndWait({"/bin/bash", "-c", pipeline, Utf8FromText(run.folder.File("ferrule")),
                               Utf8FromText(run.folder.File("d.NPK.spk"))},
                              "", "");
  EXPECT_EQ(exitCode, 0);
  EXPECT_TRUE(run.folder.Has("d.NPK"));
  EXPECT_FALSE(run.folder.Has("d.NPK.spk"));
}

namespace fs = std::filesystem;

// Every file below `folder`, with its path from there.
std::vector<std::string> FilesBelow(const fs::path& folder) {
  std::vector<std::string> files;
  std::error_code ignored;
  for (auto it = fs::recursive_directory_iterator(folder, ignored); it != fs::recursive_directory_iterator();
       it.increment(ignored))
    if (!it->is_directory()) files.push_back(fs::relative(it->path(), folder).string());
  std::sort(files.begin(), files.end());
  return files;
}

// A real zip archive whose entries would replace the programs, plant the
// skin library beside them, fill sub-folders and climb out of the folder.
Bytes HostileZip(const std::string& scratch) {
  const std::string zipPath = Utf8FromText(JoinPath(scratch, "hostile.zip"));
  const std::string script =
      "import sys, zipfile\n"
      "with zipfile.ZipFile(sys.argv[1], 'w') as z:\n"
      "    for name in ['SkinH_EL.dll', 'Ferrule.exe', 'ferrule', '7z.exe', 'sub/deep/SkinH_EL.dll',\n"
      "                 '../escape.txt', '../../escape.txt', '../../../escape.txt']:\n"
      "        z.writestr(name, 'planted ' + name)\n";
  EXPECT_EQ(SpawnAndWait({FindInPath("python3"), "-c", script, zipPath}, "", ""), 0);
  Bytes zip = ReadWholeFile(TextFromUtf8(zipPath));
  RemoveFile(TextFromUtf8(zipPath));
  return zip;
}

// Wine keeps its own temporary folder in the prefix, whatever TMP says.
std::vector<fs::path> WineTemporaryFolders() {
  std::vector<fs::path> folders;
  std::error_code ignored;
  for (const auto& user : fs::directory_iterator(windowsBuild + "/wineprefix/drive_c/users", ignored))
    folders.push_back(user.path() / "Temp");
  return folders;
}

TEST(FerruleEndToEnd, AnArchiveChunkWritesNothingOutsideTheRunsPrivateFolder) {
  FerruleRun run;
  CreateFolder(run.folder.File("input"));
  SpkImage image;
  image.chunks = {{kStoredChunk, Pattern(100, 1)}, {kCompressedChunk, HostileZip(run.folder.File("tmp"))}};
  image.content = Pattern(100, 1);
  const std::string spk = JoinPath(run.folder.File("input"), "evil.NPK.spk");
  Bytes bytes = EncodeSpk(image);
  WriteWholeFile(spk, bytes.data(), bytes.size());
  // The outcome differs by system (Linux 7-Zip gives the entries' bytes as
  // the content, the Windows build none), so only the SPK and its unpacked
  // file may be there afterwards, beside the programs.
  const auto besideTheRun = [&run] {
    std::vector<std::string> files = FilesBelow(run.folder.Path());
    std::erase_if(files, [](const std::string& file) { return file.starts_with("input/evil.NPK"); });
    return files;
  };
  const std::vector<std::string> before = besideTheRun();
  const Bytes program = run.folder.Read(UnderWine() ? "Ferrule.exe" : "ferrule");

  FerruleRun::Result result = run.Run({run.ProgramPath(spk)});
  EXPECT_EQ(result.exitCode, 0);
  // Nothing beside the programs, beside the input or in a folder above.
  EXPECT_EQ(besideTheRun(), before);
  EXPECT_EQ(ListFileNames(run.folder.File("input")).size(), 1u);
  EXPECT_EQ(run.folder.Read(UnderWine() ? "Ferrule.exe" : "ferrule"), program);
  EXPECT_FALSE(fs::exists(fs::path(run.folder.Path()).parent_path() / "escape.txt"));
  // 7-Zip's folder went with everything it wrote there.
  if (UnderWine()) {
    for (const fs::path& temp : WineTemporaryFolders())
      for (const std::string& file : FilesBelow(temp)) EXPECT_EQ(file.find("SkinH_EL.dll"), std::string::npos) << file;
  } else {
    EXPECT_TRUE(fs::is_empty(run.folder.File("tmp")));
  }
}

TEST(FerruleEndToEnd, AnInputNameOfTheLongestLengthUnpacks) {
  FerruleRun run;
  const std::string name = std::string(247, 'n') + ".NPK";  // with ".spk", the 255 bytes a name can have
  SpkImage image = BuildImage({{Codec::Stored, 3000}, {Codec::Gzip, 3000}}, run.folder.File("tmp"));
  run.folder.Write(name + ".spk", EncodeSpk(image));
  FerruleRun::Result result = run.Run({run.ProgramPath(run.folder.File(name + ".spk"))});
  EXPECT_TRUE(EndsWith(result.output, "\r\n" + Texts().unpacked)) << result.output << result.errors;
  EXPECT_EQ(run.folder.Read(name), image.content);
  EXPECT_FALSE(run.folder.Has(name + ".spk"));
}

TEST(FerruleEndToEnd, AFailedWriteIsNamedOnStandardError) {
  if (UnderWine()) GTEST_SKIP() << "a file size limit is set by the Linux shell";
  FerruleRun run;
  run.folder.Write("big.NPK.spk", EncodeSpk(BuildImage({{Codec::Stored, 1 << 20}}, run.folder.File("tmp"))));
  // Files may grow to 64 KiB only; the write then fails as on a full disk.
  const std::vector<std::string> limited = {"/bin/bash", "-c", "trap '' XFSZ; ulimit -f 64; exec \"$@\"", "bash"};
  FerruleRun::Result result = run.Run({run.folder.File("big.NPK.spk")}, "", limited);
  EXPECT_TRUE(EndsWith(result.output, "\r\n" + Texts().digestMismatch)) << result.output;
  EXPECT_EQ(result.errors, "\r\nferrule: could not write " + run.folder.File("big.NPK.part") + ": disk full");
  EXPECT_FALSE(run.folder.Has("big.NPK.part"));
  EXPECT_TRUE(run.folder.Has("big.NPK.spk"));
}

// 7-Zip that takes its time on the SPK's compressed chunk, and the file
// that tells it has started: on Linux a 7z beside the program that notes
// its process number and sleeps; under Wine the stand-in, which sleeps on a
// chunk that starts with "sleep".
std::string SetUpSlowSevenZip(FerruleRun& run, SpkImage& image) {
  image.chunks = {{kStoredChunk, Pattern(5000, 1)}, {kCompressedChunk, {'s', 'l', 'e', 'e', 'p'}}};
  if (UnderWine()) return "7z-double.sleeping";
  const std::string pidFile = Utf8FromText(run.folder.File("7z.pid"));
  run.folder.Write("7z", "#!/bin/sh\necho $$ > \"" + pidFile + ".new\"\nmv \"" + pidFile + ".new\" \"" + pidFile +
                             "\"\nexec sleep 60\n");
  fs::permissions(run.folder.File("7z"), fs::perms::owner_all);
  return "7z.pid";
}

bool WaitFor(const std::function<bool()>& condition) {
  for (int waited = 0; waited < 20000; waited += 10) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

bool HasPartFile(const FerruleRun& run) {
  for (const std::string& name : run.Names())
    if (EndsWith(name, ".part")) return true;
  return false;
}

// Whether a private folder of a run still holds the slow chunk.
bool SlowChunkLeft(const FerruleRun& run) {
  std::vector<fs::path> temporary = {run.folder.File("tmp")};
  if (UnderWine()) temporary = WineTemporaryFolders();
  for (const fs::path& folder : temporary)
    for (const std::string& file : FilesBelow(folder)) {
      Bytes bytes = ReadWholeFile((folder / file).string());
      if (std::string(bytes.begin(), bytes.end()) == "sleep") return true;
    }
  return false;
}

TEST(FerruleEndToEnd, AnInterruptedRunLeavesNothingBehind) {
  // Wine turns SIGINT into the console's Ctrl+C; it has no console event
  // for the others.
  std::vector<int> signals = {SIGTERM, SIGINT, SIGHUP};
  if (UnderWine()) signals = {SIGINT};
  if (UnderWine() && !getenv("DISPLAY")) GTEST_SKIP() << "without a display the signal would reach xvfb-run";
  for (int signalNumber : signals) {
    SCOPED_TRACE(signalNumber);
    FerruleRun run;
    SpkImage image;
    const std::string startedNote = SetUpSlowSevenZip(run, image);
    run.folder.Write("slow.NPK.spk", EncodeSpk(image));
    pid_t ferrule = StartProcess(run.Command({run.ProgramPath(run.folder.File("slow.NPK.spk"))}), run.Redirected());
    ASSERT_GT(ferrule, 0);
    ASSERT_TRUE(WaitFor([&] { return run.folder.Has(startedNote); }));
    // Mid-run: the temporary output and 7-Zip's folder are there.
    EXPECT_TRUE(HasPartFile(run));
    EXPECT_TRUE(SlowChunkLeft(run));

    const auto sent = std::chrono::steady_clock::now();
    kill(ferrule, signalNumber);
    const int status = WaitForProcess(ferrule);
    EXPECT_LT(std::chrono::steady_clock::now() - sent, std::chrono::seconds(20));  // 7-Zip's sleep was cut short
    EXPECT_FALSE(HasPartFile(run));
    EXPECT_FALSE(SlowChunkLeft(run));
    EXPECT_FALSE(run.folder.Has("slow.NPK"));
    EXPECT_TRUE(run.folder.Has("slow.NPK.spk"));
    if (UnderWine()) continue;
    EXPECT_EQ(status, 128 + signalNumber);  // ended by that signal, as asked
    // 7-Zip was stopped and reaped, not left running.
    const Bytes pidText = run.folder.Read(startedNote);
    const pid_t sevenZip = std::stoi(std::string(pidText.begin(), pidText.end()));
    EXPECT_TRUE(kill(sevenZip, 0) != 0 && errno == ESRCH);
  }
}
}  // namespace

int main(int argc, char** argv) { return RunTestsWithWineBuildOption(argc, argv, windowsBuild); }
