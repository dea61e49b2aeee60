#include "cleaner/cleaning.h"

#include "platform/files.h"
#include "common/gbk_text.h"

namespace {
// A patch file marked read-only is still a patch the user chose to clean.
void RemoveEvenReadOnly(const std::string& path) {
  if (!RemoveFile(path) && ClearReadOnly(path)) RemoveFile(path);
}

void MoveToBackup(const std::string& source, const std::string& destination) {
  // A rename onto another drive copies; it may leave a read-only source.
  if (RenameFile(source, destination) || CopyFileReplacing(source, destination)) {
    if (FileExists(source)) RemoveEvenReadOnly(source);
  }
}
}  // namespace

bool CleanFinding(const std::string& source, const std::string& destination) {
  if (destination.empty())
    RemoveEvenReadOnly(source);
  else
    MoveToBackup(source, destination);
  return !FileExists(source);
}

bool IsPlainFileName(const std::string& name) {
  // '/' separates folders everywhere; the system's own separator too.
  return !name.empty() && name != "." && name != ".." && gbk::FindChar(name, PathSeparator()) == gbk::npos &&
         gbk::FindChar(name, '/') == gbk::npos;
}
