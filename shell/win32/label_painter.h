#pragma once
// Draws the window's labels in the colours, fonts and shadow of the control
// table; the labels are owner-drawn statics so that one routine does it all.
#include <windows.h>

#include <map>

#include "control_table.h"

class LabelPainter {
 public:
  LabelPainter() = default;
  LabelPainter(const LabelPainter&) = delete;
  LabelPainter& operator=(const LabelPainter&) = delete;
  ~LabelPainter();

  // The font a label is created with: its own, or the default GUI font.
  HFONT FontFor(const ControlSpec& spec);
  void Paint(const ControlSpec& spec, const DRAWITEMSTRUCT& item) const;

 private:
  std::map<const ControlSpec*, HFONT> fonts_;
};
