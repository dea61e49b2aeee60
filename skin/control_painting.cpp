#include "skin/control_painting.h"

#include <commctrl.h>

#include <string>

namespace {
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

void Fill(HDC dc, const RECT& rect, COLORREF colour) {
  SetDCBrushColor(dc, colour);
  FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

class Region {
 public:
  explicit Region(HRGN region) : region_(region) {}
  Region(const Region&) = delete;
  Region& operator=(const Region&) = delete;
  ~Region() { DeleteObject(region_); }
  operator HRGN() const { return region_; }

 private:
  HRGN region_;
};

// A rectangle with rounded corners; with `topOnly` the lower corners stay square.
HRGN RoundedRegion(const RECT& rect, int radius, bool topOnly) {
  if (radius <= 0) return CreateRectRgnIndirect(&rect);
  int bottom = topOnly ? rect.bottom + 2 * radius : rect.bottom + 1;
  HRGN rounded = CreateRoundRectRgn(rect.left, rect.top, rect.right + 1, bottom, 2 * radius, 2 * radius);
  if (topOnly) {
    Region square(CreateRectRgnIndirect(&rect));
    CombineRgn(rounded, rounded, square, RGN_AND);
  }
  return rounded;
}

// Fills `shape` in `face`, shading from lighter at the top when the skin
// asks for it, and draws its outline in `border`.
void FillShape(HDC dc, HRGN shape, const RECT& bounds, COLORREF face, COLORREF border, bool shaded) {
  if (shaded) {
    int saved = SaveDC(dc);
    ExtSelectClipRgn(dc, shape, RGN_AND);
    const COLORREF top = Mix(face, kWhite, 0.22);
    const int height = bounds.bottom - bounds.top;
    for (int row = 0; row < height; ++row) {
      RECT line{bounds.left, bounds.top + row, bounds.right, bounds.top + row + 1};
      Fill(dc, line, Mix(top, face, height > 1 ? static_cast<double>(row) / (height - 1) : 1.0));
    }
    RestoreDC(dc, saved);
  } else {
    SetDCBrushColor(dc, face);
    FillRgn(dc, shape, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  }
  SetDCBrushColor(dc, border);
  FrameRgn(dc, shape, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)), 1, 1);
}

void FrameRounded(HDC dc, const RECT& rect, int radius, COLORREF colour) {
  Region shape(RoundedRegion(rect, radius, false));
  SetDCBrushColor(dc, colour);
  FrameRgn(dc, shape, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)), 1, 1);
}

// Children are drawn by themselves; painting under them would flicker.
void ExcludeChildren(HDC dc, HWND parent) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    RECT place;
    GetWindowRect(child, &place);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&place), 2);
    ExcludeClipRect(dc, place.left, place.top, place.right, place.bottom);
  }
}

std::wstring TextOf(HWND hwnd) {
  std::wstring text(GetWindowTextLengthW(hwnd) + 1, L'\0');
  text.resize(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size())));
  return text;
}

