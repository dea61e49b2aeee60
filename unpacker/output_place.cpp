#include "unpacker/output_place.h"

#include "common/gbk_text.h"

OutputPlace DeriveOutputPlace(const std::string& spkPath, char separator) {
  std::size_t last = gbk::FindLastChar(spkPath, separator);
  // A path without a separator names a file in the current folder.
  std::size_t nameStart = last == gbk::npos ? 0 : last + 1;
  OutputPlace place;
  place.directory = spkPath.substr(0, nameStart);
  std::size_t nameLength = spkPath.size() - nameStart;
  if (nameLength > 4) place.name = spkPath.substr(nameStart, nameLength - 4);
  return place;
}

namespace {
// gbk's walk, with GB18030's four-byte characters (a lead byte and a digit,
// twice) taken whole.
std::size_t CharacterLength(const std::string& text, std::size_t pos) {
  std::size_t length = gbk::CharLength(text, pos);
  if (length == 2 && text[pos + 1] >= '0' && text[pos + 1] <= '9' && pos + 3 < text.size()) return 4;
  return length;
}
}  // namespace

std::string PartFileStem(const std::string& outputName) {
  constexpr std::size_t kLongest = 64;
  std::size_t end = 0;
  while (end < outputName.size() && end + CharacterLength(outputName, end) <= kLongest)
    end += CharacterLength(outputName, end);
  return outputName.substr(0, end);
}
