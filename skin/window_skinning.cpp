#include "skin/window_skinning.h"

#include <windows.h>

#include <commctrl.h>
#include <uxtheme.h>

#include <memory>
#include <utility>

#include "skin/control_kind.h"
#include "skin/control_painting.h"
#include "skin/skin_look.h"

namespace {
constexpr UINT_PTR kSubclassId = 0x534B4E;
// What the skin keeps about a window, in a property of the window: its
// kind in the low byte, whether the mouse is over it, and that it is skinned.
constexpr wchar_t kSkinProperty[] = L"Pellory.Skin";
constexpr DWORD_PTR kKindMask = 0xFF;
constexpr DWORD_PTR kHotFlag = 0x100;
constexpr DWORD_PTR kSkinnedFlag = 0x200;

std::unique_ptr<SkinLook> currentLook;
HHOOK creationHook;

ControlKind KindIn(DWORD_PTR data) { return static_cast<ControlKind>(data & kKindMask); }

DWORD_PTR SkinData(HWND hwnd) { return hwnd ? reinterpret_cast<DWORD_PTR>(GetPropW(hwnd, kSkinProperty)) : 0; }

bool IsSkinned(HWND hwnd) { return (SkinData(hwnd) & kSkinnedFlag) != 0; }

// The colour that a control's parent shows behind it: the page of a tab
// control, or the window's own.
SkinPart BackgroundOf(HWND hwnd) {
  for (; hwnd; hwnd = GetParent(hwnd)) {
    const DWORD_PTR data = SkinData(hwnd);
    if ((data & kSkinnedFlag) && KindIn(data) == ControlKind::TabControl) return SkinPart::TabSelected;
    if (!(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD)) break;
  }
  return SkinPart::WindowBackground;
}

SkinPart ContentOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::Edit:
      return SkinPart::EditBackground;
    case ControlKind::ListBox:
    case ControlKind::ListView:
    case ControlKind::ComboBox:
      return SkinPart::ListBackground;
    default:
      return SkinPart::WindowBackground;
  }
}

// The answer to WM_CTLCOLOR* that `parent` gets for `child`. The text
// colour set here is a default: a control that paints its own text in its
// own colour keeps it, and takes only the background.
HBRUSH ColourChild(HWND parent, HDC dc, HWND child) {
  const SkinLook& look = *currentLook;
  const ControlKind kind = KindOf(child, static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE)));
  SkinPart background = ContentOf(kind), text = SkinPart::Text;
  if (kind == ControlKind::Edit) text = SkinPart::EditText;
  else if (background == SkinPart::ListBackground) text = SkinPart::ListText;
  else background = BackgroundOf(parent);
  if (!IsWindowEnabled(child)) text = SkinPart::ButtonDisabledText;
  SetTextColor(dc, look.Colour(text));
  SetBkColor(dc, look.Colour(background));
  return look.Brush(background);
}

// Colours that controls keep inside themselves rather than ask for.
void SetOwnColours(HWND hwnd, ControlKind kind) {
  const SkinLook& look = *currentLook;
  switch (kind) {
    case ControlKind::ListView:
      SendMessageW(hwnd, LVM_SETBKCOLOR, 0, look.Colour(SkinPart::ListBackground));
      SendMessageW(hwnd, LVM_SETTEXTBKCOLOR, 0, look.Colour(SkinPart::ListBackground));
      SendMessageW(hwnd, LVM_SETTEXTCOLOR, 0, look.Colour(SkinPart::ListText));
      break;
    case ControlKind::ProgressBar:
      // A visual style would draw its own bar and ignore these colours. A
      // blank name matches no style; an empty one would mean the default
      // style to some systems.
      SetWindowTheme(hwnd, L" ", L" ");
      SendMessageW(hwnd, PBM_SETBARCOLOR, 0, look.Colour(SkinPart::ProgressFill));
      SendMessageW(hwnd, PBM_SETBKCOLOR, 0, look.Colour(SkinPart::ProgressBackground));
      break;
    case ControlKind::StatusBar:
      SendMessageW(hwnd, SB_SETBKCOLOR, 0, look.Colour(SkinPart::TabFace));
      break;
    default:
      break;
  }
}

void Draw(HWND hwnd, HDC dc, DWORD_PTR data) {
  const SkinLook& look = *currentLook;
  COLORREF around = look.Colour(BackgroundOf(GetParent(hwnd)));
  switch (KindIn(data)) {
    case ControlKind::PushButton:
      PaintButton(dc, hwnd, look, around, (data & kHotFlag) != 0);
      break;
    case ControlKind::GroupBox:
      PaintGroupBox(dc, hwnd, look, around);
      break;
    case ControlKind::TabControl:
      PaintTabControl(dc, hwnd, look, around);
      break;
    default:
      break;
  }
}

void DrawNow(HWND hwnd, DWORD_PTR data) {
  if (!IsWindowVisible(hwnd)) return;
  HDC dc = GetDC(hwnd);
  Draw(hwnd, dc, data);
  ReleaseDC(hwnd, dc);
}

