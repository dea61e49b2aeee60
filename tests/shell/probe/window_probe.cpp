#include "tests/shell/probe/window_probe.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "shell/win32/scoped_win.h"

namespace {
std::wstring TextOf(HWND hwnd) {
  // WM_GETTEXT is one of the messages the system carries between processes.
  std::wstring text(static_cast<std::size_t>(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
  LRESULT length = SendMessageW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

RECT PlaceInParent(HWND hwnd, HWND parent) {
  RECT rect;
  GetWindowRect(hwnd, &rect);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void AddChildren(HWND parent, std::vector<ProbedControl>& controls) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    controls.push_back({child, parent, ClassOf(child), TextOf(child), PlaceInParent(child, parent),
                        IsWindowEnabled(child) != FALSE, IsWindowVisible(child) != FALSE,
                        static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE))});
    AddChildren(child, controls);
  }
}

// A buffer inside the window's process, for the control messages whose
// answers the system does not carry between processes.
class RemoteBuffer {
 public:
  RemoteBuffer(HWND owner, std::size_t size) {
    DWORD processId = 0;
    GetWindowThreadProcessId(owner, &processId);
    process_ = ScopedHandle(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
    if (process_) address_ = VirtualAllocEx(process_.Get(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  ~RemoteBuffer() {
    if (address_) VirtualFreeEx(process_.Get(), address_, 0, MEM_RELEASE);
  }
  bool Usable() const { return address_ != nullptr; }
  char* Address() const { return static_cast<char*>(address_); }
  void Write(std::size_t offset, const void* data, std::size_t size) const {
    WriteProcessMemory(process_.Get(), Address() + offset, data, size, nullptr);
  }
  void Read(std::size_t offset, void* data, std::size_t size) const {
    ReadProcessMemory(process_.Get(), Address() + offset, data, size, nullptr);
  }

 private:
  ScopedHandle process_;
  void* address_ = nullptr;
};

constexpr int kTextRoom = 512;  // characters

// Sends a message whose structure points at a text buffer; both live in
// the other process, the structure first and the text behind it.
template <typename Item>
std::wstring RemoteItemText(HWND control, UINT message, WPARAM index, Item item, LPWSTR Item::*text,
                            int Item::*room) {
  RemoteBuffer buffer(control, sizeof(Item) + kTextRoom * sizeof(wchar_t));
  if (!buffer.Usable()) return {};
  item.*text = reinterpret_cast<LPWSTR>(buffer.Address() + sizeof(Item));
  item.*room = kTextRoom;
  buffer.Write(0, &item, sizeof item);
  SendMessageW(control, message, index, reinterpret_cast<LPARAM>(buffer.Address()));
  std::wstring result(kTextRoom, L'\0');
  buffer.Read(sizeof(Item), result.data(), kTextRoom * sizeof(wchar_t));
  result.resize(wcsnlen(result.c_str(), kTextRoom));
  return result;
}
}  // namespace

std::wstring WindowsPathOfArgument(const char* argument) {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(MultiByteToWideChar(CP_ACP, 0, argument, -1, path.data(), MAX_PATH - 1) - 1);
  return WindowsPath(path);
}

std::wstring WindowsPath(std::wstring path) {
  if (path.empty() || path[0] != L'/') return path;
  std::replace(path.begin(), path.end(), L'/', L'\\');
  return L"Z:" + path;
}

std::string Narrow(const std::wstring& text) {
  std::string narrow(text.size() * 3 + 1, '\0');
  int length = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), narrow.data(),
                                   static_cast<int>(narrow.size()), nullptr, nullptr);
  narrow.resize(length);
  return narrow;
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return name;
}

bool ShowTab(HWND tabControl, int page) {
  for (int waited = 0; waited < 5000; waited += 100) {
    LRESULT current = SendMessageW(tabControl, TCM_GETCURSEL, 0, 0);
    if (current == page - 1) return true;
    PressKey(tabControl, current < page - 1 ? VK_RIGHT : VK_LEFT);
    Sleep(100);
  }
  return false;
}

HWND WaitForWindow(DWORD processId, const wchar_t* className, DWORD timeoutMs) {
  for (DWORD waited = 0; waited <= timeoutMs; waited += 100) {
    for (HWND window = FindWindowExW(nullptr, nullptr, className, nullptr); window;
         window = FindWindowExW(nullptr, window, className, nullptr)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      if ((processId == 0 || owner == processId) && IsWindowVisible(window)) return window;
    }
    Sleep(100);
  }
  return nullptr;
}

std::vector<ProbedControl> ListControls(HWND window) {
  std::vector<ProbedControl> controls;
  AddChildren(window, controls);
  return controls;
}

RECT OuterRect(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  return rect;
}

std::wstring TabTitle(HWND tabControl, int index) {
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  return RemoteItemText(tabControl, TCM_GETITEMW, index, item, &TCITEMW::pszText, &TCITEMW::cchTextMax);
}

std::wstring ColumnTitle(HWND listView, int column) {
  LVCOLUMNW item{};
  item.mask = LVCF_TEXT;
  return RemoteItemText(listView, LVM_GETCOLUMNW, column, item, &LVCOLUMNW::pszText, &LVCOLUMNW::cchTextMax);
}

std::wstring StatusPaneText(HWND statusBar, int pane) {
  RemoteBuffer buffer(statusBar, kTextRoom * sizeof(wchar_t));
  if (!buffer.Usable()) return {};
  SendMessageW(statusBar, SB_GETTEXTW, pane, reinterpret_cast<LPARAM>(buffer.Address()));
  std::wstring text(kTextRoom, L'\0');
  buffer.Read(0, text.data(), kTextRoom * sizeof(wchar_t));
  text.resize(wcsnlen(text.c_str(), kTextRoom));
  return text;
}

std::vector<int> StatusPaneRightEdges(HWND statusBar) {
  constexpr int kMostPanes = 8;
  RemoteBuffer buffer(statusBar, kMostPanes * sizeof(int));
  if (!buffer.Usable()) return {};
  int panes = static_cast<int>(SendMessageW(statusBar, SB_GETPARTS, kMostPanes, reinterpret_cast<LPARAM>(buffer.Address())));
  std::vector<int> edges(panes > 0 && panes <= kMostPanes ? panes : 0);
  if (!edges.empty()) buffer.Read(0, edges.data(), edges.size() * sizeof(int));
  return edges;
}

std::vector<COLORREF> ScreenPixels(const RECT& rect) {
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  std::vector<COLORREF> pixels;
  if (width <= 0 || height <= 0) return pixels;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  GdiFlush();
  const auto* bgra = static_cast<const std::uint8_t*>(bits);
  for (int i = 0; i < width * height; ++i) pixels.push_back(RGB(bgra[4 * i + 2], bgra[4 * i + 1], bgra[4 * i]));
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

std::vector<HWND> DescendantsOf(HWND parent) {
  std::vector<HWND> found;
  EnumChildWindows(
      parent,
      [](HWND hwnd, LPARAM list) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

std::vector<HWND> OpenDialogs(DWORD processId) {
  struct Search {
    DWORD processId;
    std::vector<HWND> found;
  } search{processId, {}};
  EnumWindows(
      [](HWND hwnd, LPARAM data) {
        auto* search = reinterpret_cast<Search*>(data);
        DWORD process = 0;
        GetWindowThreadProcessId(hwnd, &process);
        if (process == search->processId && IsWindowVisible(hwnd) && ClassOf(hwnd) == L"#32770")
          search->found.push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool IsFolderDialog(HWND dialog) {
  for (HWND child : DescendantsOf(dialog))
    if (ClassOf(child) == WC_TREEVIEWW) return true;
  return false;
}

std::wstring SelectedFolderName(HWND dialog) {
  for (HWND tree : DescendantsOf(dialog)) {
    if (ClassOf(tree) != WC_TREEVIEWW) continue;
    DWORD_PTR item = 0;
    if (!SendMessageTimeoutW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0, SMTO_ABORTIFHUNG, 5000, &item) || !item) return {};
    TVITEMW query{};
    query.mask = TVIF_TEXT;
    query.hItem = reinterpret_cast<HTREEITEM>(item);
    return RemoteItemText(tree, TVM_GETITEMW, 0, query, &TVITEMW::pszText, &TVITEMW::cchTextMax);
  }
  return {};
}

void RequestFolderSelection(HWND dialog, const std::wstring& path) {
  const std::size_t size = (path.size() + 1) * sizeof(wchar_t);
  RemoteBuffer buffer(dialog, size);
  if (!buffer.Usable()) return;
  buffer.Write(0, path.c_str(), size);
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(buffer.Address()), SMTO_NORMAL,
                      10000, &ignored);
}

void DoubleClickListItem(HWND list, int index) {
  // Asked by number, not by a rectangle, so that it works on another
  // process's list as well.
  const LRESULT top = SendMessageW(list, LB_GETTOPINDEX, 0, 0);
  const LRESULT height = SendMessageW(list, LB_GETITEMHEIGHT, index, 0);
  POINT centre{20, static_cast<LONG>((index - top) * height + height / 2)};
  ClientToScreen(list, &centre);
  SetCursorPos(centre.x, centre.y);
  INPUT clicks[4]{};
  for (int i = 0; i < 4; ++i) {
    clicks[i].type = INPUT_MOUSE;
    clicks[i].mi.dwFlags = i % 2 == 0 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  }
  SendInput(4, clicks, sizeof(INPUT));
}

void PressKey(HWND target, WORD key) {
  UINT scanCode = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
  PostMessageW(target, WM_KEYDOWN, key, 1 | (scanCode << 16));
  PostMessageW(target, WM_KEYUP, key, 1 | (scanCode << 16) | (3u << 30));
}

HWND FocusedControl(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  return info.hwndFocus;
}
