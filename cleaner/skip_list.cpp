#include "cleaner/skip_list.h"

#include "platform/files.h"
#include "common/gbk_text.h"

namespace {
// The section's text starts five bytes after the header's "[": the rest of
// the header line then forms a first line that holds no "=" and names nothing.
constexpr std::size_t kSectionTextOffset = 5;

void AppendName(std::string_view line, std::vector<std::string>& names) {
  std::size_t equals = gbk::FindChar(line, '=');
  if (equals != gbk::npos && equals > 0) names.emplace_back(line.substr(0, equals));
}
}  // namespace

void ParseSkipList(std::string_view text, const std::string& section, std::vector<std::string>& names) {
  text = text.substr(0, text.find('\0'));
  std::size_t header = gbk::FindText(text, "[" + section + "]");
  if (header == gbk::npos) return;
  std::size_t start = header + kSectionTextOffset;
  if (start > text.size()) return;
  std::size_t end = gbk::FindChar(text, '[', start);
  std::string_view body = text.substr(start, end == gbk::npos ? std::string_view::npos : end - start);

  std::size_t lineStart = 0;
  for (;;) {
    std::size_t lineEnd = body.find("\r\n", lineStart);  // line ends are split byte for byte
    if (lineEnd == std::string_view::npos) {
      if (lineStart < body.size()) AppendName(body.substr(lineStart), names);
      return;
    }
    AppendName(body.substr(lineStart, lineEnd - lineStart), names);
    lineStart = lineEnd + 2;
  }
}

bool ReadSkipList(const std::string& path, const std::string& section, std::vector<std::string>& names) {
  // Read first, asked after: a list that is there costs no extra look-up.
  std::vector<std::uint8_t> bytes = ReadWholeFile(path);
  if (bytes.empty()) return FileExists(path);
  ParseSkipList(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), section, names);
  return true;
}
