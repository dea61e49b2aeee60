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

// Creates the control below `parent` with the identifier `id`, in its
// initial state; the controls of a page other than `shownPage` start hidden.
HWND CreateControl(const ControlSpec& entry, HWND parent, int id, int shownPage);

// The parts of the window that the control table leaves to the window's
// description: the list view's columns, the status panes, the tabs and the
// folder choices.
void SetUpResultList(HWND listView, const WindowSpec& window);
void SetUpStatusBar(HWND statusBar, const WindowSpec& window);
void SetUpTabs(HWND tabControl, const WindowSpec& window);
void SetUpFolderChoices(HWND comboBox, const WindowSpec& window);
