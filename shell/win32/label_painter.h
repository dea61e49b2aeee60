#pragma once
// Draws the window's labels in the colours, fonts and shadow of the control
// table. The labels keep the ordinary static styles of their alignment, so
// that other tools read them as what they are; this routine paints them.
#include <windows.h>

#include <map>

#include "shell/control_table.h"
#include "shell/win32/scoped_win.h"

class LabelPainter {
 public:
  LabelPainter() = default;
  LabelPainter(const LabelPainter&) = delete;
  LabelPainter& operator=(const LabelPainter&) = delete;

  // The font a label is created with: its own, or the default GUI font. The
  // painter keeps the label's own font, so it must outlive the labels.
  HFONT FontFor(const ControlSpec& entry);
  // Paints `label` in answer to its WM_PAINT.
  void Paint(const ControlSpec& entry, HWND label) const;

 private:
  std::map<const ControlSpec*, ScopedFont> fonts_;
};
