// Starts Pellory.exe and looks at its real window from outside, the way a
// person or another tool sees it: every control found by its place and
// class, with its caption, size and state; then the tab switch and Esc.
//   window_probe_test PATH_OF_Pellory.exe
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <map>
#include <set>

#include "shell/win32/control_factory.h"
#include "shell/win32/scoped_win.h"
#include "shell/control_table.h"
#include "tests/shell/probe/window_probe.h"

namespace {
using namespace control;

std::wstring programPath;

// The class that the system gives each kind of control, as other tools see it.
const wchar_t* ExpectedClass(ControlKind kind) {
  switch (kind) {
    case ControlKind::StatusBar: return L"msctls_statusbar32";
    case ControlKind::TabControl: return L"SysTabControl32";
    case ControlKind::Label: return L"Static";
    case ControlKind::Edit: return L"Edit";
    case ControlKind::ListView: return L"SysListView32";
    case ControlKind::DropDownList: return L"ComboBox";
    case ControlKind::ListBox: return L"ListBox";
    case ControlKind::ProgressBar: return L"msctls_progress32";
    default: return L"Button";
  }
}

// Gives the window's thread time for the keys posted to it.
void LetKeysArrive(HWND window) {
  Sleep(300);
  SendMessageW(window, WM_NULL, 0, 0);
}

bool HasCaption(ControlKind kind) {
  return kind == ControlKind::Label || kind == ControlKind::Edit || kind == ControlKind::Button ||
         kind == ControlKind::CheckBox || kind == ControlKind::RadioButton || kind == ControlKind::GroupBox;
}

class PelloryWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + programPath + L"\"";
    PROCESS_INFORMATION started{};
    ASSERT_TRUE(CreateProcessW(programPath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &started))
        << "cannot start " << Narrow(programPath);
    process_ = ScopedHandle(started.hProcess);
    CloseHandle(started.hThread);  // the process is all the tests look at
    window_ = WaitForWindow(started.dwProcessId, L"PelloryMainWindow", 30000);
    ASSERT_NE(window_, nullptr) << "Pellory's window did not appear";
    for (const ProbedControl& found : ListControls(window_)) controls_.push_back(found);
    MatchTable();
  }

  void TearDown() override {
    // A program that outlived its test would hold the display for the next.
    if (process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) TerminateProcess(process_.Get(), 1);
  }

  // Finds each control of the table among the window's children by its
  // parent, its place and its class; a control that is missing, or in the
  // wrong place, is reported here.
  void MatchTable() {
    for (const ControlSpec& entry : ControlTable()) {
      if (entry.kind == ControlKind::Timer) continue;
      HWND parent = entry.parent.empty() ? window_ : named_[std::string(entry.parent)];
      auto candidate = [&](const ProbedControl& control) {
        return !matched_.count(control.hwnd) && control.parent == parent && control.place.left == entry.x &&
               control.place.top == entry.y && control.className == ExpectedClass(entry.kind);
      };
      // The two pages use some places twice; the size tells such controls apart.
      auto found = std::find_if(controls_.begin(), controls_.end(), [&](const ProbedControl& control) {
        return candidate(control) && control.place.right - control.place.left == entry.width &&
               control.place.bottom - control.place.top == entry.height;
      });
      if (found == controls_.end()) found = std::find_if(controls_.begin(), controls_.end(), candidate);
      if (found == controls_.end()) {
        ADD_FAILURE() << "no " << Narrow(ExpectedClass(entry.kind)) << " at " << entry.x << "," << entry.y << " for "
                      << entry.name;
        continue;
      }
      named_[std::string(entry.name)] = found->hwnd;
      matched_[found->hwnd] = &entry;
    }
  }

  const ProbedControl& Found(Name name) {
    HWND hwnd = named_.at(std::string(name));
    return *std::find_if(controls_.begin(), controls_.end(), [&](const ProbedControl& c) { return c.hwnd == hwnd; });
  }
  HWND Handle(Name name) { return named_.at(std::string(name)); }

  // Shows tab `page` (1 or 2) with the arrow keys, as a person can.
  void ShowPage(int page) {
    ASSERT_TRUE(ShowTab(Handle(选择夹1), page)) << "tab " << page << " did not come up";
    LetKeysArrive(window_);
  }

  bool WaitForExit(DWORD milliseconds) { return WaitForSingleObject(process_.Get(), milliseconds) == WAIT_OBJECT_0; }

  ScopedHandle process_;
  HWND window_ = nullptr;
  std::vector<ProbedControl> controls_;
  std::map<std::string, HWND> named_;
  std::map<HWND, const ControlSpec*> matched_;
};