// The messages after which the system's own code draws the control at once,
// without a WM_PAINT: the skin's drawing has to follow them.
bool SystemDrawsAfter(ControlKind kind, UINT message) {
  switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_SETFONT:
    case WM_UPDATEUISTATE:
    case WM_SYSCOLORCHANGE:
      return true;
    case BM_SETSTATE:
    case BM_SETCHECK:
    case BM_SETSTYLE:
    case BM_CLICK:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CAPTURECHANGED:
      return kind != ControlKind::TabControl;
    default:
      return false;
  }
}

void SetHot(HWND hwnd, DWORD_PTR& data, bool hot) {
  data = hot ? (data | kHotFlag) : (data & ~kHotFlag);
  SetPropW(hwnd, kSkinProperty, reinterpret_cast<HANDLE>(data));
}

// Push buttons, group boxes and tab controls: the skin draws them whole.
LRESULT DrawnBySkin(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR data) {
  switch (message) {
    case WM_ERASEBKGND:
      return TRUE;  // the drawing fills everything
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(hwnd, &paint);
      Draw(hwnd, dc, data);
      EndPaint(hwnd, &paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      Draw(hwnd, reinterpret_cast<HDC>(wParam), data);
      return 0;
    case WM_MOUSEMOVE:
      if (KindIn(data) == ControlKind::PushButton && !(data & kHotFlag)) {
        SetHot(hwnd, data, true);
        TRACKMOUSEEVENT leave{sizeof leave, TME_LEAVE, hwnd, 0};
        TrackMouseEvent(&leave);
      }
      break;
    case WM_MOUSELEAVE:
      SetHot(hwnd, data, false);
      DrawNow(hwnd, data);
      break;
  }
  LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
  if (SystemDrawsAfter(KindIn(data), message)) DrawNow(hwnd, data);
  return result;
}

LRESULT CALLBACK SkinProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  const DWORD_PTR data = SkinData(hwnd);
  const ControlKind kind = KindIn(data);
  switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
      return reinterpret_cast<LRESULT>(ColourChild(hwnd, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_CREATE: {
      // A window skinned as it was being created takes its colours once it exists.
      LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
      if (result != -1) SetOwnColours(hwnd, kind);
      return result;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, SkinProc, kSubclassId);
      RemovePropW(hwnd, kSkinProperty);
      return DefSubclassProc(hwnd, message, wParam, lParam);
  }
  switch (kind) {
    case ControlKind::Frame:
      if (message == WM_ERASEBKGND) {
        RECT area;
        GetClientRect(hwnd, &area);
        FillRect(reinterpret_cast<HDC>(wParam), &area, currentLook->Brush(SkinPart::WindowBackground));
        return TRUE;
      }
      break;
    case ControlKind::PushButton:
    case ControlKind::GroupBox:
    case ControlKind::TabControl:
      return DrawnBySkin(hwnd, message, wParam, lParam, data);
    default:
      if (message == WM_NCPAINT) {
        LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
        SkinPart inside = ContentOf(kind) == SkinPart::WindowBackground ? BackgroundOf(hwnd) : ContentOf(kind);
        PaintEdge(hwnd, *currentLook, currentLook->Colour(inside));
        return result;
      }
      break;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

void Subclass(HWND hwnd, DWORD style) {
  // A window skinned before keeps its mouse state.
  DWORD_PTR data = (SkinData(hwnd) & ~kKindMask) | kSkinnedFlag | static_cast<DWORD_PTR>(KindOf(hwnd, style));
  SetPropW(hwnd, kSkinProperty, reinterpret_cast<HANDLE>(data));
  SetWindowSubclass(hwnd, SkinProc, kSubclassId, 0);
}

void SkinExisting(HWND hwnd) {
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
  Subclass(hwnd, style);
  SetOwnColours(hwnd, KindOf(hwnd, style));
}

BOOL CALLBACK SkinChild(HWND child, LPARAM) {
  SkinExisting(child);
  return TRUE;
}

// Only windows that people look at: not the thread's hidden helper windows
// or tool tips.
bool IsShownWindow(HWND hwnd) {
  return (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CAPTION) == WS_CAPTION || IsDialog(hwnd);
}

BOOL CALLBACK SkinTopLevel(HWND window, LPARAM) {
  if (!IsShownWindow(window)) return TRUE;
  SkinExisting(window);
  EnumChildWindows(window, SkinChild, 0);  // every descendant
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  return TRUE;
}

// Skins the windows that come later: the controls of a skinned window and
// the thread's dialog boxes, such as its message boxes.
LRESULT CALLBACK OnWindowEvent(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    auto hwnd = reinterpret_cast<HWND>(wParam);
    const CREATESTRUCTW& created = *reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
    const DWORD style = static_cast<DWORD>(created.style);
    if ((style & WS_CHILD) ? IsSkinned(created.hwndParent) : IsDialog(hwnd)) Subclass(hwnd, style);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
}  // namespace

void AttachSkin(const Skin& skin) {
  // The old look's brushes stay alive until every window has been redrawn
  // with the new one.
  std::unique_ptr<SkinLook> previous = std::exchange(currentLook, std::make_unique<SkinLook>(skin));
  if (!creationHook) creationHook = SetWindowsHookExW(WH_CBT, OnWindowEvent, nullptr, GetCurrentThreadId());
  EnumThreadWindows(GetCurrentThreadId(), SkinTopLevel, 0);
}
