#pragma once
// Turns one row of the control table into a real child window.
#include <windows.h>

#include <string>
#include <string_view>

#include "shell/control_table.h"

// A caption of the window's description as the wide text the system shows.
std::wstring WideCaption(std::u8string_view caption);

// A control's caption or text as the system holds it.
std::wstring WindowText(HWND hwnd);

// The window class of a control's kind, as the system names it.
const wchar_t* ControlClassName(ControlKind kind);

// The identifier a control's window carries: its place in the control
// table after a base clear of IDOK and IDCANCEL, which the dialog keys send.
// Programs that work the window from outside find a control by it.
inline constexpr int kFirstControlId = 1000;
int ControlIdentifier(const ControlSpec& entry);

// Creates the control below `parent`, with its identifier, in its initial
// state; the controls of a page other than `shownPage` start hidden.
HWND CreateControl(const ControlSpec& entry, HWND parent, int shownPage);

// The parts of the window that the control table leaves to the window's
// description: the list view's columns, the status panes, the tabs and the
// folder choices.
void SetUpResultList(HWND listView, const WindowSpec& window);
void SetUpStatusBar(HWND statusBar, const WindowSpec& window);
void SetUpTabs(HWND tabControl, const WindowSpec& window);
void SetUpFolderChoices(HWND comboBox, const WindowSpec& window);
