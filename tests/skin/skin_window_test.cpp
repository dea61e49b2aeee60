// The skin library in Pellory's own window, which has one or more controls
// of every kind the library draws. The library is loaded by its full path
// and attached as Pellory attaches it, with a skin that the test carries
// as Pellory does; then the window is read back from the screen.
//   skin_window_test PATH_OF_SkinH_EL.dll
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "shell/control_names.h"
#include "shell/control_table.h"
#include "shell/win32/win32_window.h"
#include "skin/skin_format.h"
#include "tests/skin/skin_resources.h"

namespace {
using namespace control;
using AttachFunction = int(__stdcall*)(const unsigned char*, int, const char*, int, int, int);

std::wstring libraryPath;

// Lets the window's thread work off what is waiting: painting above all.
void Settle() {
  for (int round = 0; round < 6; ++round) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(50);
  }
}

// The colour on the screen at `x`, `y` of `hwnd`'s client area.
COLORREF ScreenColour(HWND hwnd, int x, int y) {
  POINT point{x, y};
  ClientToScreen(hwnd, &point);
  HDC screen = GetDC(nullptr);
  COLORREF colour = GetPixel(screen, point.x, point.y);
  ReleaseDC(nullptr, screen);
  return colour;
}

std::vector<COLORREF> ScreenPixels(HWND hwnd) {
  RECT inside;
  GetClientRect(hwnd, &inside);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < inside.bottom; ++y)
    for (int x = 0; x < inside.right; ++x) pixels.push_back(ScreenColour(hwnd, x, y));
  return pixels;
}

COLORREF Colour(const Skin& skin, SkinPart part) {
  SkinColour colour = skin[part];
  return RGB(colour.red, colour.green, colour.blue);
}

// What the skin must leave alone: everything a tool can read off a control.
struct ControlState {
  std::string name;
  std::wstring className, text;
  RECT place;
  LONG_PTR style, extendedStyle;
  bool enabled, visible;
  LRESULT check;
  bool operator==(const ControlState& other) const {
    return name == other.name && className == other.className && text == other.text &&
           EqualRect(&place, &other.place) && style == other.style && extendedStyle == other.extendedStyle &&
           enabled == other.enabled && visible == other.visible && check == other.check;
  }
};

void PrintTo(const ControlState& state, std::ostream* out) { *out << state.name; }

class SkinnedWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    library_ = LoadLibraryW(libraryPath.c_str());
    ASSERT_NE(library_, nullptr) << "SkinH_EL.dll did not load";
    attach_ = reinterpret_cast<AttachFunction>(reinterpret_cast<void*>(GetProcAddress(library_, "SkinH_AttachRes")));
    ASSERT_NE(attach_, nullptr) << "no export named SkinH_AttachRes";
    window_.Show();
    SetForegroundWindow(Root());
    Settle();
  }
  // The library stays loaded, as it does in Pellory: skinned windows of
  // later tests call into it.

  HWND Root() const { return GetAncestor(Handle(选择夹1), GA_ROOT); }
  HWND Handle(Name name) const { return window_.ControlHandle(name); }

  int Attach(const unsigned char* bytes, int size) {
    int result = attach_(bytes, size, "", 0, 0, 0);
    Settle();
    return result;
  }

  std::vector<ControlState> States() const {
    std::vector<ControlState> states;
    for (const ControlSpec& entry : ControlTable()) {
      if (entry.kind == ::ControlKind::Timer) continue;
      HWND hwnd = Handle(entry.name);
      ControlState state{std::string(entry.name), {}, {}, {}, GetWindowLongPtrW(hwnd, GWL_STYLE),
                         GetWindowLongPtrW(hwnd, GWL_EXSTYLE), IsWindowEnabled(hwnd) != FALSE,
                         IsWindowVisible(hwnd) != FALSE, SendMessageW(hwnd, BM_GETCHECK, 0, 0)};
      wchar_t className[64] = {};
      GetClassNameW(hwnd, className, 64);
      state.className = className;
      state.text.resize(GetWindowTextLengthW(hwnd) + 1);
      state.text.resize(GetWindowTextW(hwnd, state.text.data(), static_cast<int>(state.text.size())));
      GetWindowRect(hwnd, &state.place);
      MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&state.place), 2);
      states.push_back(state);
    }
    return states;
  }

  // The middle of a button's left side: its face, clear of its caption.
  COLORREF ButtonFace(Name button) const {
    RECT inside;
    GetClientRect(Handle(button), &inside);
    return ScreenColour(Handle(button), 4, inside.bottom / 2);
  }

  COLORREF WindowBackground() const { return ScreenColour(Root(), 1, 300); }  // left of the tab control
  COLORREF PageBackground() const { return ScreenColour(Handle(选择夹1), 4, 300); }  // left of the page's controls
  COLORREF EditBackground() const {
    RECT inside;
    GetClientRect(Handle(编辑框_游戏目录), &inside);
    return ScreenColour(Handle(编辑框_游戏目录), inside.right / 2, inside.bottom / 2);
  }

  Win32Window window_;
  HMODULE library_ = nullptr;
  AttachFunction attach_ = nullptr;
  const std::vector<unsigned char> skin9_ = SkinResource(9);
};

