#include "shell/win32/label_painter.h"

#include <string>

#include "shell/win32/control_factory.h"

namespace {
HFONT DefaultFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

// The parent chooses a label's background, as it does for every static
// control: the system's button face, or the page colour of a window skin.
HBRUSH BackgroundBrush(HWND label, HDC dc) {
  auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(label), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                     reinterpret_cast<LPARAM>(label)));
  return brush ? brush : GetSysColorBrush(COLOR_BTNFACE);
}

bool HasOwnFont(const LabelStyle& style) { return !style.face.empty() || style.height != 0 || style.bold; }

ScopedFont CreateLabelFont(const LabelStyle& style) {
  LOGFONTW font{};
  GetObjectW(DefaultFont(), sizeof font, &font);
  if (style.height != 0) font.lfHeight = -style.height;  // negative: the character height
  font.lfWidth = 0;
  if (style.bold) font.lfWeight = FW_BOLD;
  if (!style.face.empty()) {
    lstrcpynW(font.lfFaceName, WideCaption(style.face).c_str(), LF_FACESIZE);
    font.lfCharSet = GB2312_CHARSET;
  }
  return ScopedFont(CreateFontIndirectW(&font));
}

// The text's rectangle: one line centred vertically, or, for a label that
// wraps, the wrapped block centred vertically.
RECT TextBox(HDC dc, const std::wstring& text, const RECT& area, UINT format, bool wraps) {
  RECT box = area;
  if (!wraps) return box;
  RECT measured = area;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured, format | DT_CALCRECT);
  int spare = (area.bottom - area.top) - (measured.bottom - measured.top);
  if (spare > 0) box.top += spare / 2;
  return box;
}
}  // namespace

HFONT LabelPainter::FontFor(const ControlSpec& entry) {
  if (!HasOwnFont(entry.label)) return DefaultFont();
  auto found = fonts_.find(&entry);
  if (found == fonts_.end()) found = fonts_.emplace(&entry, CreateLabelFont(entry.label)).first;
  return found->second.Get();
}

void LabelPainter::Paint(const ControlSpec& entry, HWND label) const {
  const LabelStyle& style = entry.label;
  ScopedPaint paint(label);
  HDC dc = paint.Dc();
  RECT area;
  GetClientRect(label, &area);
  FillRect(dc, &area, BackgroundBrush(label, dc));
  auto own = fonts_.find(&entry);
  ScopedSelect font(dc, own != fonts_.end() ? own->second.Get() : DefaultFont());
  SetBkMode(dc, TRANSPARENT);

  UINT format = DT_NOPREFIX | (style.centred ? DT_CENTER : DT_LEFT) |
                (style.wraps ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER);
  std::wstring text = WindowText(label);
  RECT box = TextBox(dc, text, area, format, style.wraps);
  if (style.shadow) {
    RECT shadow = box;
    OffsetRect(&shadow, 1, 1);
    SetTextColor(dc, RGB(255, 255, 255));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &shadow, format);
  }
  SetTextColor(dc, RGB(style.colour.red, style.colour.green, style.colour.blue));
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format);
}
