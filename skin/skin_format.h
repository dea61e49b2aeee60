#pragma once
// A skin: the colours, the corner radius and the name that the skin library
// draws a window with. The bytes of a skin come from outside the library,
// so they are checked whole before any of them is used.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

struct SkinColour {
  std::uint8_t red, green, blue;
  bool operator==(const SkinColour&) const = default;
};

// The palette, in the order in which a skin file stores it.
enum class SkinPart {
  WindowBackground,
  Text,
  GroupFrame,
  ButtonFace,
  ButtonHover,
  ButtonPressed,
  ButtonText,
  ButtonDisabledText,
  EditBackground,
  EditText,
  ListBackground,
  ListText,
  Accent,
  ProgressFill,
  ProgressBackground,
  TabFace,
  TabSelected,
  Count
};
constexpr int kSkinPartCount = static_cast<int>(SkinPart::Count);

struct Skin {
  std::array<SkinColour, kSkinPartCount> colours{};
  int cornerRadius = 0;
  bool gradient = false;  // buttons and tabs shade from light at the top
  std::string name;       // UTF-8

  SkinColour operator[](SkinPart part) const { return colours[static_cast<int>(part)]; }
};

// The skin that `bytes` hold, or nothing when they are not exactly one
// well-formed skin.
std::optional<Skin> ReadSkin(std::span<const unsigned char> bytes);
