#include "downloader/config_text.h"

#include "common/gbk_text.h"

namespace {
// The text that the rules see: everything before the first NUL or 0x1A.
std::string_view UsableText(std::string_view text) {
  return text.substr(0, text.find_first_of(std::string_view("\0\x1A", 2)));
}

class LineReader {
 public:
  explicit LineReader(std::string_view text) : rest_(UsableText(text)) {}

  // The next line, without its LF and a CR before that LF; false at the end.
  bool Next(std::string_view& line) {
    if (rest_.empty()) return false;
    std::size_t end = rest_.find('\n');
    if (end == std::string_view::npos) {
      line = rest_;
      rest_ = {};
      return true;
    }
    line = rest_.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    rest_.remove_prefix(end + 1);
    return true;
  }

 private:
  std::string_view rest_;
};

// A blank is an ASCII space or the double-byte ideographic space A1 A1.
bool IsBlank(std::string_view character) { return character == " " || character == "\xA1\xA1"; }

// Blanks removed at both ends, walking characters so that the second byte of
// one character and the first of the next never pass for a blank.
std::string_view TrimBlanks(std::string_view text) {
  std::size_t start = text.size();
  std::size_t end = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t length = gbk::CharLength(text, pos);
    if (!IsBlank(text.substr(pos, length))) {
      if (start == text.size()) start = pos;
      end = pos + length;
    }
    pos += length;
  }
  return start < end ? text.substr(start, end - start) : std::string_view();
}

// ASCII letters in upper case; double-byte characters pass unchanged, their
// second byte included.
std::string UpperAscii(std::string_view text) {
  std::string upper(text);
  for (std::size_t pos = 0; pos < upper.size(); pos += gbk::CharLength(upper, pos))
    if (upper[pos] >= 'a' && upper[pos] <= 'z') upper[pos] = static_cast<char>(upper[pos] - 'a' + 'A');
  return upper;
}

// Reads up to and including the section's header line, which is compared
// untrimmed; false when no line is the header.
bool SkipToSection(LineReader& lines, std::string_view section) {
  const std::string header = UpperAscii("[" + std::string(section) + "]");
  std::string_view line;
  while (lines.Next(line))
    if (UpperAscii(line) == header) return true;
  return false;
}

// Any line that, trimmed, begins with "[" and ends with "]" ends a section.
bool EndsSection(std::string_view line) {
  std::string_view trimmed = TrimBlanks(line);
  return trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']';
}

struct KeyAndValue {
  std::string_view key;  // untrimmed
  std::string_view value;
};

// Splits a line at every "=": each "=" ends a piece, and what follows the
// last "=" is a piece only when it is not empty. A line counts only when
// that gives exactly two pieces, so "key=value" and "key=value=" do, while
// "key=", "key=a=b" and "key=a==" do not.
std::optional<KeyAndValue> SplitInTwoPieces(std::string_view line) {
  std::size_t first = gbk::FindChar(line, '=');
  if (first == gbk::npos) return std::nullopt;
  std::size_t second = gbk::FindChar(line, '=', first + 1);
  if (second == gbk::npos) {
    if (first + 1 == line.size()) return std::nullopt;
    return KeyAndValue{line.substr(0, first), line.substr(first + 1)};
  }
  if (second + 1 != line.size()) return std::nullopt;
  return KeyAndValue{line.substr(0, first), line.substr(first + 1, second - first - 1)};
}
}  // namespace

std::vector<std::string> ParseConfigKeys(std::string_view text, std::string_view section) {
  std::vector<std::string> keys;
  LineReader lines(text);
  if (!SkipToSection(lines, section)) return keys;
  std::string_view line;
  while (lines.Next(line) && !EndsSection(line)) {
    std::size_t equals = gbk::FindChar(line, '=');
    if (equals != gbk::npos) keys.emplace_back(TrimBlanks(line.substr(0, equals)));
  }
  return keys;
}

std::optional<std::string> FindConfigValue(std::string_view text, std::string_view section, std::string_view key) {
  LineReader lines(text);
  if (!SkipToSection(lines, section)) return std::nullopt;
  std::string_view line;
  while (lines.Next(line) && !EndsSection(line)) {
    std::optional<KeyAndValue> pieces = SplitInTwoPieces(line);
    if (pieces && TrimBlanks(pieces->key) == key) return std::string(pieces->value);
  }
  return std::nullopt;
}
