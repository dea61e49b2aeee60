#include "unpacker/visible_text.h"

#include "common/gbk_text.h"

namespace {
bool IsLead(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
bool IsTrail(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFE); }
bool IsDigit(unsigned char b) { return b >= 0x30 && b <= 0x39; }

// GB18030's four-byte forms of U+0080 to U+009F run from 81 30 81 30 to
// 81 30 84 31.
bool IsC1Control(unsigned char b0, unsigned char b1, unsigned char b2, unsigned char b3) {
  return b0 == 0x81 && b1 == 0x30 && (b2 < 0x84 || (b2 == 0x84 && b3 <= 0x31));
}

// The length of the printable character at `pos`, or 0 when the byte there
// starts none.
std::size_t PrintableCharAt(std::string_view text, std::size_t pos) {
  auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
  if (at(0) < 0x80) return at(0) < 0x20 || at(0) == 0x7F ? 0 : 1;
  if (gbk::CharLength(text, pos) != 2 || !IsLead(at(0))) return 0;
  if (IsTrail(at(1))) return 2;
  // A lead byte and a digit open a four-byte character.
  if (!IsDigit(at(1)) || pos + 3 >= text.size() || !IsLead(at(2)) || !IsDigit(at(3))) return 0;
  return IsC1Control(at(0), at(1), at(2), at(3)) ? 0 : 4;
}
}  // namespace

std::string VisibleText(std::string_view text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string visible;
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t length = PrintableCharAt(text, pos);
    if (length > 0) {
      visible.append(text.substr(pos, length));
      pos += length;
      continue;
    }
    const auto byte = static_cast<unsigned char>(text[pos++]);
    visible.append({'\\', 'x', kHex[byte >> 4], kHex[byte & 0xF]});
  }
  return visible;
}
