#include "skin/skin_look.h"

#include <cmath>

COLORREF Mix(COLORREF from, COLORREF to, double shareOfTo) {
  auto channel = [shareOfTo](int a, int b) { return static_cast<BYTE>(std::lround(a + (b - a) * shareOfTo)); };
  return RGB(channel(GetRValue(from), GetRValue(to)), channel(GetGValue(from), GetGValue(to)),
             channel(GetBValue(from), GetBValue(to)));
}

SkinLook::SkinLook(const Skin& skin) : skin_(skin) {
  for (int part = 0; part < kSkinPartCount; ++part) brushes_[part] = CreateSolidBrush(Colour(static_cast<SkinPart>(part)));
}

SkinLook::~SkinLook() {
  for (HBRUSH brush : brushes_) DeleteObject(brush);
}

COLORREF SkinLook::Colour(SkinPart part) const {
  SkinColour colour = skin_[part];
  return RGB(colour.red, colour.green, colour.blue);
}

COLORREF SkinLook::DisabledButtonFace() const {
  // The skin generator checks the disabled text against this same mix.
  return Mix(Colour(SkinPart::ButtonFace), Colour(SkinPart::WindowBackground), 0.7);
}
