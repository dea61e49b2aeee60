#pragma once
// Why a file operation failed, kept so that the reason reaches the user.
// The platform layer records the reason of the last failed call on the
// calling thread (as errno and GetLastError do); a caller that reports a
// failure reads it right after the call that failed.
#include <string>

enum class FileError {
  None,
  NotFound,       // no file or folder of that name
  AccessDenied,   // the system refuses: permissions, a read-only medium
  InUse,          // another program holds the file
  DiskFull,
  NameTooLong,
  NotAFile,       // a folder, a device, a pipe: not a regular file
  AlreadyExists,
  Other,
};

// The reason of this thread's last failed file operation.
FileError LastFileError();
// Records `error` as this thread's last reason; the platform layer and the
// test file systems call it.
void SetLastFileError(FileError error);

// A short English description, for standard error: "access denied".
std::string FileErrorText(FileError error);
