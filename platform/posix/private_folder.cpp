#include "platform/private_folder.h"

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/posix/native_text.h"

PrivateFolder::PrivateFolder(const std::string& prefix) {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/" + Utf8FromText(prefix) + "XXXXXX";
  if (mkdtemp(pattern.data())) path_ = TextFromUtf8(pattern);
}

PrivateFolder::~PrivateFolder() {
  if (path_.empty()) return;
  std::error_code ignored;  // symbolic links inside are removed, never followed
  std::filesystem::remove_all(Utf8FromText(path_), ignored);
}
