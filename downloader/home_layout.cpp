#include "downloader/home_layout.h"

#include "platform/files.h"
#include "platform/utf8_text.h"

namespace {
bool IsAsciiLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Whether the text holds a path separator. The second byte of a double-byte
// character may be 0x5C, the backslash's code, without being one.
bool HoldsSeparator(const std::string& text) {
  for (std::size_t at = 0; at < text.size(); ++at) {
    const unsigned char c = static_cast<unsigned char>(text[at]);
    if (c >= 0x80) {
      ++at;
      continue;
    }
    if (c == '/' || c == '\\') return true;
  }
  return false;
}
}  // namespace

std::string ConfigFilePath(const std::string& home) { return JoinPath(home, "File_Cfg.ini"); }

// The program's texts spell the folder "lst_file" and "lst_File"; on Windows
// both name one folder, and elsewhere either may be on disk.
std::string RegionListFolder(const std::string& home) { return FindFolderIgnoringCase(home, "lst_file"); }

std::string RegionListPath(const std::string& home, const std::string& listName) {
  return JoinPath(RegionListFolder(home), listName + ".lst");
}

std::string DownloadFolderPath(const std::string& home) { return JoinPath(home, "Download"); }

std::string PathPartRefusal(const std::string& name) {
  if (name.empty()) return TextFromUtf8Source(u8"名称为空");
  if (name == "." || name == "..") return TextFromUtf8Source(u8"名称是\".\"或\"..\"");
  if (HoldsSeparator(name)) return TextFromUtf8Source(u8"名称含有路径分隔符(\"/\"或\"\\\")");
  if (name.size() >= 2 && IsAsciiLetter(static_cast<unsigned char>(name[0])) && name[1] == ':')
    return TextFromUtf8Source(u8"名称以盘符开头");
  return {};
}
