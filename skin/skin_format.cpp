#include "skin/skin_format.h"

namespace {
constexpr unsigned char kMagic[4] = {'P', 'S', 'K', 'N'};
constexpr int kVersion = 1;
constexpr std::size_t kHeaderSize = 12;
constexpr std::size_t kColoursSize = 3 * kSkinPartCount;
constexpr int kLargestRadius = 16;
constexpr std::size_t kLongestName = 64;
constexpr unsigned kGradientFlag = 1;

unsigned Word(std::span<const unsigned char> bytes, std::size_t at) { return bytes[at] | (bytes[at + 1] << 8); }
}  // namespace

std::optional<Skin> ReadSkin(std::span<const unsigned char> bytes) {
  if (bytes.size() < kHeaderSize) return std::nullopt;
  for (std::size_t i = 0; i < sizeof kMagic; ++i)
    if (bytes[i] != kMagic[i]) return std::nullopt;
  const unsigned version = Word(bytes, 4), declaredSize = Word(bytes, 6);
  const unsigned radius = bytes[8], flags = bytes[9], colourCount = bytes[10], nameLength = bytes[11];
  // The size the skin declares is checked against the bytes handed over
  // and against what its own fields add up to, so a cut or padded skin
  // never passes.
  if (version != kVersion || declaredSize != bytes.size()) return std::nullopt;
  if (radius > kLargestRadius || (flags & ~kGradientFlag) != 0 || colourCount != kSkinPartCount) return std::nullopt;
  if (nameLength == 0 || nameLength > kLongestName) return std::nullopt;
  if (bytes.size() != kHeaderSize + kColoursSize + nameLength) return std::nullopt;

  Skin skin;
  std::span<const unsigned char> colours = bytes.subspan(kHeaderSize, kColoursSize);
  for (int part = 0; part < kSkinPartCount; ++part)
    skin.colours[part] = {colours[3 * part], colours[3 * part + 1], colours[3 * part + 2]};
  skin.cornerRadius = static_cast<int>(radius);
  skin.gradient = (flags & kGradientFlag) != 0;
  std::span<const unsigned char> name = bytes.subspan(kHeaderSize + kColoursSize, nameLength);
  for (unsigned char byte : name)
    if (byte < 0x20) return std::nullopt;  // a name is one line of visible text
  skin.name.assign(name.begin(), name.end());
  return skin;
}
