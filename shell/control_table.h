#pragma once
// The window written down once, as data: both backends build from it.
#include <span>
#include <string_view>

#include "shell/control_names.h"

enum class ControlKind {
  Timer,
  StatusBar,
  TabControl,
  Label,
  Edit,          // single line
  Button,
  CheckBox,
  RadioButton,
  GroupBox,
  ListView,      // report style with check boxes
  DropDownList,  // no typing
  ListBox,
  ProgressBar,
};

// What a control's event is, and so which handler the wiring gives it.
enum class ControlEvent { None, Clicked, ItemChosen, DoubleClicked, KeyDown, Tick };

struct Rgb {
  unsigned char red, green, blue;
};

struct LabelStyle {
  Rgb colour{0, 0, 0};
  std::u8string_view face;  // empty: the default GUI font
  int height = 0;           // character height in pixels; 0: the default
  bool bold = false;
  bool centred = false;
  bool wraps = false;
  bool shadow = false;  // white copy one pixel right and below, then the colour
  bool border = false;  // thin sunken edge
};

struct ControlSpec {
  control::Name name;
  ControlKind kind;
  control::Name parent;  // empty: the window; otherwise the tab control or a group box
  int page;              // 0: window level; 1 or 2: the tab page
  int x, y, width, height;
  std::u8string_view caption;
  bool enabled = true;
  bool checked = false;
  bool readOnly = false;
  ControlEvent event = ControlEvent::None;
  LabelStyle label{};
};

struct ListColumnSpec {
  std::u8string_view title;
  int width;
};

struct WindowSpec {
  std::u8string_view title;
  int outerWidth, outerHeight;
  std::u8string_view tabs[2];
  std::u8string_view statusPanes[2];
  int firstStatusPaneWidth;
  ListColumnSpec resultColumns[3];
  std::u8string_view folderChoices[3];
};

std::span<const ControlSpec> ControlTable();
const ControlSpec* FindControl(std::string_view name);
const WindowSpec& MainWindowSpec();
