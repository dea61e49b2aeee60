#pragma once
// The cleaning interface that pellory-cli is written against, over the
// older CleanFinding(source, destination) of cleaner/cleaning.h.
#include <string>

#include "cleaner/cleaning.h"
#include "platform/files.h"

enum class BackupFolderCheck { Usable, NotGiven, Missing, IsScannedFolder };

inline BackupFolderCheck CheckBackupFolder(const std::string& backupFolder, const std::string& scannedFolder) {
  auto trimmed = [](std::string path) {
    while (path.size() > 1 && (path.back() == '/' || path.back() == PathSeparator())) path.pop_back();
    return path;
  };
  if (backupFolder.empty()) return BackupFolderCheck::NotGiven;
  if (!FolderExists(backupFolder)) return BackupFolderCheck::Missing;
  if (trimmed(backupFolder) == trimmed(scannedFolder)) return BackupFolderCheck::IsScannedFolder;
  return BackupFolderCheck::Usable;
}

struct CleanOutcome {
  bool cleaned = false;
  std::string reason;
};

inline CleanOutcome CleanFinding(const std::string& folder, const std::string& name, const std::string& backupFolder) {
  SetLastFileError(FileError::None);
  if (CleanFinding(JoinPath(folder, name), backupFolder.empty() ? std::string() : JoinPath(backupFolder, name)))
    return {true, {}};
  const FileError error = LastFileError();
  return {false, FileErrorText(error == FileError::None ? FileError::Other : error)};
}
