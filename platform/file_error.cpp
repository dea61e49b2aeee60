#include "platform/file_error.h"

namespace {
thread_local FileError lastError = FileError::None;
}  // namespace

FileError LastFileError() { return lastError; }

void SetLastFileError(FileError error) { lastError = error; }

std::string FileErrorText(FileError error) {
  switch (error) {
    case FileError::None: return "no error";
    case FileError::NotFound: return "no such file or folder";
    case FileError::AccessDenied: return "access denied";
    case FileError::InUse: return "in use by another program";
    case FileError::DiskFull: return "disk full";
    case FileError::NameTooLong: return "name too long";
    case FileError::NotAFile: return "not a regular file";
    case FileError::AlreadyExists: return "already exists";
    case FileError::Other: break;
  }
  return "system error";
}
