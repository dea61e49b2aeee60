#include "shell/win32/control_factory.h"

#include <commctrl.h>

#include "platform/utf8_text.h"
#include "platform/win32/native_text.h"

namespace {
// The open list of a drop-down list; its closed height is the table's.
constexpr int kDroppedListHeight = 200;
// A drop-down list's closed height is its selection field's item height
// plus 6: 14 gives the 20 pixels of the table whatever the font.
constexpr int kSelectionFieldHeight = 14;

// The first radio button of a parent starts the group that selecting one
// of them clears the rest of.
bool StartsRadioGroup(const ControlSpec& entry) {
  for (const ControlSpec& other : ControlTable()) {
    if (&other == &entry) return true;
    if (other.kind == ControlKind::RadioButton && other.parent == entry.parent) return false;
  }
  return true;
}

DWORD KindStyle(const ControlSpec& entry) {
  switch (entry.kind) {
    case ControlKind::StatusBar:
      // Docking would put it elsewhere: the table's place reaches below
      // the client area.
      return CCS_NOPARENTALIGN | CCS_NORESIZE;
    case ControlKind::TabControl:
      return WS_TABSTOP | WS_CLIPCHILDREN | TCS_TABS | TCS_SINGLELINE;
    case ControlKind::Label:
      // One line centred vertically, unless the label wraps.
      return SS_NOPREFIX | (entry.label.centred ? SS_CENTER : SS_LEFT) | (entry.label.wraps ? 0 : SS_CENTERIMAGE);
    case ControlKind::Edit:
      return WS_TABSTOP | ES_AUTOHSCROLL | (entry.readOnly ? ES_READONLY : 0);
    case ControlKind::Button:
      return WS_TABSTOP | BS_PUSHBUTTON;
    case ControlKind::CheckBox:
      return WS_TABSTOP | BS_AUTOCHECKBOX;
    case ControlKind::RadioButton:
      return BS_AUTORADIOBUTTON | (StartsRadioGroup(entry) ? WS_GROUP | WS_TABSTOP : 0);
    case ControlKind::GroupBox:
      return WS_CLIPCHILDREN | BS_GROUPBOX;
    case ControlKind::ListView:
      return WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
    case ControlKind::DropDownList:
      return WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
    case ControlKind::ListBox:
      // The scroll bar stays, disabled while everything fits, so the
      // list looks the same empty or full.
      return WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_DISABLENOSCROLL;
    case ControlKind::ProgressBar:
      return PBS_SMOOTH;
    case ControlKind::Timer:
      break;
  }
  return 0;
}

DWORD KindExStyle(const ControlSpec& entry) {
  switch (entry.kind) {
    case ControlKind::Edit:
    case ControlKind::ListView:
    case ControlKind::ListBox:
      return WS_EX_CLIENTEDGE;
    case ControlKind::ProgressBar:
      return WS_EX_STATICEDGE;
    case ControlKind::Label:
      return entry.label.border ? WS_EX_STATICEDGE : 0;
    case ControlKind::TabControl:
    case ControlKind::GroupBox:
      // Lets Tab walk into the controls they hold.
      return WS_EX_CONTROLPARENT;
    default:
      return 0;
  }
}

void SetInitialState(const ControlSpec& entry, HWND control) {
  switch (entry.kind) {
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
      SendMessageW(control, BM_SETCHECK, entry.checked ? BST_CHECKED : BST_UNCHECKED, 0);
      break;
    case ControlKind::ProgressBar:
      SendMessageW(control, PBM_SETRANGE32, 0, 100);
      break;
    case ControlKind::DropDownList:
      SendMessageW(control, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), kSelectionFieldHeight);
      break;
    case ControlKind::ListView:
      SendMessageW(control, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
                   LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
      break;
    default:
      break;
  }
}
}  // namespace

std::wstring WideCaption(std::u8string_view caption) { return WideFromText(TextFromUtf8Source(caption)); }

std::wstring WindowText(HWND hwnd) {
  std::wstring text(GetWindowTextLengthW(hwnd) + 1, L'\0');
  text.resize(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size())));
  return text;
}

const wchar_t* ControlClassName(ControlKind kind) {
  switch (kind) {
    case ControlKind::StatusBar: return STATUSCLASSNAMEW;
    case ControlKind::TabControl: return WC_TABCONTROLW;
    case ControlKind::Label: return WC_STATICW;
    case ControlKind::Edit: return WC_EDITW;
    case ControlKind::Button:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
    case ControlKind::GroupBox: return WC_BUTTONW;
    case ControlKind::ListView: return WC_LISTVIEWW;
    case ControlKind::DropDownList: return WC_COMBOBOXW;
    case ControlKind::ListBox: return WC_LISTBOXW;
    case ControlKind::ProgressBar: return PROGRESS_CLASSW;
    case ControlKind::Timer: break;
  }
  return nullptr;
}

int ControlIdentifier(const ControlSpec& entry) {
  return kFirstControlId + static_cast<int>(&entry - ControlTable().data());
}

HWND CreateControl(const ControlSpec& entry, HWND parent, int shownPage) {
  // Controls inside a group box show and hide with it; a page's own
  // controls with their page.
  bool shown = entry.page == 0 || entry.page == shownPage || FindControl(entry.parent)->kind == ControlKind::GroupBox;
  DWORD style = WS_CHILD | KindStyle(entry) | (shown ? WS_VISIBLE : 0) | (entry.enabled ? 0 : WS_DISABLED);
  int height = entry.kind == ControlKind::DropDownList ? entry.height + kDroppedListHeight : entry.height;
  HWND control = CreateWindowExW(KindExStyle(entry), ControlClassName(entry.kind), WideCaption(entry.caption).c_str(),
                                 style, entry.x, entry.y, entry.width, height, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlIdentifier(entry))), GetModuleHandleW(nullptr), nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  SetInitialState(entry, control);
  return control;
}

void SetUpResultList(HWND listView, const WindowSpec& window) {
  int index = 0;
  for (const ListColumnSpec& column : window.resultColumns) {
    std::wstring title = WideCaption(column.title);
    LVCOLUMNW item{};
    item.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    item.fmt = LVCFMT_LEFT;
    item.cx = column.width;
    item.pszText = title.data();
    item.iSubItem = index;
    SendMessageW(listView, LVM_INSERTCOLUMNW, index++, reinterpret_cast<LPARAM>(&item));
  }
}

void SetUpStatusBar(HWND statusBar, const WindowSpec& window) {
  int rightEdges[2] = {window.firstStatusPaneWidth, -1};
  SendMessageW(statusBar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(rightEdges));
  for (int pane = 0; pane < 2; ++pane)
    SendMessageW(statusBar, SB_SETTEXTW, pane, reinterpret_cast<LPARAM>(WideCaption(window.statusPanes[pane]).c_str()));
}

void SetUpTabs(HWND tabControl, const WindowSpec& window) {
  int index = 0;
  for (std::u8string_view tab : window.tabs) {
    std::wstring title = WideCaption(tab);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = title.data();
    SendMessageW(tabControl, TCM_INSERTITEMW, index++, reinterpret_cast<LPARAM>(&item));
  }
}

void SetUpFolderChoices(HWND comboBox, const WindowSpec& window) {
  for (std::u8string_view folder : window.folderChoices)
    SendMessageW(comboBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideCaption(folder).c_str()));
}
