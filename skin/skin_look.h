#pragma once
// The skin in use, as the colours and brushes that drawing needs.
#include <windows.h>

#include <array>

#include "skin/skin_format.h"

COLORREF Mix(COLORREF from, COLORREF to, double shareOfTo);

class SkinLook {
 public:
  explicit SkinLook(const Skin& skin);
  SkinLook(const SkinLook&) = delete;
  SkinLook& operator=(const SkinLook&) = delete;
  ~SkinLook();

  COLORREF Colour(SkinPart part) const;
  // Lives as long as the look; windows get it in answer to WM_CTLCOLOR*.
  HBRUSH Brush(SkinPart part) const { return brushes_[static_cast<int>(part)]; }
  int CornerRadius() const { return skin_.cornerRadius; }
  bool Gradient() const { return skin_.gradient; }
  // A disabled button keeps a hint of its colour but sinks into the window.
  COLORREF DisabledButtonFace() const;

 private:
  Skin skin_;
  std::array<HBRUSH, kSkinPartCount> brushes_{};
};
