#include "downloader/config_file.h"

#include <optional>

#include "common/binary_reader.h"
#include "common/gbk_text.h"
#include "downloader/config_container.h"
#include "downloader/config_text.h"
#include "platform/files.h"
#include "platform/program.h"

namespace {
// Far beyond any list of region servers; a larger file is not one, and is
// not read into memory.
constexpr std::int64_t kMaxConfigFileSize = 16 << 20;

void CompletePath(std::string& path) {
  if (gbk::FindChar(path, PathSeparator()) == gbk::npos) path = JoinPath(SystemDirectoryForBarePaths(), path);
}

// The file's text; nothing when it can't be opened.
std::optional<std::string> ReadConfigText(std::string& path, std::string_view password) {
  CompletePath(path);
  File file = File::Open(path, File::Mode::ReadShared);
  if (!file.IsOpen() || file.Size() > kMaxConfigFileSize) return std::nullopt;
  FileSource source(file);
  BinaryReader reader(source);
  std::vector<std::uint8_t> bytes = reader.ReadBytes(reader.Size());
  if (static_cast<std::int64_t>(bytes.size()) != reader.Size()) return std::nullopt;
  return OpenConfigContainer(bytes, password);
}
}  // namespace

bool ListConfigKeys(std::string& path, std::string_view password, std::string_view section,
                    std::vector<std::string>& keys) {
  std::optional<std::string> text = ReadConfigText(path, password);
  if (!text) return false;
  for (std::string& key : ParseConfigKeys(*text, section)) keys.push_back(std::move(key));
  return true;
}

std::string ReadConfigValue(std::string& path, std::string_view password, std::string_view section,
                            std::string_view key, std::string_view fallback) {
  std::optional<std::string> text = ReadConfigText(path, password);
  if (!text) return {};
  return FindConfigValue(*text, section, key).value_or(std::string(fallback));
}
