// Shows Pellory's window in one of the 33 skins, with a little content,
// for a few seconds: the screenshots of the skins are taken from it.
//   skin_showcase PATH_OF_SkinH_EL.dll SKIN_NUMBER PAGE SECONDS
// Prints the window's outer rectangle on the screen (x y width height)
// once it has been drawn.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/utf8_text.h"
#include "shell/control_names.h"
#include "shell/win32/win32_window.h"
#include "tests/skin/skin_resources.h"

namespace {
using namespace control;
using AttachFunction = int(__stdcall*)(const unsigned char*, int, const char*, int, int, int);

std::string T(std::u8string_view text) { return TextFromUtf8Source(text); }

void FillWithExamples(Win32Window& window) {
  window.SetText(编辑框_游戏目录, T(u8"D:\\地下城与勇士"));
  const char8_t* findings[][3] = {{u8"sprite_character_swordman_equipment_avatar_cap.NPK", u8"ImagePacks2", u8"非官方文件"},
                                  {u8"sprite_interface_newmap.NPK", u8"ImagePacks2", u8"大小不一致"},
                                  {u8"sprite_map_npc.NPK", u8"ImagePacks2", u8"非官方文件"}};
  for (const auto& finding : findings) {
    int row = window.AppendRow(超级列表框_扫描结果, T(finding[0]));
    window.SetCell(超级列表框_扫描结果, row, 1, T(finding[1]));
    window.SetCell(超级列表框_扫描结果, row, 2, T(finding[2]));
  }
  window.SetRowChecked(超级列表框_扫描结果, 0, true);
  window.SetProgressPosition(进度条_扫描, 100);
  window.SetEnabled(按钮_清理文件, true);
  for (const char8_t* region : {u8"韩服", u8"日服", u8"美服"}) window.ComboAppend(组合框_区域服务器, T(region));
  for (const char8_t* file : {u8"sprite_character_gunner.NPK", u8"sprite_character_mage.NPK", u8"sprite_map_town.NPK"})
    window.ListAppend(列表框_NPK文件列表, T(file));
  window.SetProgressPosition(进度条1, 60);
}

HWND shownWindow;

void CALLBACK CloseWindow(HWND, UINT, UINT_PTR, DWORD) { PostMessageW(shownWindow, WM_CLOSE, 0, 0); }
}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    fprintf(stderr, "usage: skin_showcase PATH_OF_SkinH_EL.dll SKIN_NUMBER PAGE SECONDS\n");
    return 2;
  }
  std::wstring library(MAX_PATH, L'\0');
  library.resize(MultiByteToWideChar(CP_UTF8, 0, argv[1], -1, library.data(), MAX_PATH) - 1);
  const std::vector<unsigned char> skin = SkinResource(atoi(argv[2]));
  HMODULE module = LoadLibraryW(library.c_str());
  auto attach = module ? reinterpret_cast<AttachFunction>(reinterpret_cast<void*>(GetProcAddress(module, "SkinH_AttachRes"))) : nullptr;
  if (!attach || skin.empty()) {
    fprintf(stderr, "skin_showcase: no skin library at %s, or no skin %s\n", argv[1], argv[2]);
    return 1;
  }
  Win32Window window;
  FillWithExamples(window);
  if (attach(skin.data(), static_cast<int>(skin.size()), "", 0, 0, 0) != 0) {
    fprintf(stderr, "skin_showcase: the library refused skin %s\n", argv[2]);
    return 1;
  }
  window.Show();
  HWND tabs = window.ControlHandle(选择夹1);
  HWND root = shownWindow = GetAncestor(tabs, GA_ROOT);
  SetForegroundWindow(root);
  if (atoi(argv[3]) == 2) {
    SetFocus(tabs);
    SendMessageW(tabs, WM_KEYDOWN, VK_RIGHT, 0);
  }
  SetFocus(window.ControlHandle(按钮_开始扫描));
  UpdateWindow(root);
  RECT outer;
  GetWindowRect(root, &outer);
  printf("%ld %ld %ld %ld\n", outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top);
  fflush(stdout);
  SetTimer(nullptr, 0, static_cast<UINT>(atoi(argv[4]) * 1000), CloseWindow);
  window.RunUntilClosed();
  return 0;
}
