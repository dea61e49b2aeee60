#include "cleaning.h"

#include "files.h"
#include "gbk_text.h"

void MoveToBackup(const std::string& source, const std::string& destination) {
  if (RenameFile(source, destination)) return;
  if (CopyFileReplacing(source, destination)) RemoveFile(source);
}

bool IsPlainFileName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && gbk::FindChar(name, '\\') == gbk::npos &&
         gbk::FindChar(name, '/') == gbk::npos;
}
