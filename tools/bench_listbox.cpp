// Times filling the second page's archive list box, shown in the real
// window, with a large folder, against two references in the same run:
//   - the same names added one by one into a hidden list box of the same
//     kind, where nothing is painted but every item is still stored and
//     counted on its own;
//   - a tenth of the names added one by one into the shown list box with
//     redrawing on and no storage reserved (the whole folder that way takes
//     minutes under Wine), against the same tenth in one go.
//
//   bench-listbox [names]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/win32/native_text.h"
#include "shell/control_names.h"
#include "shell/win32/win32_window.h"

namespace {
using Clock = std::chrono::steady_clock;
constexpr int kRounds = 5;

// Names as the game's archives are named, some with Chinese (GBK) words.
std::vector<std::string> Names(int count) {
  static const char* const kParts[] = {"sprite_character_swordman_equipment_avatar_coat",
                                       "sprite_map_dungeon_effect", "sounds_monster",
                                       "sprite_interface_\xd7\xb0\xb0\xe7"};
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) names.push_back(std::string(kParts[i % 4]) + "_" + std::to_string(i) + ".NPK");
  return names;
}

// The median of `rounds` runs of a fill and the painting it causes, in milliseconds.
template <typename Fill>
double TimeFill(Win32Window& window, HWND list, int rounds, Fill fill) {
  std::vector<double> times;
  for (int round = 0; round < rounds; ++round) {
    const auto start = Clock::now();
    fill();
    UpdateWindow(list);
    window.ProcessWaitingMessages();
    times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// A hidden list box with the style of the page's one.
HWND HiddenListBox(HWND like) {
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(like, GWL_STYLE)) & ~WS_VISIBLE;
  return CreateWindowExW(0, L"ListBox", L"", style, 0, 0, 637, 320, GetParent(like), nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}
}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 30000;
  const std::vector<std::string> names = Names(count);
  const std::vector<std::string> tenth(names.begin(), names.begin() + count / 10);
  const control::Name listBox = control::列表框_NPK文件列表;

  Win32Window window;
  window.Show();
  HWND list = window.ControlHandle(listBox);
  ShowWindow(list, SW_SHOW);  // the list box's page is not the first one
  window.ProcessWaitingMessages();
  HWND hidden = HiddenListBox(list);

  auto inOneGo = [&](const std::vector<std::string>& items) { window.ListSetItems(listBox, items); };
  auto oneByOne = [&](const std::vector<std::string>& items) {
    window.ListClear(listBox);
    for (const std::string& name : items) window.ListAppend(listBox, name);
  };
  const double whole = TimeFill(window, list, kRounds, [&] { inOneGo(names); });
  const double hiddenAdds = TimeFill(window, hidden, kRounds, [&] {
    SendMessageW(hidden, LB_RESETCONTENT, 0, 0);
    for (const std::string& name : names)
      SendMessageW(hidden, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideFromText(name).c_str()));
  });
  const double tenthInOneGo = TimeFill(window, list, kRounds, [&] { inOneGo(tenth); });
  const double tenthOneByOne = TimeFill(window, list, 1, [&] { oneByOne(tenth); });
  const int shown = window.ListCount(listBox);
  inOneGo(names);
  if (shown != static_cast<int>(tenth.size()) || window.ListCount(listBox) != count) {
    std::fprintf(stderr, "the list box did not hold the names it was given\n");
    return 1;
  }
  std::printf("filling the shown archive list box, median of %d rounds:\n", kRounds);
  std::printf("  %6d names in one go (no redraw, storage reserved): %9.1f ms\n", count, whole);
  std::printf("  %6d names one by one into a hidden list box:       %9.1f ms  (%.1f times as long)\n",
              count, hiddenAdds, hiddenAdds / whole);
  std::printf("  %6d names in one go:                               %9.1f ms\n", static_cast<int>(tenth.size()),
              tenthInOneGo);
  std::printf("  %6d names one by one, redraw on, one round:        %9.1f ms  (%.0f times as long)\n",
              static_cast<int>(tenth.size()), tenthOneByOne, tenthOneByOne / tenthInOneGo);
  return 0;
}
