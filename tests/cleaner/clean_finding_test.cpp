// What the cleaning of one finding may touch, whatever the row or the
// command line says.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <type_traits>

#include "cleaner/cleaning.h"
#include "platform/file_system.h"
#include "platform/files.h"
#include "tests/faulty_file_system.h"
#include "tests/test_folder.h"

namespace {
namespace fs = std::filesystem;

std::string Text(const std::vector<std::uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

// A game folder with one finding, a backup folder, and a file beside them
// that no cleaning may touch.
struct Folders {
  Folders() {
    EXPECT_TRUE(CreateFolder(game.File("ImagePacks2")));
    EXPECT_TRUE(CreateFolder(game.File("backup")));
    game.Write("outside.NPK", std::string("keep me"));
    WriteWholeFile(JoinPath(scanned, "p.NPK"), "patch", 5);
  }
  TestFolder game;
  std::string scanned = game.File("ImagePacks2");
  std::string backup = game.File("backup");
};

TEST(CleanFinding, TouchesOnlyPlainFileNamesOfTheFolder) {
  Folders folders;
  const std::string sep(1, PathSeparator());
  const std::string names[] = {
      "",
      ".",
      "..",
      ".." + sep + "outside.NPK",
      "../outside.NPK",
      ".." + sep + ".." + sep + "outside" + sep + "x",
      "C:outside.NPK",
      "p.NPK:stream",
      std::string("p.NPK\0.txt", 10),
      folders.game.File("outside.NPK"),
  };
  for (const std::string& name : names) {
    for (const std::string& backup : {std::string(), folders.backup}) {
      SCOPED_TRACE("name '" + name + "', backup '" + backup + "'");
      const CleanOutcome outcome = CleanFinding(folders.scanned, name, backup);
      EXPECT_FALSE(outcome.cleaned);
      EXPECT_EQ(outcome.reason, "not a plain file name");
    }
  }
  EXPECT_EQ(Text(folders.game.Read("outside.NPK")), "keep me");
  EXPECT_EQ(Text(ReadWholeFile(JoinPath(folders.scanned, "p.NPK"))), "patch");
  EXPECT_TRUE(ListFileNames(folders.backup).empty());
}

TEST(CleanFinding, ABackupFolderMustBeGivenExistAndDifferFromTheScannedFolder) {
  Folders folders;
  const std::string sep(1, PathSeparator());
  struct Case {
    std::string backup;
    BackupFolderCheck check;
  };
  const Case cases[] = {
      {"", BackupFolderCheck::NotGiven},
      {folders.game.File("nowhere"), BackupFolderCheck::Missing},
      {JoinPath(folders.scanned, "p.NPK"), BackupFolderCheck::Missing},  // a file is no folder
      {folders.scanned, BackupFolderCheck::IsScannedFolder},
      {folders.scanned + sep, BackupFolderCheck::IsScannedFolder},
      {JoinPath(folders.scanned, "."), BackupFolderCheck::IsScannedFolder},
      {JoinPath(JoinPath(folders.backup, ".."), "ImagePacks2"), BackupFolderCheck::IsScannedFolder},
      {folders.backup, BackupFolderCheck::Usable},
      {folders.game.Path(), BackupFolderCheck::Usable},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.backup);
    EXPECT_EQ(CheckBackupFolder(c.backup, folders.scanned), c.check);
    if (c.check == BackupFolderCheck::Usable || c.check == BackupFolderCheck::NotGiven) continue;
    const CleanOutcome outcome = CleanFinding(folders.scanned, "p.NPK", c.backup);
    EXPECT_FALSE(outcome.cleaned);
    EXPECT_FALSE(outcome.reason.empty());
  }
  EXPECT_EQ(Text(ReadWholeFile(JoinPath(folders.scanned, "p.NPK"))), "patch");
}

TEST(CleanFinding, ABackupFolderReachedThroughALinkIsTheScannedFolder) {
  Folders folders;
  std::error_code error;
  fs::create_directory_symlink(folders.scanned, folders.game.File("link"), error);
  if (error) GTEST_SKIP() << "no links here: " << error.message();
  EXPECT_EQ(CheckBackupFolder(folders.game.File("link"), folders.scanned), BackupFolderCheck::IsScannedFolder);
  EXPECT_FALSE(CleanFinding(folders.scanned, "p.NPK", folders.game.File("link")).cleaned);
  EXPECT_EQ(Text(ReadWholeFile(JoinPath(folders.scanned, "p.NPK"))), "patch");
}

TEST(CleanFinding, NeverRemovesASourceThatIsItsOwnDestination) {
  Folders folders;
  std::error_code error;
  fs::create_hard_link(JoinPath(folders.scanned, "p.NPK"), JoinPath(folders.backup, "p.NPK"), error);
  if (error) GTEST_SKIP() << "no hard links here: " << error.message();
  const CleanOutcome outcome = CleanFinding(folders.scanned, "p.NPK", folders.backup);
  EXPECT_FALSE(outcome.cleaned);
  EXPECT_EQ(outcome.reason, "the backup folder holds this very file already");
  EXPECT_EQ(Text(ReadWholeFile(JoinPath(folders.scanned, "p.NPK"))), "patch");
}

TEST(CleanFinding, SaysWhyAFileStays) {
  struct Case {
    const char* what;
    FileError removal, rename;
    bool backingUp;
    std::string reason;
  };
  const Case cases[] = {
      {"delete in use", FileError::InUse, FileError::None, false, "in use by another program"},
      {"delete denied", FileError::AccessDenied, FileError::None, false, "access denied"},
      {"move in use", FileError::InUse, FileError::InUse, true, "in use by another program"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Folders folders;
    const std::string source = JoinPath(folders.scanned, "p.NPK");
    FaultyFileSystem faults;
    faults.RefuseRemove(source, c.removal);
    if (c.rename != FileError::None) faults.RefuseRename(source, c.rename);
    ScopedFileSystem use(faults);
    const CleanOutcome outcome = CleanFinding(folders.scanned, "p.NPK", c.backingUp ? folders.backup : "");
    EXPECT_FALSE(outcome.cleaned);
    EXPECT_EQ(outcome.reason, c.reason);
    EXPECT_EQ(Text(ReadWholeFile(source)), "patch");
  }
}

// A file whose name cannot be written in the program's text (on Linux one
// that is not UTF-8, as old archives unpack GBK names; on Windows one
// outside the code page) is either cleaned under its very own name or left
// alone and said so: never is another file taken for it, and never is it
// called cleaned while it is still there.
TEST(CleanFinding, CleanedMeansThatVeryFileIsGone) {
  Folders folders;
  RemoveFile(JoinPath(folders.scanned, "p.NPK"));
  const fs::path scanned(folders.scanned);  // temporary folders have plain ASCII paths
  std::vector<fs::path> strangers = {scanned / fs::path(u8"\u0150\u2603.NPK")};
  if constexpr (std::is_same_v<fs::path::value_type, char>)
    strangers.push_back(scanned / std::string("\xC4\xE3.NPK"));  // GBK bytes of 你, not UTF-8
  strangers.push_back(scanned / fs::path(u8"\u4f60.NPK"));  // 你 in UTF-8, what the GBK bytes read as
  for (const fs::path& path : strangers) std::ofstream(path) << "some patch";

  int cleaned = 0;
  for (const std::string& name : ListFileNames(folders.scanned)) {
    const CleanOutcome outcome = CleanFinding(folders.scanned, name, "");
    if (outcome.cleaned) ++cleaned;
    else EXPECT_FALSE(outcome.reason.empty());
  }
  int gone = 0;
  for (const fs::path& path : strangers) gone += fs::exists(fs::symlink_status(path)) ? 0 : 1;
  EXPECT_EQ(cleaned, gone);
  EXPECT_EQ(ListFileNames(folders.scanned).size(), strangers.size() - gone);
}

TEST(CleanFinding, ALinkIsCleanedAsItselfAndWhatItPointsToIsNeverTouched) {
  Folders folders;
  const std::string outside = folders.game.File("outside.NPK");
  const std::string link = JoinPath(folders.scanned, "link.NPK");
  std::error_code error;
  fs::create_symlink(fs::path(outside), fs::path(link), error);
  if (error) GTEST_SKIP() << "no links here: " << error.message();
  fs::permissions(outside, fs::perms::owner_read, error);
  const fs::perms mode = fs::status(outside).permissions();

  {  // a refused delete does not make what the link points to writable
    FaultyFileSystem faults;
    faults.RefuseRemove(link, FileError::AccessDenied);
    ScopedFileSystem use(faults);
    EXPECT_FALSE(CleanFinding(folders.scanned, "link.NPK", "").cleaned);
  }
  EXPECT_EQ(fs::status(outside).permissions(), mode);
  {  // a link is never copied to another drive: that would copy what it points to
    FaultyFileSystem faults;
    faults.RefuseRename(link);
    ScopedFileSystem use(faults);
    EXPECT_FALSE(CleanFinding(folders.scanned, "link.NPK", folders.backup).cleaned);
    EXPECT_TRUE(ListFileNames(folders.backup).empty());
  }
  EXPECT_TRUE(CleanFinding(folders.scanned, "link.NPK", folders.backup).cleaned);
  EXPECT_TRUE(fs::is_symlink(fs::path(JoinPath(folders.backup, "link.NPK"))));
  ASSERT_TRUE(CleanFinding(folders.backup, "link.NPK", "").cleaned);
  EXPECT_FALSE(fs::exists(fs::symlink_status(fs::path(JoinPath(folders.backup, "link.NPK")))));
  EXPECT_EQ(Text(folders.game.Read("outside.NPK")), "keep me");
  EXPECT_EQ(fs::status(outside).permissions(), mode);
}
}  // namespace
