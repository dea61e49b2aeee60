#pragma once
// What the skin does with a window depends on what kind of control it is.
#include <windows.h>

enum class ControlKind : unsigned char {
  Frame,  // a top-level window or a dialog: the background under everything
  TabControl,
  PushButton,
  GroupBox,
  CheckBox,  // check boxes and radio buttons
  Static,
  Edit,
  ComboBox,
  ListBox,
  ListView,
  ProgressBar,
  StatusBar,
  Other,
};

// The kind of `hwnd`, from its class and its style.
ControlKind KindOf(HWND hwnd, DWORD style);
// A dialog box, such as a message box.
bool IsDialog(HWND hwnd);