TEST_F(PelloryWindow, FrameIsFixedCentredAndTitled) {
  const WindowSpec& entry = MainWindowSpec();
  wchar_t title[128] = {};
  GetWindowTextW(window_, title, 128);
  EXPECT_EQ(std::wstring(title), WideCaption(entry.title));
  RECT outer = OuterRect(window_);
  EXPECT_EQ(outer.right - outer.left, entry.outerWidth);
  EXPECT_EQ(outer.bottom - outer.top, entry.outerHeight);
  EXPECT_NEAR(outer.left, (GetSystemMetrics(SM_CXSCREEN) - entry.outerWidth) / 2, 1);
  EXPECT_NEAR(outer.top, (GetSystemMetrics(SM_CYSCREEN) - entry.outerHeight) / 2, 1);
  LONG_PTR style = GetWindowLongPtrW(window_, GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(GetWindowLongPtrW(window_, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

// Wine does not carry WM_GETICON between processes, so the icon is looked
// for where Windows finds it: in the program's resources.
TEST(PelloryProgram, CarriesItsIconManifestAndVersion) {
  HMODULE program = LoadLibraryExW(programPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(program, nullptr);
  EXPECT_NE(FindResourceW(program, MAKEINTRESOURCEW(1), RT_GROUP_ICON), nullptr);
  HRSRC manifest = FindResourceW(program, MAKEINTRESOURCEW(1), RT_MANIFEST);
  ASSERT_NE(manifest, nullptr);
  std::string text(static_cast<const char*>(LockResource(LoadResource(program, manifest))),
                   SizeofResource(program, manifest));
  EXPECT_NE(text.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
  HRSRC version = FindResourceW(program, MAKEINTRESOURCEW(1), RT_VERSION);
  ASSERT_NE(version, nullptr);
  const auto* fixed = reinterpret_cast<const VS_FIXEDFILEINFO*>(
      static_cast<const char*>(LockResource(LoadResource(program, version))) + 40);  // behind the block's header
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
  FreeLibrary(program);
}

TEST_F(PelloryWindow, EveryControlHasItsPlaceSizeCaptionAndState) {
  for (const auto& [hwnd, entry] : matched_) {
    SCOPED_TRACE(std::string(entry->name));
    const ProbedControl& found = Found(entry->name);
    EXPECT_EQ(found.place.right - found.place.left, entry->width);
    EXPECT_EQ(found.place.bottom - found.place.top, entry->height);
    if (HasCaption(entry->kind)) { EXPECT_EQ(Narrow(found.text), Narrow(WideCaption(entry->caption))); }
    EXPECT_EQ(found.enabled, entry->enabled);
    EXPECT_EQ(found.visible, entry->page != 2);  // the first tab is current
    if (entry->kind == ControlKind::CheckBox || entry->kind == ControlKind::RadioButton) {
      EXPECT_EQ(SendMessageW(hwnd, BM_GETCHECK, 0, 0), entry->checked ? BST_CHECKED : BST_UNCHECKED);
    }
    if (entry->kind == ControlKind::Edit) { EXPECT_EQ((found.style & ES_READONLY) != 0, entry->readOnly); }
    if (entry->kind == ControlKind::ProgressBar) {
      EXPECT_EQ(SendMessageW(hwnd, PBM_GETRANGE, FALSE, 0), 100);
      EXPECT_EQ(SendMessageW(hwnd, PBM_GETPOS, 0, 0), 0);
      EXPECT_TRUE(found.style & PBS_SMOOTH);
    }
  }
  // Nothing else is there but the result list's own column header.
  for (const ProbedControl& control : controls_)
    if (!matched_.count(control.hwnd)) { EXPECT_EQ(Narrow(control.className), "SysHeader32"); }
}

TEST_F(PelloryWindow, StylesAreThoseOfEachKind) {
  struct Kind {
    ControlKind kind;
    LONG_PTR buttonType;
  };
  for (const Kind& kind : {Kind{ControlKind::Button, BS_PUSHBUTTON}, Kind{ControlKind::CheckBox, BS_AUTOCHECKBOX},
                           Kind{ControlKind::RadioButton, BS_AUTORADIOBUTTON}, Kind{ControlKind::GroupBox, BS_GROUPBOX}})
    for (const auto& [hwnd, entry] : matched_)
      if (entry->kind == kind.kind) { EXPECT_EQ(Found(entry->name).style & BS_TYPEMASK, kind.buttonType) << entry->name; }

  for (const auto& [hwnd, entry] : matched_) {
    SCOPED_TRACE(std::string(entry->name));
    DWORD style = Found(entry->name).style;
    LONG_PTR extended = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    if (entry->kind == ControlKind::Label) {
      EXPECT_EQ(style & SS_TYPEMASK, static_cast<DWORD>(entry->label.centred ? SS_CENTER : SS_LEFT));
      EXPECT_EQ((style & SS_CENTERIMAGE) != 0, !entry->label.wraps);  // one line, centred vertically
      EXPECT_EQ((extended & WS_EX_STATICEDGE) != 0, entry->label.border);
    }
    if (entry->kind == ControlKind::ProgressBar) {
      EXPECT_TRUE(extended & WS_EX_STATICEDGE);
    }
    if (entry->kind == ControlKind::Edit || entry->kind == ControlKind::ListView) {
      EXPECT_TRUE(extended & WS_EX_CLIENTEDGE);
    }
  }

  DWORD list = Found(超级列表框_扫描结果).style;
  EXPECT_EQ(list & LVS_TYPEMASK, static_cast<DWORD>(LVS_REPORT));
  EXPECT_TRUE(list & LVS_SINGLESEL);
  EXPECT_FALSE(list & (LVS_EDITLABELS | LVS_SORTASCENDING | LVS_SORTDESCENDING | LVS_NOCOLUMNHEADER));
  LRESULT extended = SendMessageW(Handle(超级列表框_扫描结果), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
  EXPECT_TRUE(extended & LVS_EX_CHECKBOXES);
  EXPECT_TRUE(extended & LVS_EX_FULLROWSELECT);
  EXPECT_FALSE(extended & LVS_EX_GRIDLINES);
  EXPECT_EQ(SendMessageW(Handle(超级列表框_扫描结果), LVM_GETITEMCOUNT, 0, 0), 0);
  const WindowSpec& window = MainWindowSpec();
  for (int column = 0; column < 3; ++column) {
    EXPECT_EQ(ColumnTitle(Handle(超级列表框_扫描结果), column), WideCaption(window.resultColumns[column].title));
    EXPECT_EQ(SendMessageW(Handle(超级列表框_扫描结果), LVM_GETCOLUMNWIDTH, column, 0), window.resultColumns[column].width);
  }

  DWORD listBox = Found(列表框_NPK文件列表).style;
  EXPECT_TRUE(listBox & WS_VSCROLL);
  EXPECT_FALSE(listBox & (LBS_SORT | LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
  EXPECT_EQ(SendMessageW(Handle(列表框_NPK文件列表), LB_GETCOUNT, 0, 0), 0);

  for (Name combo : {组合框_区域服务器, 组合框_文件夹目录}) {
    EXPECT_EQ(Found(combo).style & 3, static_cast<DWORD>(CBS_DROPDOWNLIST)) << combo;
    EXPECT_EQ(SendMessageW(Handle(combo), CB_GETCURSEL, 0, 0), CB_ERR) << combo;
  }
  EXPECT_EQ(SendMessageW(Handle(组合框_区域服务器), CB_GETCOUNT, 0, 0), 0);
  ASSERT_EQ(SendMessageW(Handle(组合框_文件夹目录), CB_GETCOUNT, 0, 0), 3);
  for (int item = 0; item < 3; ++item) {
    wchar_t text[64] = {};
    SendMessageW(Handle(组合框_文件夹目录), CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(std::wstring(text), WideCaption(window.folderChoices[item]));
  }
}

TEST_F(PelloryWindow, TabsAndStatusBarShowTheirTexts) {
  const WindowSpec& window = MainWindowSpec();
  HWND tabs = Handle(选择夹1);
  ASSERT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(TabTitle(tabs, 0), WideCaption(window.tabs[0]));
  EXPECT_EQ(TabTitle(tabs, 1), WideCaption(window.tabs[1]));
  EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 0);
  EXPECT_FALSE(Found(选择夹1).style & (TCS_BOTTOM | TCS_MULTILINE | TCS_VERTICAL));

  HWND status = Handle(状态条1);
  EXPECT_EQ(StatusPaneRightEdges(status), (std::vector<int>{window.firstStatusPaneWidth, -1}));
  EXPECT_EQ(StatusPaneText(status, 0), WideCaption(window.statusPanes[0]));
  EXPECT_EQ(StatusPaneText(status, 1), WideCaption(window.statusPanes[1]));
}

TEST_F(PelloryWindow, SwitchingTabsShowsTheOtherPageAndKeepsTheFirst) {
  SendMessageW(Handle(选择框_大小对比), BM_CLICK, 0, 0);
  ShowPage(2);
  for (const auto& [hwnd, entry] : matched_)
    if (entry->page != 0) { EXPECT_EQ(IsWindowVisible(hwnd) != FALSE, entry->page == 2) << entry->name; }

  ShowPage(1);
  EXPECT_TRUE(IsWindowVisible(Handle(按钮_开始扫描)));
  EXPECT_FALSE(IsWindowVisible(Handle(列表框_NPK文件列表)));
  EXPECT_EQ(SendMessageW(Handle(选择框_大小对比), BM_GETCHECK, 0, 0), BST_CHECKED);
}

// Read off the screen: each label's text colour is there, and the white copy
// one pixel off appears exactly for the labels with a shadow.
TEST_F(PelloryWindow, LabelsShowTheirColoursAndShadows) {
  for (int page : {1, 2}) {
    if (page == 2) ShowPage(2);
    for (const auto& [hwnd, entry] : matched_) {
      if (entry->kind != ControlKind::Label || entry->page != page) continue;
      SCOPED_TRACE(std::string(entry->name));
      RECT inside;
      GetClientRect(hwnd, &inside);
      MapWindowPoints(hwnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&inside), 2);
      const std::vector<COLORREF> pixels = ScreenPixels(inside);
      const Rgb colour = entry->label.colour;
      const auto inColour = std::count(pixels.begin(), pixels.end(), RGB(colour.red, colour.green, colour.blue));
      const auto white = std::count(pixels.begin(), pixels.end(), RGB(255, 255, 255));
      EXPECT_GT(inColour, 0);
      if (entry->label.shadow) {
        EXPECT_GT(white, 0);
      } else {
        EXPECT_EQ(white, 0);
      }
    }
  }
}

TEST_F(PelloryWindow, EnterKeepsTheFocusAndEscCloses) {
  PressKey(window_, VK_TAB);  // into the first control that takes the focus
  LetKeysArrive(window_);
  HWND focused = FocusedControl(window_);
  ASSERT_NE(focused, nullptr);
  PressKey(focused, VK_RETURN);
  LetKeysArrive(window_);
  EXPECT_EQ(FocusedControl(window_), focused);
  EXPECT_FALSE(WaitForExit(0));

  PressKey(focused, VK_ESCAPE);
  ASSERT_TRUE(WaitForExit(10000)) << "Esc did not close the window";
  DWORD exitCode = 1;
  GetExitCodeProcess(process_.Get(), &exitCode);
  EXPECT_EQ(exitCode, 0u);
}

TEST_F(PelloryWindow, CloseIsGrantedWithoutAQuestion) {
  PostMessageW(window_, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitForExit(10000)) << (IsWindow(window_) ? "the window stays open" : "the window closed, the program stays");
}
}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc != 2) {
    fprintf(stderr, "usage: window_probe_test PATH_OF_Pellory.exe\n");
    return 2;
  }
  programPath = WindowsPathOfArgument(argv[1]);
  return RUN_ALL_TESTS();
}
