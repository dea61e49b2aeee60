#include "skin/control_kind.h"

#include <commctrl.h>

namespace {
bool ClassIs(const wchar_t* name, const wchar_t* expected) { return lstrcmpiW(name, expected) == 0; }

ControlKind ButtonKind(DWORD style) {
  switch (style & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
      return ControlKind::PushButton;
    case BS_GROUPBOX:
      return ControlKind::GroupBox;
    case BS_OWNERDRAW:
      return ControlKind::Other;  // its owner draws it
    default:
      return ControlKind::CheckBox;
  }
}
}  // namespace

ControlKind KindOf(HWND hwnd, DWORD style) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  if (!(style & WS_CHILD) || ClassIs(name, L"#32770")) return ControlKind::Frame;
  if (ClassIs(name, WC_BUTTONW)) return ButtonKind(style);
  if (ClassIs(name, WC_TABCONTROLW)) return ControlKind::TabControl;
  if (ClassIs(name, WC_STATICW)) return ControlKind::Static;
  if (ClassIs(name, WC_EDITW)) return ControlKind::Edit;
  if (ClassIs(name, WC_COMBOBOXW)) return ControlKind::ComboBox;
  if (ClassIs(name, WC_LISTBOXW) || ClassIs(name, L"ComboLBox")) return ControlKind::ListBox;
  if (ClassIs(name, WC_LISTVIEWW)) return ControlKind::ListView;
  if (ClassIs(name, PROGRESS_CLASSW)) return ControlKind::ProgressBar;
  if (ClassIs(name, STATUSCLASSNAMEW)) return ControlKind::StatusBar;
  return ControlKind::Other;
}

bool IsDialog(HWND hwnd) {
  wchar_t name[16] = {};
  GetClassNameW(hwnd, name, 16);
  return ClassIs(name, L"#32770");
}
