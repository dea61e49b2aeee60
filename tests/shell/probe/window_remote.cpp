// Works Pellory's window from outside for the screenshot script:
//   window-remote wait      waits for the window, prints "x y width height"
//   window-remote tab N     shows tab N (1 or 2)
//   window-remote close     closes the window as its close box does
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tests/shell/probe/window_probe.h"

namespace {
constexpr wchar_t kWindowClass[] = L"PelloryMainWindow";

HWND TabControl(HWND window) {
  for (const ProbedControl& control : ListControls(window))
    if (control.className == WC_TABCONTROLW) return control.hwnd;
  return nullptr;
}

bool ShowPage(HWND window, int tab) {
  HWND tabs = TabControl(window);
  if (!tabs || !ShowTab(tabs, tab)) return false;
  Sleep(300);  // time for the page to show and paint
  return true;
}
}  // namespace

int main(int argc, char** argv) {
  const char* command = argc > 1 ? argv[1] : "";
  HWND window = WaitForWindow(0, kWindowClass, std::strcmp(command, "wait") == 0 ? 30000 : 1000);
  if (!window) {
    std::fprintf(stderr, "window-remote: Pellory's window is not there\n");
    return 1;
  }
  if (std::strcmp(command, "wait") == 0) {
    Sleep(500);  // time for the first paint
    RECT outer = OuterRect(window);
    std::printf("%ld %ld %ld %ld\n", outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top);
    return 0;
  }
  if (std::strcmp(command, "tab") == 0 && argc == 3) return ShowPage(window, std::atoi(argv[2])) ? 0 : 1;
  if (std::strcmp(command, "close") == 0) return PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
  std::fprintf(stderr, "usage: window-remote wait | tab N | close\n");
  return 2;
}