// Selects the control's own font into `dc` for as long as it lives.
class ControlFont {
 public:
  ControlFont(HDC dc, HWND control) : dc_(dc) {
    auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    previous_ = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
  }
  ControlFont(const ControlFont&) = delete;
  ControlFont& operator=(const ControlFont&) = delete;
  ~ControlFont() { SelectObject(dc_, previous_); }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// Keyboard cues show only after the keyboard was used, as the system does.
UINT PrefixFormat(HWND control) {
  return (SendMessageW(control, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL) ? DT_HIDEPREFIX : 0;
}

bool ShowsFocus(HWND control) {
  return GetFocus() == control && !(SendMessageW(control, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
}

void DrawCaption(HDC dc, HWND control, const std::wstring& text, RECT box, COLORREF colour, UINT format) {
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format | PrefixFormat(control));
}

std::wstring TabTitle(HWND tabs, int index) {
  wchar_t title[128] = {};
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = title;
  item.cchTextMax = 128;
  SendMessageW(tabs, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
  return title;
}

RECT TabRect(HWND tabs, int index) {
  RECT rect{};
  SendMessageW(tabs, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
  return rect;
}

void PaintTab(HDC dc, HWND tabs, int index, bool selected, const SkinLook& look) {
  RECT tab = TabRect(tabs, index);
  const COLORREF frame = look.Colour(SkinPart::GroupFrame);
  // The chosen tab stands up a little and opens into its page.
  if (selected) {
    InflateRect(&tab, 1, 0);
    tab.top -= 2;
  }
  const int radius = look.CornerRadius();
  Region shape(RoundedRegion(tab, radius, true));
  COLORREF face = look.Colour(selected ? SkinPart::TabSelected : SkinPart::TabFace);
  FillShape(dc, shape, tab, face, frame, look.Gradient() && !selected);
  if (selected) {
    RECT stripe{tab.left + radius / 2 + 1, tab.top + 1, tab.right - radius / 2 - 1, tab.top + 3};
    Fill(dc, stripe, look.Colour(SkinPart::Accent));
    RECT opening{tab.left + 1, tab.bottom - 1, tab.right - 1, tab.bottom + 1};
    Fill(dc, opening, face);
  }
  RECT caption = tab;
  caption.top += selected ? 2 : 1;
  COLORREF text = look.Colour(SkinPart::Text);
  DrawCaption(dc, tabs, TabTitle(tabs, index), caption, selected ? text : Mix(text, face, 0.2),
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  if (selected && ShowsFocus(tabs)) {
    InflateRect(&caption, -3, -3);
    SetTextColor(dc, kBlack);
    DrawFocusRect(dc, &caption);
  }
}
}  // namespace

void PaintButton(HDC dc, HWND button, const SkinLook& look, COLORREF around, bool hot) {
  RECT area;
  GetClientRect(button, &area);
  Fill(dc, area, around);
  const bool enabled = IsWindowEnabled(button);
  const bool pushed = (SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
  COLORREF face = !enabled ? look.DisabledButtonFace()
                  : pushed ? look.Colour(SkinPart::ButtonPressed)
                  : hot    ? look.Colour(SkinPart::ButtonHover)
                           : look.Colour(SkinPart::ButtonFace);
  COLORREF border = enabled ? Mix(face, kBlack, 0.18) : Mix(face, look.Colour(SkinPart::GroupFrame), 0.5);
  const int radius = look.CornerRadius();
  Region shape(RoundedRegion(area, radius, false));
  FillShape(dc, shape, area, face, border, look.Gradient() && enabled && !pushed);
  const COLORREF text = look.Colour(enabled ? SkinPart::ButtonText : SkinPart::ButtonDisabledText);
  if (enabled && ShowsFocus(button)) {
    RECT ring = area;
    InflateRect(&ring, -2, -2);
    FrameRounded(dc, ring, radius > 1 ? radius - 1 : radius, Mix(face, text, 0.55));
  }
  ControlFont font(dc, button);
  RECT caption = area;
  if (pushed) OffsetRect(&caption, 0, 1);
  DrawCaption(dc, button, TextOf(button), caption, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void PaintGroupBox(HDC dc, HWND box, const SkinLook& look, COLORREF around) {
  int saved = SaveDC(dc);
  ExcludeChildren(dc, box);
  RECT area;
  GetClientRect(box, &area);
  Fill(dc, area, around);
  ControlFont font(dc, box);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  // The frame runs through the middle of the caption's line.
  RECT frame = area;
  frame.top += metrics.tmHeight / 2;
  FrameRounded(dc, frame, look.CornerRadius(), look.Colour(SkinPart::GroupFrame));
  std::wstring text = TextOf(box);
  if (!text.empty()) {
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    const int left = area.left + look.CornerRadius() + 6;
    RECT caption{left, area.top, left + size.cx + 8, area.top + metrics.tmHeight};
    if (caption.right > area.right) caption.right = area.right;
    Fill(dc, caption, around);
    SkinPart colour = IsWindowEnabled(box) ? SkinPart::Text : SkinPart::ButtonDisabledText;
    DrawCaption(dc, box, text, caption, look.Colour(colour), DT_CENTER | DT_TOP | DT_SINGLELINE);
  }
  RestoreDC(dc, saved);
}

void PaintTabControl(HDC dc, HWND tabs, const SkinLook& look, COLORREF around) {
  int saved = SaveDC(dc);
  ExcludeChildren(dc, tabs);
  RECT area;
  GetClientRect(tabs, &area);
  Fill(dc, area, around);
  const int count = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
  const int selected = static_cast<int>(SendMessageW(tabs, TCM_GETCURSEL, 0, 0));
  RECT page = area;
  if (count > 0) page.top = TabRect(tabs, 0).bottom;
  Fill(dc, page, look.Colour(SkinPart::TabSelected));
  SetDCBrushColor(dc, look.Colour(SkinPart::GroupFrame));
  FrameRect(dc, &page, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  ControlFont font(dc, tabs);
  for (int index = 0; index < count; ++index)
    if (index != selected) PaintTab(dc, tabs, index, false, look);
  if (selected >= 0 && selected < count) PaintTab(dc, tabs, selected, true, look);
  RestoreDC(dc, saved);
}

void PaintEdge(HWND control, const SkinLook& look, COLORREF inside) {
  const LONG_PTR extended = GetWindowLongPtrW(control, GWL_EXSTYLE);
  const int thickness = (extended & WS_EX_CLIENTEDGE) ? 2 : (extended & WS_EX_STATICEDGE) ? 1 : 0;
  if (thickness == 0) return;
  HDC dc = GetWindowDC(control);
  RECT edge;
  GetWindowRect(control, &edge);
  OffsetRect(&edge, -edge.left, -edge.top);
  auto brush = static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
  SetDCBrushColor(dc, look.Colour(SkinPart::GroupFrame));
  FrameRect(dc, &edge, brush);
  if (thickness == 2) {
    InflateRect(&edge, -1, -1);
    SetDCBrushColor(dc, inside);
    FrameRect(dc, &edge, brush);
  }
  ReleaseDC(control, dc);
}
