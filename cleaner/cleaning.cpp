#include "cleaner/cleaning.h"

#include "common/gbk_text.h"
#include "platform/files.h"

namespace {
CleanOutcome Refused(std::string reason) { return {false, std::move(reason)}; }

// Whether nothing lies at `path` any more, links included; `reason` says
// why that cannot be told.
bool IsGone(const std::string& path, std::string& reason) {
  if (LinkStatus(path).kind != FileStatus::Kind::Missing) return false;
  if (LastFileError() == FileError::NotFound) return true;
  reason = FileErrorText(LastFileError());
  return false;
}

// A patch file marked read-only is still a patch the user chose to clean.
// Empty when removed, else why not.
std::string RemoveEvenReadOnly(const std::string& path) {
  if (RemoveFile(path)) return {};
  const FileError reason = LastFileError();
  if (ClearReadOnly(path) && RemoveFile(path)) return {};
  return FileErrorText(reason);
}

// Empty when moved, else why not.
std::string MoveToBackup(const std::string& source, const FileStatus& before, const std::string& destination) {
  const FileStatus there = LinkStatus(destination);
  if (there.kind != FileStatus::Kind::Missing && there.identity == before.identity && there.identity != FileIdentity{})
    return "the backup folder holds this very file already";
  if (MoveReplacing(source, destination)) return {};
  if (before.kind == FileStatus::Kind::Link) return FileErrorText(LastFileError());  // never copy what it points to
  if (!CopyFileReplacing(source, destination)) return FileErrorText(LastFileError());
  return RemoveEvenReadOnly(source);
}

std::string BackupFolderProblem(BackupFolderCheck check) {
  switch (check) {
    case BackupFolderCheck::Usable: return {};
    case BackupFolderCheck::NotGiven: return "no backup folder given";
    case BackupFolderCheck::Missing: return "no such backup folder";
    case BackupFolderCheck::IsScannedFolder: return "the backup folder is the scanned folder";
  }
  return {};
}
}  // namespace

BackupFolderCheck CheckBackupFolder(const std::string& backupFolder, const std::string& scannedFolder) {
  if (backupFolder.empty()) return BackupFolderCheck::NotGiven;
  if (!FolderExists(backupFolder)) return BackupFolderCheck::Missing;
  if (SameFolder(backupFolder, scannedFolder)) return BackupFolderCheck::IsScannedFolder;
  return BackupFolderCheck::Usable;
}

CleanOutcome CleanFinding(const std::string& folder, const std::string& name, const std::string& backupFolder) {
  if (!IsPlainFileName(name)) return Refused("not a plain file name");
  if (!NameSurvivesConversion(name)) return Refused("a name this system cannot write back unchanged");
  if (!backupFolder.empty()) {
    if (std::string problem = BackupFolderProblem(CheckBackupFolder(backupFolder, folder)); !problem.empty())
      return Refused(problem);
  }
  const std::string source = JoinPath(folder, name);
  const FileStatus before = LinkStatus(source);
  std::string reason;
  if (before.kind == FileStatus::Kind::Missing) return IsGone(source, reason) ? CleanOutcome{true, {}} : Refused(reason);
  if (before.kind == FileStatus::Kind::Folder) return Refused("a folder, not a file");
  reason = backupFolder.empty() ? RemoveEvenReadOnly(source) : MoveToBackup(source, before, JoinPath(backupFolder, name));
  if (IsGone(source, reason)) return {true, {}};
  return Refused(reason.empty() ? "the file is still there" : reason);
}

bool IsPlainFileName(const std::string& name) {
  // '/' separates folders everywhere, the system's own separator too; a ':'
  // names a drive or a stream of another file on Windows; a NUL would end
  // the name early at the system call.
  if (name.empty() || name == "." || name == ".." || name.find('\0') != std::string::npos) return false;
  for (char forbidden : {'/', PathSeparator(), ':'})
    if (gbk::FindChar(name, forbidden) != gbk::npos) return false;
  return true;
}