TEST_F(SkinnedWindow, ASkinThatIsNoSkinIsRefusedAndChangesNothing) {
  ASSERT_FALSE(skin9_.empty());
  const COLORREF window = WindowBackground(), button = ButtonFace(按钮_开始扫描), edit = EditBackground();
  const LRESULT list = SendMessageW(Handle(超级列表框_扫描结果), LVM_GETBKCOLOR, 0, 0);
  std::vector<unsigned char> wrongMagic = skin9_;
  wrongMagic[0] ^= 0xFF;
  const int size = static_cast<int>(skin9_.size());
  struct Case {
    const char* what;
    const unsigned char* bytes;
    int size;
  };
  for (const Case& c : {Case{"wrong magic", wrongMagic.data(), size}, Case{"cut short", skin9_.data(), size - 1},
                        Case{"size 0", skin9_.data(), 0}, Case{"size negative", skin9_.data(), -size},
                        Case{"no bytes", nullptr, size}}) {
    SCOPED_TRACE(c.what);
    EXPECT_NE(Attach(c.bytes, c.size), 0);
    EXPECT_EQ(WindowBackground(), window);
    EXPECT_EQ(ButtonFace(按钮_开始扫描), button);
    EXPECT_EQ(EditBackground(), edit);
    EXPECT_EQ(SendMessageW(Handle(超级列表框_扫描结果), LVM_GETBKCOLOR, 0, 0), list);
  }
  EXPECT_EQ(WindowBackground(), GetSysColor(COLOR_BTNFACE)) << "the window is not in its system colours";
}

TEST_F(SkinnedWindow, DrawsTheWindowInTheSkinsColours) {
  const std::optional<Skin> skin = ReadSkin(skin9_);
  ASSERT_TRUE(skin);
  ASSERT_EQ(Attach(skin9_.data(), static_cast<int>(skin9_.size())), 0);
  EXPECT_EQ(WindowBackground(), Colour(*skin, SkinPart::WindowBackground));
  EXPECT_EQ(PageBackground(), Colour(*skin, SkinPart::TabSelected));
  EXPECT_EQ(ButtonFace(按钮_开始扫描), Colour(*skin, SkinPart::ButtonFace));
  EXPECT_EQ(EditBackground(), Colour(*skin, SkinPart::EditBackground));
  HWND list = Handle(超级列表框_扫描结果);
  EXPECT_EQ(static_cast<COLORREF>(SendMessageW(list, LVM_GETBKCOLOR, 0, 0)), Colour(*skin, SkinPart::ListBackground));
  EXPECT_EQ(static_cast<COLORREF>(SendMessageW(list, LVM_GETTEXTCOLOR, 0, 0)), Colour(*skin, SkinPart::ListText));
  RECT inside;
  GetClientRect(list, &inside);
  EXPECT_EQ(ScreenColour(list, inside.right / 2, inside.bottom - 4), Colour(*skin, SkinPart::ListBackground));

  HWND progress = Handle(进度条_扫描);
  SendMessageW(progress, PBM_SETPOS, 50, 0);
  Settle();
  GetClientRect(progress, &inside);
  EXPECT_EQ(ScreenColour(progress, inside.right / 4, inside.bottom / 2), Colour(*skin, SkinPart::ProgressFill));
  EXPECT_EQ(ScreenColour(progress, inside.right * 3 / 4, inside.bottom / 2),
            Colour(*skin, SkinPart::ProgressBackground));
}

