#pragma once
// The one routine that decides what the cleaning of a finding may touch,
// for the window and the command line alike.
#include <string>

// What a backup folder given for the findings of `scannedFolder` allows.
enum class BackupFolderCheck { Usable, NotGiven, Missing, IsScannedFolder };
BackupFolderCheck CheckBackupFolder(const std::string& backupFolder, const std::string& scannedFolder);

struct CleanOutcome {
  bool cleaned = false;  // the file is no longer in the scanned folder
  std::string reason;    // why not, in short English for standard error ("access denied", "not a plain file name", ...)
};

// Deletes `name` from `folder`, or moves it into `backupFolder` when that is
// not empty. A move is a rename that replaces a file of the name there;
// where the rename cannot be made (another drive), a copy that replaces
// that file whole, and then the removal of the source. A file already gone
// counts as cleaned. Only a plain file name is touched, never through a
// link: a link is removed or moved as itself. A backup folder that is the
// scanned folder is refused, and so is a name the program cannot write back
// to the very file it was read from.
CleanOutcome CleanFinding(const std::string& folder, const std::string& name, const std::string& backupFolder);

// A file name as a scan found it: no folder part, no drive, so it cannot
// lead outside the folder it is joined to. (On Linux a backslash is part of
// a name.)
bool IsPlainFileName(const std::string& name);
