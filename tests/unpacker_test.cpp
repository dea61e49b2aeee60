#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "unpacker/command_line.h"
#include "unpacker/container_unpacker.h"
#include "common/digest.h"
#include "unpacker/ferrule_program.h"
#include "unpacker/ferrule_texts.h"
#include "platform/files.h"
#include "unpacker/output_place.h"
#include "unpacker/visible_text.h"
#include "tests/faulty_file_system.h"
#include "tests/recording_console.h"
#include "tools/spk_writer.h"
#include "tests/test_folder.h"
#include "platform/utf8_text.h"

namespace {
using Args = std::vector<std::string>;

TEST(SplitCommandLine, FollowsTheQuoteBlankAndDoubleByteRules) {
  struct Case {
    std::string line;
    Args expected;
  };
  const Case cases[] = {
      {"Ferrule.exe", {}},
      {"\"C:\\my tools\\Ferrule.exe\"", {}},
      {"Ferrule.exe a.spk", {"a.spk"}},
      {"\"C:\\t\\Ferrule.exe\"  \"D:\\my dir\\a b.spk\"", {"D:\\my dir\\a b.spk"}},
      {"Ferrule.exe D:\\my dir\\a.spk", {"D:\\my", "dir\\a.spk"}},
      {"Ferrule.exe\ta\x01" "b\r\nc", {"a", "b", "c"}},
      {"Ferrule.exe \"unterminated path", {"unterminated path"}},
      {"Ferrule.exe \"\"", {""}},
      // 淺 (9C 5C) and a lead byte before a blank: the pair is never split.
      {"Ferrule.exe D:\\\x9C\x5C\\x.spk", {"D:\\\x9C\x5C\\x.spk"}},
      {"Ferrule.exe a\x81 b", {"a\x81 b"}},
      {"Ferrule.exe \"\x81\"x\"", {"\x81\"x"}},
      {"  ", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(SplitCommandLine(c.line), c.expected);
  }
}

TEST(PartFileStem, CutsLongNamesBetweenCharacters) {
  const std::string a60(60, 'a');
  struct Case {
    std::string name, stem;
  };
  const Case cases[] = {
      {"x.NPK", "x.NPK"},
      {std::string(64, 'n'), std::string(64, 'n')},
      {std::string(251, 'n'), std::string(64, 'n')},
      {a60 + "abc\x9C\x5C", a60 + "abc"},                       // 淺 would end past byte 64
      {a60 + "ab\x9C\x5C", a60 + "ab\x9C\x5C"},
      {a60 + "a\x94\x39\xFC\x36", a60 + "a"},                  // a four-byte character is never halved
      {a60 + "\x94\x39\xFC\x36" + "tail", a60 + "\x94\x39\xFC\x36"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(PartFileStem(c.name), c.stem);
  }
}

TEST(VisibleText, ShowsTerminalCommandsAsHexAndKeepsCharacters) {
  struct Case {
    std::string text, shown;
  };
  const Case cases[] = {
      {"ImagePacks2\\sprite.NPK", "ImagePacks2\\sprite.NPK"},
      {"\x1B]0;owned\x07", "\\x1B]0;owned\\x07"},          // retitles the window
      {"\x1B[2J\x1B[H", "\\x1B[2J\\x1B[H"},                 // clears the screen
      {"a\tb\r\nc\x7F", "a\\x09b\\x0D\\x0Ac\\x7F"},
      {"\xD6\xD0\xCE\xC4\\\x9C\x5C", "\xD6\xD0\xCE\xC4\\\x9C\x5C"},  // 中文\淺 stay whole
      {"\x81\x1B[2J", "\\x81\\x1B[2J"},                     // a lead byte cannot hide a control
      {"a\x81", "a\\x81"},                                    // a lead byte at the end
      {"\x80\xFF", "\\x80\\xFF"},                           // no character starts with these
      {"\x81\x30\x84\x32\x94\x39\xFC\x36", "\x81\x30\x84\x32\x94\x39\xFC\x36"},  // U+00A0 and an emoji
      {"\x81\x30\x81\x30", "\\x810\\x810"},                // U+0080, a C1 control
      {"\x81\x30\x84\x31", "\\x810\\x841"},                // U+009F, the last one
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shown);
    EXPECT_EQ(VisibleText(c.text), c.shown);
  }
}

TEST(DescribeFailure, NamesTheFileAndTheReasonOrThe7ZipEnd) {
  using Cause = UnpackFailure::Cause;
  struct Case {
    UnpackFailure failure;
    std::string text;
  };
  const Case cases[] = {
      {UnpackFailure{}, ""},
      {{Cause::NotCreated, "D:\\x\\a.NPK.part", {}, FileError::AccessDenied, 0, 0},
       "could not create D:\\x\\a.NPK.part: access denied"},
      {{Cause::NotWritten, "D:\\x\\a.NPK.part", {}, FileError::DiskFull, 0, 0}, "could not write D:\\x\\a.NPK.part: disk full"},
      {{Cause::NotMoved, "D:\\x\\a.NPK.part", "D:\\x\\a.NPK", FileError::InUse, 0, 0},
       "could not move D:\\x\\a.NPK.part to D:\\x\\a.NPK: in use by another program"},
      {{Cause::SevenZipNotStarted, {}, {}, FileError::None, 4, 0}, "7-Zip could not be started on chunk 4"},
      {{Cause::SevenZipFailed, {}, {}, FileError::None, 3, 2}, "7-Zip ended with exit code 2 on chunk 3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(DescribeFailure(c.failure), c.text);
  }
}

TEST(DeriveOutputPlace, DropsTheLastFourBytesAndSplitsAtTheRealSeparator) {
  struct Case {
    std::string path;
    std::string directory, name;
  };
  const Case cases[] = {
      {"D:\\tools\\Download\\kr\\sprite_interface.NPK.spk", "D:\\tools\\Download\\kr\\", "sprite_interface.NPK"},
      {"D:\\a\\B.NPK.SPK", "D:\\a\\", "B.NPK"},
      {"D:\\\x9C\x5C\\x.NPK.spk", "D:\\\x9C\x5C\\", "x.NPK"},
      {"D:\\dir\\\x9C\x5C.spk", "D:\\dir\\", "\x9C\x5C"},
      {"x.NPK.spk", "", "x.NPK"},
      {"D:\\dir\\.spk", "D:\\dir\\", ""},
      {"D:\\dir\\", "D:\\dir\\", ""},
      {"abc", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    OutputPlace place = DeriveOutputPlace(c.path, '\\');
    EXPECT_EQ(place.directory, c.directory);
    EXPECT_EQ(place.name, c.name);
  }
}

// 7-Zip's part in these tests: "inflates" by reversing the bytes, and records
// what it was given. The real program runs in the end-to-end tests.
class ReversingInflater final : public ChunkInflater {
 public:
  explicit ReversingInflater(std::string sideFolder) : folder(std::move(sideFolder)) {}
  std::string SideFolder() const override { return folder; }
  InflateStatus Inflate(const std::string& packedFile, const std::string& contentFile) override {
    packedNames.push_back(packedFile);
    contentNames.push_back(contentFile);
    if (!status.Succeeded()) return status;
    Bytes data = ReadWholeFile(packedFile);
    std::reverse(data.begin(), data.end());
    WriteWholeFile(contentFile, data.data(), data.size());
    return status;
  }
  InflateStatus status{true, 0};  // what each run reports; a failed one leaves no content
  Args packedNames, contentNames;
  std::string folder;
};

Bytes Pattern(std::size_t size, int seed) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + seed);
  return bytes;
}

Bytes Reversed(Bytes bytes) {
  std::reverse(bytes.begin(), bytes.end());
  return bytes;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

class ContainerTest : public ::testing::Test {
 protected:
  UnpackResult Unpack(const Bytes& spk) {
    dir.Write("x.NPK.spk", spk);
    return Run();
  }
  UnpackResult Run() {
    ContainerUnpacker unpacker(console, inflater);
    return unpacker.Unpack(dir.File("x.NPK.spk"), "x.NPK", dir.Path() + PathSeparator());
  }
  Bytes Output() const { return dir.Read("x.NPK"); }
  bool SideFilesGone() const { return !FileExists(side.File("file.tmp")) && !FileExists(side.File("[Content]")); }
  std::vector<std::string> LeftoverNames() const {
    std::vector<std::string> names = ListFileNames(dir.Path());
    std::sort(names.begin(), names.end());
    return names;
  }

  TestFolder dir, side;
  RecordingConsole console;
  ReversingInflater inflater{side.Path()};
};

TEST_F(ContainerTest, RebuildsStoredAndCompressedChunksInOrder) {
  const Bytes a = Pattern(1000, 1), b = Pattern(3 << 20, 2), c = Pattern(10, 3), d = Pattern(77, 4);
  SpkImage image;
  // Any kind but 1 is stored: 0, 2 and -1 alike.
  image.chunks = {{0, a}, {kCompressedChunk, Reversed(b)}, {2, c}, {-1, d}, {0, {}}, {kCompressedChunk, {}}};
  image.content = Concat({a, b, c, d});
  ASSERT_EQ(Unpack(EncodeSpk(image)), Unpacked);
  EXPECT_EQ(Output(), image.content);
  // The compressed chunk with no data starts no 7-Zip.
  EXPECT_EQ(inflater.packedNames, Args(1, side.File("file.tmp")));
  EXPECT_EQ(inflater.contentNames, Args(1, side.File("[Content]")));
  EXPECT_TRUE(SideFilesGone());
  EXPECT_EQ(LeftoverNames(), (Args{"x.NPK", "x.NPK.spk"}));  // no temporary file is left
  // The title counts every chunk, the empty ones too.
  ASSERT_EQ(console.titles.size(), 6u);
  EXPECT_EQ(console.titles.back(), Texts().progress + "6/6");
}

TEST_F(ContainerTest, PrintsTheHeaderValues) {
  SpkImage image;
  image.defaultPath = std::string(260, 'p');  // no NUL: the whole field is the path
  image.unpackedSize = -5;                    // printed only; it need not match
  image.chunks = {{0, Pattern(9, 9)}};
  image.content = Pattern(9, 9);
  ASSERT_EQ(Unpack(EncodeSpk(image)), Unpacked);
  const FerruleTexts& t = Texts();
  EXPECT_EQ(console.output, "\r\n" + t.fileToUnpack + "x.NPK" + "\r\n" + t.defaultPath + std::string(260, 'p') +
                                "\r\n" + t.unpackedSize + "-5" + t.bytes + "\r\n" + t.storedDigest +
                                DigestText(image.content, kSha256) + "\r\n" + t.chunkCount + "1" + t.chunkUnit);
}

struct OutcomeCase {
  const char* what;
  std::function<Bytes()> spk;
  UnpackResult expected;
};

Bytes ValidSpk(std::optional<std::int32_t> count = std::nullopt, std::optional<Bytes> digest = std::nullopt) {
  SpkImage image;
  image.chunks = {{0, Pattern(5000, 1)}, {0, Pattern(3000, 2)}};
  image.content = Concat({Pattern(5000, 1), Pattern(3000, 2)});
  image.chunkCount = count;
  image.digest = digest;
  return EncodeSpk(image);
}

Bytes EmptyContentSpk(std::int32_t count, const Bytes& content) {
  SpkImage image;
  image.chunkCount = count;
  image.content = content;
  return EncodeSpk(image);
}

const OutcomeCase kOutcomes[] = {
    {"wrong magic", [] { Bytes b = ValidSpk(); b[1] = 0xB2; return b; }, NotRecognised},
    {"shorter than the magic", [] { return Bytes{0x11, 0xB1, 0x01}; }, NotRecognised},
    {"empty file", [] { return Bytes{}; }, NotRecognised},
    {"zero chunks, digest of no data", [] { return EmptyContentSpk(0, {}); }, Unpacked},
    {"zero chunks, other digest", [] { return EmptyContentSpk(0, {1, 2, 3}); }, DigestMismatch},
    {"negative chunk count", [] { return EmptyContentSpk(-3, {}); }, Unpacked},
    {"digest off in one byte",
     [] { Bytes d = Sha256Of(Concat({Pattern(5000, 1), Pattern(3000, 2)})); d[31] ^= 1; return ValidSpk(std::nullopt, d); },
     DigestMismatch},
    {"cut in the middle of a chunk", [] { Bytes b = ValidSpk(); b.resize(b.size() - 100); return b; }, DigestMismatch},
    {"cut inside the header", [] { Bytes b = ValidSpk(); b.resize(200); return b; }, DigestMismatch},
    {"chunk count far beyond the file", [] { return ValidSpk(0x7FFFFFFF); }, DigestMismatch},
    {"chunk size far beyond the file",
     [] { Bytes b = ValidSpk(); b[312 + 8 + 4] = 0xFF; b[312 + 8 + 5] = 0xFF; b[312 + 8 + 6] = 0xFF; b[312 + 8 + 7] = 0x7F; return b; },
     DigestMismatch},
};

TEST_F(ContainerTest, OutcomesOfDamagedAndOddFiles) {
  for (const OutcomeCase& c : kOutcomes) {
    SCOPED_TRACE(c.what);
    console = RecordingConsole();
    auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(Unpack(c.spk()), c.expected);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));  // no walk through a huge count
    EXPECT_EQ(dir.Has("x.NPK"), c.expected == Unpacked);
    EXPECT_TRUE(dir.Has("x.NPK.spk"));  // the container itself is never touched here
    EXPECT_EQ(LeftoverNames().size(), c.expected == Unpacked ? 2u : 1u);
    if (c.expected == NotRecognised) {
      EXPECT_EQ(console.output, "");
    }
    RemoveFile(dir.File("x.NPK"));
  }
}

TEST_F(ContainerTest, TheTitleReachesTheLastChunkAlsoWhenTheFileEndsFirst) {
  Unpack(ValidSpk(0x7FFFFFFF));
  ASSERT_FALSE(console.titles.empty());
  EXPECT_EQ(console.titles.back(), Texts().progress + "2147483647/2147483647");
}

TEST_F(ContainerTest, MissingInputIsNotRecognised) {
  EXPECT_EQ(Run(), NotRecognised);
  EXPECT_EQ(console.output, "");
}

TEST_F(ContainerTest, AFailedInflationAddsNothing) {
  inflater.status = {true, 2};
  SpkImage image;
  image.chunks = {{kCompressedChunk, Pattern(100, 5)}, {0, Pattern(10, 6)}};
  image.content = Pattern(10, 6);
  ASSERT_EQ(Unpack(EncodeSpk(image)), Unpacked);
  EXPECT_EQ(Output(), Pattern(10, 6));
  EXPECT_TRUE(SideFilesGone());
}

TEST_F(ContainerTest, AStaleContentFileIsNotTakenForTheChunk) {
  inflater.status = {true, 2};
  side.Write("[Content]", Pattern(50, 1));
  SpkImage image;
  image.chunks = {{kCompressedChunk, Pattern(50, 1)}};
  image.content = {};
  EXPECT_EQ(Unpack(EncodeSpk(image)), Unpacked);
  EXPECT_EQ(Output(), Bytes{});
}

TEST_F(ContainerTest, AFileAlreadyAtTheTargetSurvivesAMismatchAndIsReplacedByAGoodUnpack) {
  dir.Write("x.NPK", Pattern(64, 42));
  Bytes wrong = Sha256Of({});
  EXPECT_EQ(Unpack(ValidSpk(std::nullopt, wrong)), DigestMismatch);
  EXPECT_EQ(Output(), Pattern(64, 42));
  EXPECT_EQ(Unpack(ValidSpk()), Unpacked);
  EXPECT_EQ(Output(), Concat({Pattern(5000, 1), Pattern(3000, 2)}));
}

TEST_F(ContainerTest, ALeftoverTemporaryFileIsNeitherReusedNorRemoved) {
  dir.Write("x.NPK.part", std::string("someone else's"));
  EXPECT_EQ(Unpack(ValidSpk()), Unpacked);
  EXPECT_EQ(dir.Read("x.NPK.part"), Bytes({'s', 'o', 'm', 'e', 'o', 'n', 'e', ' ', 'e', 'l', 's', 'e', '\'', 's'}));
  EXPECT_EQ(LeftoverNames(), (Args{"x.NPK", "x.NPK.part", "x.NPK.spk"}));
}

TEST_F(ContainerTest, AnUnwritableOutputFolderIsAMismatchNotASuccess) {
  dir.Write("x.NPK.spk", EmptyContentSpk(0, {}));
  ContainerUnpacker unpacker(console, inflater);
  const std::string missingFolder = dir.File("no-such-folder") + PathSeparator();
  EXPECT_EQ(unpacker.Unpack(dir.File("x.NPK.spk"), "x.NPK", missingFolder), DigestMismatch);
}

TEST_F(ContainerTest, ControlBytesOfTheHeaderAndTheNameAreShownNotSent) {
  SpkImage image;
  image.defaultPath = "ImagePacks2\\\x1B]0;owned\x07\x1B[2J";
  dir.Write("x.NPK.spk", EncodeSpk(image));
  ContainerUnpacker unpacker(console, inflater);
  unpacker.Unpack(dir.File("x.NPK.spk"), "x\x1B[H.NPK", dir.Path() + PathSeparator());
  EXPECT_NE(console.output.find(Texts().defaultPath + "ImagePacks2\\\\x1B]0;owned\\x07\\x1B[2J\r\n"),
            std::string::npos) << console.output;
  EXPECT_NE(console.output.find(Texts().fileToUnpack + "x\\x1B[H.NPK\r\n"), std::string::npos);
  EXPECT_EQ(console.output.find('\x1B'), std::string::npos);
  EXPECT_EQ(console.output.find('\x07'), std::string::npos);
}

TEST_F(ContainerTest, AChunkWithNoDataStartsNo7Zip) {
  const Bytes a = Pattern(300, 1), b = Pattern(200, 2);
  struct Case {
    const char* what;
    std::function<Bytes()> spk;
    UnpackResult expected;
    Bytes content;
  };
  const Case cases[] = {
      {"size 0", [&] { SpkImage i; i.chunks = {{0, a}, {kCompressedChunk, {}}, {0, b}}; i.content = Concat({a, b}); return EncodeSpk(i); },
       Unpacked, Concat({a, b})},
      {"negative size",
       [&] {
         SpkImage i;
         i.chunks = {{0, a}, {kCompressedChunk, {}}, {0, b}};
         i.content = Concat({a, b});
         Bytes spk = EncodeSpk(i);
         const std::size_t sizeField = 312 + 3 * 4 + 48 + a.size() + 4;
         spk[sizeField] = 0xFB, spk[sizeField + 1] = spk[sizeField + 2] = spk[sizeField + 3] = 0xFF;  // -5
         return spk;
       },
       Unpacked, Concat({a, b})},
      {"data past the end of the file",
       [&] {
         SpkImage i;
         i.chunks = {{0, a}, {kCompressedChunk, Reversed(b)}};
         i.content = Concat({a, b});
         Bytes spk = EncodeSpk(i);
         spk.resize(spk.size() - b.size());
         return spk;
       },
       DigestMismatch, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    inflater.packedNames.clear();
    EXPECT_EQ(Unpack(c.spk()), c.expected);
    EXPECT_TRUE(inflater.packedNames.empty());
    EXPECT_EQ(Output(), c.content);
    RemoveFile(dir.File("x.NPK"));
  }
}

TEST_F(ContainerTest, AnInputNameOfTheLongestLengthUnpacks) {
  const std::string name = std::string(247, 'n') + ".NPK";  // with ".spk", 255 bytes: the most a name can have
  dir.Write(name + ".spk", ValidSpk());
  ContainerUnpacker unpacker(console, inflater);
  EXPECT_EQ(unpacker.Unpack(dir.File(name + ".spk"), name, dir.Path() + PathSeparator()), Unpacked);
  EXPECT_EQ(dir.Read(name), Concat({Pattern(5000, 1), Pattern(3000, 2)}));
  EXPECT_EQ(LeftoverNames(), (Args{name, name + ".spk"}));
}

// What went wrong is kept with a mismatch: the first failure on the way,
// with the file and the system's reason or 7-Zip's exit code.
TEST_F(ContainerTest, KeepsTheReasonOfAMismatch) {
  using Cause = UnpackFailure::Cause;
  const Bytes a = Pattern(300, 1), b = Pattern(200, 2);
  const auto storedThenCompressed = [&] {
    SpkImage i;
    i.chunks = {{0, a}, {kCompressedChunk, Reversed(b)}, {kCompressedChunk, Reversed(a)}};
    i.content = Concat({a, b, a});
    return EncodeSpk(i);
  };
  struct Case {
    const char* what;
    std::function<void(FaultyFileSystem&)> arrange;
    std::string outputFolder;  // below `dir`; empty for `dir` itself
    UnpackFailure expected;
  };
  const std::string missing = "missing";
  const Case cases[] = {
      {"output folder missing", [](FaultyFileSystem&) {}, missing,
       {Cause::NotCreated, JoinPath(dir.File(missing), "x.NPK.part"), {}, FileError::NotFound, 0, 0}},
      {"side folder missing", [&](FaultyFileSystem&) { inflater.folder = side.File(missing); }, "",
       {Cause::NotCreated, JoinPath(side.File(missing), "file.tmp"), {}, FileError::NotFound, 0, 0}},
      {"7-Zip fails on the second chunk", [this](FaultyFileSystem&) { inflater.status = {true, 2}; }, "",
       {Cause::SevenZipFailed, {}, {}, FileError::None, 2, 2}},
      {"7-Zip does not start", [this](FaultyFileSystem&) { inflater.status = {false, 0}; }, "",
       {Cause::SevenZipNotStarted, {}, {}, FileError::None, 2, 0}},
      {"a folder stands at the target", [this](FaultyFileSystem&) { CreateFolder(dir.File("x.NPK")); }, "",
       {Cause::NotMoved, dir.File("x.NPK.part"), dir.File("x.NPK"), FileError::Other, 0, 0}},
      {"the disk fills while the content is written",
       [this](FaultyFileSystem& disk) { disk.FillDiskAfter(400, dir.File("x.NPK.part")); }, "",
       {Cause::NotWritten, dir.File("x.NPK.part"), {}, FileError::DiskFull, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    inflater = ReversingInflater(side.Path());
    FaultyFileSystem fileSystem;
    ScopedFileSystem faults(fileSystem);
    c.arrange(fileSystem);
    dir.Write("x.NPK.spk", storedThenCompressed());
    ContainerUnpacker unpacker(console, inflater);
    const std::string folder = c.outputFolder.empty() ? dir.Path() : dir.File(c.outputFolder);
    EXPECT_EQ(unpacker.Unpack(dir.File("x.NPK.spk"), "x.NPK", folder + PathSeparator()), DigestMismatch);
    const UnpackFailure& got = unpacker.Failure();
    EXPECT_EQ(got.cause, c.expected.cause);
    EXPECT_EQ(got.path, c.expected.path);
    EXPECT_EQ(got.target, c.expected.target);
    // The system's reason for a folder in the way differs between systems.
    if (c.expected.fileError != FileError::Other) {
      EXPECT_EQ(got.fileError, c.expected.fileError);
    }
    EXPECT_EQ(got.fileError != FileError::None, !c.expected.path.empty());
    EXPECT_EQ(got.chunk, c.expected.chunk);
    EXPECT_EQ(got.exitCode, c.expected.exitCode);
    EXPECT_FALSE(dir.Has("x.NPK.part"));
    RemoveFolderWithFiles(dir.File("x.NPK"));
  }
}

TEST_F(ContainerTest, AContentMismatchHasNoOtherReason) {
  ContainerUnpacker unpacker(console, inflater);
  dir.Write("x.NPK.spk", ValidSpk(std::nullopt, Sha256Of({})));
  EXPECT_EQ(unpacker.Unpack(dir.File("x.NPK.spk"), "x.NPK", dir.Path() + PathSeparator()), DigestMismatch);
  EXPECT_EQ(unpacker.Failure().cause, UnpackFailure::Cause::None);
}

// The main sequence, with the closing pause recorded instead of waited out.
class FerruleProgramTest : public ::testing::Test {
 protected:
  int Run(const Args& args, bool withSevenZip = true) {
    finderCalls = 0;
    return RunFerrule(args, console, [&]() -> std::unique_ptr<ChunkInflater> {
      ++finderCalls;
      if (!withSevenZip) return nullptr;
      auto inflater = std::make_unique<ReversingInflater>(side.Path());
      inflater->status = sevenZipStatus;
      return inflater;
    });
  }
  std::string Spk() const { return dir.File("a.NPK.spk"); }
  std::string Message(const std::string& text) const { return console.output.substr(console.output.size() - text.size() - 2); }

  TestFolder dir, side;
  RecordingConsole console;
  int finderCalls = 0;
  InflateStatus sevenZipStatus{true, 0};
};

TEST_F(FerruleProgramTest, ShowsTheBannerAndTitleFirst) {
  Run({});
  const std::string rule(60, '=');
  const std::string banner = "Ferrule 1.0 Beta [By.Vell]\r\n\r\n" +
                             TextFromUtf8Source(u8"本程序用于解包[地下城与勇士].Spk后缀名的自动更新文件.") + "\r\n\r\n" +
                             TextFromUtf8Source(u8"但本程序尚处于测试,不能确保100%解包!") + "\r\n" + rule + "\r\n\r\n" +
                             rule + "\r\n";
  EXPECT_EQ(console.output.substr(0, banner.size()), banner);
  ASSERT_FALSE(console.titles.empty());
  EXPECT_EQ(console.titles.front(), "Ferrule 1.0 Beta [By.Vell]");
}

TEST_F(FerruleProgramTest, AWrongCommandLineGetsTheUsageMessageWithoutLookingFor7Zip) {
  for (const Args& args : {Args{}, Args{"a", "b"}, Args{dir.File(".spk")}}) {
    console = RecordingConsole();
    EXPECT_EQ(Run(args), 0);
    EXPECT_EQ(Message(Texts().usage), "\r\n" + Texts().usage);
    EXPECT_EQ(console.pauses, std::vector<int>{2000});
    EXPECT_EQ(finderCalls, 0);
  }
}

TEST_F(FerruleProgramTest, AMissing7ZipEndsAtOnceAndTouchesNoFile) {
  dir.Write("a.NPK.spk", std::string("not an spk at all"));
  EXPECT_EQ(Run({Spk()}, false), 0);
  EXPECT_EQ(Message(Texts().sevenZipBroken), "\r\n" + Texts().sevenZipBroken);
  EXPECT_TRUE(console.pauses.empty());
  EXPECT_TRUE(dir.Has("a.NPK.spk"));
}

TEST_F(FerruleProgramTest, ReportsEachOutcomeAndRemovesTheContainerOnlyAfterSuccess) {
  struct Case {
    Bytes spk;
    const std::string& message;
    bool spkKept, outputMade;
  };
  const Case cases[] = {
      {ValidSpk(), Texts().unpacked, false, true},
      {Bytes{1, 2, 3, 4, 5}, Texts().notRecognised, true, false},
      {ValidSpk(std::nullopt, Sha256Of({})), Texts().digestMismatch, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    console = RecordingConsole();
    dir.Write("a.NPK.spk", c.spk);
    EXPECT_EQ(Run({Spk()}), 0);
    EXPECT_EQ(Message(c.message), "\r\n" + c.message);
    EXPECT_EQ(console.pauses, std::vector<int>{2000});
    EXPECT_EQ(dir.Has("a.NPK.spk"), c.spkKept);
    EXPECT_EQ(dir.Has("a.NPK"), c.outputMade);
    RemoveFile(dir.File("a.NPK"));
  }
}

TEST_F(FerruleProgramTest, APathThatNamesNoFileIsNotRecognised) {
  EXPECT_EQ(Run({dir.File("nothing.NPK.spk")}), 0);
  EXPECT_EQ(Message(Texts().notRecognised), "\r\n" + Texts().notRecognised);
}
TEST_F(FerruleProgramTest, TheReasonOfAMismatchFollowsOnStandardError) {
  SpkImage compressed;
  compressed.chunks = {{kCompressedChunk, Pattern(100, 5)}};
  compressed.content = Pattern(100, 5);
  struct Case {
    const char* what;
    Bytes spk;
    InflateStatus sevenZip;
    const std::string& message;
    std::string errors;
  };
  const Case cases[] = {
      {"7-Zip fails", EncodeSpk(compressed), {true, 2}, Texts().digestMismatch,
       "\r\nferrule: 7-Zip ended with exit code 2 on chunk 1"},
      {"7-Zip does not start", EncodeSpk(compressed), {false, 0}, Texts().digestMismatch,
       "\r\nferrule: 7-Zip could not be started on chunk 1"},
      {"only the content differs", ValidSpk(std::nullopt, Sha256Of({})), {true, 0}, Texts().digestMismatch, ""},
      {"unpacked", ValidSpk(), {true, 0}, Texts().unpacked, ""},
      {"not recognised", Bytes{1, 2, 3, 4, 5}, {true, 0}, Texts().notRecognised, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    console = RecordingConsole();
    sevenZipStatus = c.sevenZip;
    dir.Write("a.NPK.spk", c.spk);
    EXPECT_EQ(Run({Spk()}), 0);
    EXPECT_EQ(Message(c.message), "\r\n" + c.message);  // standard output as ever
    EXPECT_EQ(console.errors, c.errors);
    EXPECT_EQ(console.pauses, std::vector<int>{2000});
    RemoveFile(dir.File("a.NPK"));
  }
}
}  // namespace