TEST_F(SkinnedWindow, ButtonsFollowTheMouseAndThePress) {
  const std::optional<Skin> skin = ReadSkin(skin9_);
  ASSERT_TRUE(skin);
  ASSERT_EQ(Attach(skin9_.data(), static_cast<int>(skin9_.size())), 0);
  HWND button = Handle(按钮_开始扫描);
  SendMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  Settle();
  EXPECT_EQ(ButtonFace(按钮_开始扫描), Colour(*skin, SkinPart::ButtonHover));
  SendMessageW(button, BM_SETSTATE, TRUE, 0);
  Settle();
  EXPECT_EQ(ButtonFace(按钮_开始扫描), Colour(*skin, SkinPart::ButtonPressed));
  SendMessageW(button, BM_SETSTATE, FALSE, 0);
  SendMessageW(button, WM_MOUSELEAVE, 0, 0);
  Settle();
  EXPECT_EQ(ButtonFace(按钮_开始扫描), Colour(*skin, SkinPart::ButtonFace));
}

TEST_F(SkinnedWindow, EveryControlKeepsItsPlaceTextAndState) {
  const std::vector<ControlState> before = States();
  RECT outerBefore, outerAfter;
  GetWindowRect(Root(), &outerBefore);
  ASSERT_EQ(Attach(skin9_.data(), static_cast<int>(skin9_.size())), 0);
  EXPECT_EQ(States(), before);
  GetWindowRect(Root(), &outerAfter);
  EXPECT_TRUE(EqualRect(&outerBefore, &outerAfter));
}

// The labels paint their own text colours and shadows; the skin gives them
// only its background, the page's colour, through their parent's
// WM_CTLCOLORSTATIC.
TEST_F(SkinnedWindow, LabelsKeepTheirColoursAndShadows) {
  const std::optional<Skin> skin = ReadSkin(skin9_);
  ASSERT_TRUE(skin);
  ASSERT_EQ(Attach(skin9_.data(), static_cast<int>(skin9_.size())), 0);
  HWND tabs = Handle(选择夹1);
  for (int page : {1, 2}) {
    if (page == 2) {
      SetFocus(tabs);
      SendMessageW(tabs, WM_KEYDOWN, VK_RIGHT, 0);
      Settle();
      ASSERT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 1);
    }
    for (const ControlSpec& entry : ControlTable()) {
      if (entry.kind != ::ControlKind::Label || entry.page != page) continue;
      SCOPED_TRACE(std::string(entry.name));
      HWND label = Handle(entry.name);
      const std::vector<COLORREF> pixels = ScreenPixels(label);
      const Rgb colour = entry.label.colour;
      EXPECT_GT(std::count(pixels.begin(), pixels.end(), RGB(colour.red, colour.green, colour.blue)), 0);
      const auto white = std::count(pixels.begin(), pixels.end(), RGB(255, 255, 255));
      if (entry.label.shadow) EXPECT_GT(white, 0);
      else EXPECT_EQ(white, 0);

      // The top left corner lies clear of the text, on the label's background.
      EXPECT_EQ(ScreenColour(label, 0, 0), Colour(*skin, SkinPart::TabSelected));
    }
  }
}
}  // namespace

// A Unix path, as ctest gives it, in the form Windows programs take.
std::wstring WindowsPath(const char* path) {
  std::wstring wide(MAX_PATH, L'\0');
  wide.resize(MultiByteToWideChar(CP_UTF8, 0, path, -1, wide.data(), MAX_PATH) - 1);
  if (wide.empty() || wide[0] != L'/') return wide;
  std::replace(wide.begin(), wide.end(), L'/', L'\\');
  return L"Z:" + wide;
}

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc != 2) {
    fprintf(stderr, "usage: skin_window_test PATH_OF_SkinH_EL.dll\n");
    return 2;
  }
  libraryPath = WindowsPath(argv[1]);
  return RUN_ALL_TESTS();
}
