#include "shell/win32/win32_window.h"

#include <commctrl.h>
#include <shlobj.h>
#include <uxtheme.h>
#include <windowsx.h>

#include <stdexcept>
#include <utility>

#include "shell/win32/control_factory.h"
#include "shell/resources/resource_ids.h"
#include "platform/win32/native_text.h"

namespace {
constexpr wchar_t kClassName[] = L"PelloryMainWindow";
constexpr UINT_PTR kTimerId = 1;
// Other threads have handed work to the window's thread.
constexpr UINT kRunCallsMessage = WM_APP + 1;
// A key went down in an edit box with a key-down event; wParam is its
// identifier, lParam the key's code.
constexpr UINT kKeyDownMessage = WM_APP + 3;

// The tab control and the group boxes are the parents of their controls;
// what those controls tell their parent belongs to the window.
LRESULT CALLBACK ForwardToWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
      return SendMessageW(GetAncestor(hwnd, GA_ROOT), message, wParam, lParam);
    case WM_ERASEBKGND: {
      // The pages and the group boxes share the window's button-face
      // colour, as every label and box on them does; a group box paints
      // only its frame, and its parent leaves the group box's place to it.
      RECT inside;
      GetClientRect(hwnd, &inside);
      FillRect(reinterpret_cast<HDC>(wParam), &inside, GetSysColorBrush(COLOR_BTNFACE));
      return TRUE;
    }
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

// The edit box with a key-down event keeps Enter for itself, so that the
// key reaches its handler instead of the window's dialog keys.
LRESULT CALLBACK ReportKeyDown(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (message == WM_GETDLGCODE && lParam != 0) {
    const MSG* key = reinterpret_cast<const MSG*>(lParam);
    if (key->message == WM_KEYDOWN && key->wParam == VK_RETURN)
      return DefSubclassProc(hwnd, message, wParam, lParam) | DLGC_WANTMESSAGE;
  }
  if (message == WM_KEYDOWN) SendMessageW(GetAncestor(hwnd, GA_ROOT), kKeyDownMessage, GetDlgCtrlID(hwnd), wParam);
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

void RegisterWindowClass(WNDPROC proc) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = proc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_PELLORY));
  // Shared: the system keeps the icon, which a class needs as long as it lives.
  windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_PELLORY), IMAGE_ICON,
                                                      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                                      LR_SHARED));
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);
}

// The text of a list item; `lengthMessage` and `textMessage` are the pair
// of the list box or of the combo box.
std::string ItemText(HWND hwnd, UINT lengthMessage, UINT textMessage, int index) {
  LRESULT length = SendMessageW(hwnd, lengthMessage, index, 0);
  if (length < 0) return {};
  std::wstring text(length + 1, L'\0');
  LRESULT copied = SendMessageW(hwnd, textMessage, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied < 0 ? 0 : copied);
  return TextFromWide(text);
}
}  // namespace

Win32Window::Win32Window() : threadId_(GetCurrentThreadId()) {
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES |
                                                   ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
  InitCommonControlsEx(&classes);
  RegisterWindowClass(&WindowProc);
  const WindowSpec& entry = MainWindowSpec();
  window_ = CreateWindowExW(0, kClassName, WideCaption(entry.title).c_str(),
                            WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, CW_USEDEFAULT,
                            CW_USEDEFAULT, entry.outerWidth, entry.outerHeight, nullptr, nullptr,
                            GetModuleHandleW(nullptr), this);
  if (!window_) throw std::runtime_error("the main window could not be created");
  // The class icon draws the title bar; tools that ask the window itself
  // for its icon (task switchers, taskbars) get the same one.
  HINSTANCE instance = GetModuleHandleW(nullptr);
  for (auto [which, metric] : {std::pair{ICON_BIG, SM_CXICON}, std::pair{ICON_SMALL, SM_CXSMICON}}) {
    int size = GetSystemMetrics(metric);
    HANDLE icon = LoadImageW(instance, MAKEINTRESOURCEW(IDI_PELLORY), IMAGE_ICON, size, size, LR_SHARED);
    SendMessageW(window_, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
  }
  try {
    CreateControls();
  } catch (...) {
    DestroyWindow(window_);  // no destructor runs for a window that was never made whole
    throw;
  }
  calls_.Open(window_, kRunCallsMessage);
}

Win32Window::~Win32Window() {
  if (window_) DestroyWindow(window_);
}

void Win32Window::CreateControls() {
  controls_.reserve(ControlTable().size());
  for (const ControlSpec& entry : ControlTable()) {
    HWND parent = entry.parent.empty() ? window_ : Handle(entry.parent);
    HWND hwnd = entry.kind == ControlKind::Timer ? nullptr : CreateControl(entry, parent, 1);
    controls_.push_back({&entry, hwnd, nullptr, nullptr});
    if (entry.kind == ControlKind::Label) {
      SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(labels_.FontFor(entry)), FALSE);
      SetWindowSubclass(hwnd, PaintLabel, 0, reinterpret_cast<DWORD_PTR>(this));
    }
    if (entry.kind == ControlKind::GroupBox || entry.kind == ControlKind::TabControl)
      SetWindowSubclass(hwnd, ForwardToWindow, 0, 0);
    // A theme's page colour would set the page apart from its labels.
    if (entry.kind == ControlKind::TabControl) SetWindowTheme(hwnd, L" ", L" ");
  }
  const WindowSpec& window = MainWindowSpec();
  SetUpResultList(Handle(control::超级列表框_扫描结果), window);
  SetUpStatusBar(Handle(control::状态条1), window);
  SetUpTabs(Handle(control::选择夹1), window);
  SetUpFolderChoices(Handle(control::组合框_文件夹目录), window);
  for (const Control& control : controls_)
    if (control.entry->event == ControlEvent::KeyDown) SetWindowSubclass(control.hwnd, ReportKeyDown, 0, 0);
}

LRESULT CALLBACK Win32Window::PaintLabel(HWND label, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR window) {
  auto* self = reinterpret_cast<Win32Window*>(window);
  switch (message) {
    case WM_ERASEBKGND:
      return TRUE;  // the painting fills the background itself, without flicker
    case WM_PAINT:
      if (Control* control = self->ById(GetDlgCtrlID(label))) {
        try {
          self->labels_.Paint(*control->entry, label);
        } catch (...) {
          self->Fail(std::current_exception());
        }
        return 0;
      }
      break;
  }
  return DefSubclassProc(label, message, wParam, lParam);
}

LRESULT CALLBACK Win32Window::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    self->Fail(std::current_exception());
    return 0;
  }
}

void Win32Window::Fail(std::exception_ptr fault) {
  if (!fault_) fault_ = std::move(fault);
  if (window_ && !calls_.IsClosed()) DestroyWindow(window_);
}

LRESULT Win32Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      // Esc, through the dialog keys, closes the window as the close box does.
      if (LOWORD(wParam) == IDCANCEL) SendMessageW(window_, WM_CLOSE, 0, 0);
      else OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_NOTIFY: {
      const NMHDR* note = reinterpret_cast<const NMHDR*>(lParam);
      if (note->hwndFrom == Handle(control::选择夹1) && note->code == TCN_SELCHANGE) OnTabChanged();
      break;
    }
    case WM_TIMER:
      if (wParam == kTimerId) Run(At(control::时钟1));
      return 0;
    case kKeyDownMessage:
      if (Control* edit = ById(static_cast<int>(wParam)); edit && edit->keyHandler) {
        KeyHandler handler = edit->keyHandler;  // the handler may replace itself
        handler(static_cast<int>(lParam));
      }
      return 0;
    case kRunCallsMessage:
      calls_.RunQueued();
      return 0;
    case WM_CLOSE:
      // A close request is always granted, also while a scan or a download
      // runs: nothing is asked and nothing refused.
      DestroyWindow(window_);
      return 0;
    case WM_DESTROY:
      KillTimer(window_, kTimerId);
      // Threads that wait for the window go on now; the program may wait
      // for them next, without looking at messages any more.
      calls_.Close();
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY: {
      HWND closing = window_;
      SetWindowLongPtrW(closing, GWLP_USERDATA, 0);
      window_ = nullptr;
      return DefWindowProcW(closing, message, wParam, lParam);
    }
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

void Win32Window::OnCommand(int id, int notification) {
  Control* control = ById(id);
  if (!control) return;
  switch (control->entry->event) {
    case ControlEvent::Clicked:
      if (notification == BN_CLICKED) Run(*control);
      break;
    case ControlEvent::ItemChosen:
      if (notification == CBN_SELCHANGE) Run(*control);
      break;
    case ControlEvent::DoubleClicked:
      if (notification == LBN_DBLCLK) OnListBoxDoubleClick(*control);
      break;
    default:
      break;
  }
}

void Win32Window::OnListBoxDoubleClick(const Control& listBox) {
  // Only a double-click on an item counts, not one on the empty space below.
  DWORD where = GetMessagePos();
  POINT point{GET_X_LPARAM(where), GET_Y_LPARAM(where)};
  ScreenToClient(listBox.hwnd, &point);
  LRESULT hit = SendMessageW(listBox.hwnd, LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
  if (HIWORD(hit) == 0) Run(listBox);
}

void Win32Window::OnTabChanged() {
  int shown = static_cast<int>(SendMessageW(Handle(control::选择夹1), TCM_GETCURSEL, 0, 0)) + 1;
  // Hide the old page before showing the new one, so they never overlap.
  for (const Control& control : controls_)
    if (control.entry->parent == control::选择夹1 && control.entry->page != shown) ShowWindow(control.hwnd, SW_HIDE);
  for (const Control& control : controls_)
    if (control.entry->parent == control::选择夹1 && control.entry->page == shown) ShowWindow(control.hwnd, SW_SHOW);
}

void Win32Window::Run(const Control& control) {
  Handler handler = control.handler;  // the handler may replace itself
  if (handler) handler();
}

void Win32Window::Show() {
  const WindowSpec& entry = MainWindowSpec();
  int x = (GetSystemMetrics(SM_CXSCREEN) - entry.outerWidth) / 2;
  int y = (GetSystemMetrics(SM_CYSCREEN) - entry.outerHeight) / 2;
  SetWindowPos(window_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
}

void Win32Window::Dispatch(MSG& message) {
  // The dialog keys give Tab its walk through the controls and turn Esc
  // into IDCANCEL unless the focused control wants the key itself. Enter
  // becomes IDOK, which the window ignores: it does not move the focus.
  if (window_ && IsDialogMessageW(window_, &message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

void Win32Window::RunUntilClosed() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) Dispatch(message);
  if (fault_) std::rethrow_exception(std::exchange(fault_, nullptr));
}

void Win32Window::ProcessWaitingMessages() {
  if (!OnWindowThread()) return;  // another thread's messages are not the window's
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));  // for the message loop that waits outside
      return;
    }
    Dispatch(message);
  }
}

void Win32Window::RunOnWindowThread(Handler work) { calls_.Post(std::move(work)); }

void Win32Window::Change(const std::function<void()>& work) {
  if (calls_.IsClosed()) return;
  if (OnWindowThread()) work();
  else calls_.Call(work);
}

template <typename Work>
auto Win32Window::Read(const Work& work, decltype(work()) closedAnswer) const -> decltype(work()) {
  if (calls_.IsClosed()) return closedAnswer;
  if (OnWindowThread()) return work();
  decltype(work()) answer = closedAnswer;
  calls_.Call([&] { answer = work(); });
  return answer;
}

void Win32Window::SetHandler(std::string_view control, Handler handler) {
  Change([&] { At(control).handler = std::move(handler); });
}

void Win32Window::SetKeyHandler(std::string_view control, KeyHandler handler) {
  Change([&] { At(control).keyHandler = std::move(handler); });
}

Win32Window::Control* Win32Window::ById(int id) {
  std::size_t index = static_cast<std::size_t>(id - kFirstControlId);
  return id >= kFirstControlId && index < controls_.size() ? &controls_[index] : nullptr;
}

Win32Window::Control& Win32Window::At(std::string_view name) {
  for (Control& control : controls_)
    if (control.entry->name == name) return control;
  throw std::invalid_argument("no control named " + std::string(name));
}

const Win32Window::Control& Win32Window::At(std::string_view name) const {
  return const_cast<Win32Window*>(this)->At(name);
}

std::string Win32Window::Text(std::string_view control) const {
  return Read([&] { return TextFromWide(WindowText(Handle(control))); }, std::string());
}

void Win32Window::SetText(std::string_view control, const std::string& text) {
  Change([&] {
    HWND hwnd = Handle(control);
    SetWindowTextW(hwnd, WideFromText(text).c_str());
    if (At(control).entry->kind == ControlKind::Label) InvalidateRect(hwnd, nullptr, TRUE);
  });
}

bool Win32Window::IsEnabled(std::string_view control) const {
  return Read([&] { return IsWindowEnabled(Handle(control)) != FALSE; }, false);
}

void Win32Window::SetEnabled(std::string_view control, bool enabled) {
  Change([&] {
    HWND hwnd = Handle(control);
    // A disabled parent keeps the mouse from its controls; the focus must
    // leave them too, or the keyboard could still reach them.
    if (!enabled && IsChild(hwnd, GetFocus())) SetFocus(window_);
    EnableWindow(hwnd, enabled);
  });
}

bool Win32Window::IsChecked(std::string_view control) const {
  return Read([&] { return SendMessageW(Handle(control), BM_GETCHECK, 0, 0) == BST_CHECKED; }, false);
}

void Win32Window::SetChecked(std::string_view control, bool checked) {
  Change([&] {
    const Control& target = At(control);
    SendMessageW(target.hwnd, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!checked || target.entry->kind != ControlKind::RadioButton) return;
    for (const Control& other : controls_)
      if (&other != &target && other.entry->kind == ControlKind::RadioButton &&
          other.entry->parent == target.entry->parent)
        SendMessageW(other.hwnd, BM_SETCHECK, BST_UNCHECKED, 0);
  });
}

int Win32Window::ComboCurrent(std::string_view control) const {
  return Read([&] { return static_cast<int>(SendMessageW(Handle(control), CB_GETCURSEL, 0, 0)); }, -1);
}

int Win32Window::ComboCount(std::string_view control) const {
  return Read([&] { return static_cast<int>(SendMessageW(Handle(control), CB_GETCOUNT, 0, 0)); }, 0);
}

std::string Win32Window::ComboItem(std::string_view control, int index) const {
  return Read([&] { return ItemText(Handle(control), CB_GETLBTEXTLEN, CB_GETLBTEXT, index); }, std::string());
}

void Win32Window::ComboAppend(std::string_view control, const std::string& item) {
  Change([&] { SendMessageW(Handle(control), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideFromText(item).c_str())); });
}

void Win32Window::ListClear(std::string_view control) {
  Change([&] { SendMessageW(Handle(control), LB_RESETCONTENT, 0, 0); });
}

void Win32Window::ListAppend(std::string_view control, const std::string& item) {
  Change([&] { SendMessageW(Handle(control), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideFromText(item).c_str())); });
}

void Win32Window::ListSetItems(std::string_view control, const std::vector<std::string>& items) {
  std::vector<std::wstring> wide;
  wide.reserve(items.size());
  std::size_t storage = 0;
  for (const std::string& item : items) {
    wide.push_back(WideFromText(item));
    storage += (wide.back().size() + 1) * sizeof(wchar_t);
  }
  // One redraw at the end instead of one per item, and the list box's
  // storage taken at once instead of grown item by item.
  Change([&] {
    HWND list = Handle(control);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    SendMessageW(list, LB_INITSTORAGE, wide.size(), storage);
    for (const std::wstring& item : wide) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
  });
}

int Win32Window::ListCurrent(std::string_view control) const {
  return Read([&] { return static_cast<int>(SendMessageW(Handle(control), LB_GETCURSEL, 0, 0)); }, -1);
}

int Win32Window::ListCount(std::string_view control) const {
  return Read([&] { return static_cast<int>(SendMessageW(Handle(control), LB_GETCOUNT, 0, 0)); }, 0);
}

std::string Win32Window::ListItem(std::string_view control, int index) const {
  return Read([&] { return ItemText(Handle(control), LB_GETTEXTLEN, LB_GETTEXT, index); }, std::string());
}

int Win32Window::RowCount(std::string_view control) const {
  return Read([&] { return static_cast<int>(SendMessageW(Handle(control), LVM_GETITEMCOUNT, 0, 0)); }, 0);
}

void Win32Window::RemoveAllRows(std::string_view control) {
  Change([&] { SendMessageW(Handle(control), LVM_DELETEALLITEMS, 0, 0); });
}

void Win32Window::RemoveRow(std::string_view control, int row) {
  Change([&] { SendMessageW(Handle(control), LVM_DELETEITEM, row, 0); });
}

int Win32Window::AppendRow(std::string_view control, const std::string& firstColumn) {
  // Counting and inserting in one turn of the window's thread, so that the
  // row lands at the end whoever else appends.
  return Read(
      [&] {
        std::wstring text = WideFromText(firstColumn);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = RowCount(control);
        item.pszText = text.data();
        return static_cast<int>(SendMessageW(Handle(control), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
      },
      -1);
}

void Win32Window::SetCell(std::string_view control, int row, int column, const std::string& text) {
  Change([&] {
    std::wstring wide = WideFromText(text);
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = wide.data();
    SendMessageW(Handle(control), LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
  });
}

std::string Win32Window::Cell(std::string_view control, int row, int column) const {
  return Read(
      [&] {
        // The list view tells no text length: grow the buffer until the text fits.
        for (std::size_t size = 256;; size *= 2) {
          std::wstring text(size, L'\0');
          LVITEMW item{};
          item.iSubItem = column;
          item.pszText = text.data();
          item.cchTextMax = static_cast<int>(size);
          LRESULT length = SendMessageW(Handle(control), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
          if (static_cast<std::size_t>(length) + 1 < size) {
            text.resize(length);
            return TextFromWide(text);
          }
        }
      },
      std::string());
}

bool Win32Window::IsRowChecked(std::string_view control, int row) const {
  return Read(
      [&] {
        LRESULT state = SendMessageW(Handle(control), LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK);
        return (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
      },
      false);
}

void Win32Window::SetRowChecked(std::string_view control, int row, bool checked) {
  Change([&] {
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    SendMessageW(Handle(control), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
  });
}

int Win32Window::ProgressMaximum(std::string_view control) const {
  return Read([&] { return static_cast<int>(SendMessageW(Handle(control), PBM_GETRANGE, FALSE, 0)); }, 0);
}

void Win32Window::SetProgressMaximum(std::string_view control, int maximum) {
  Change([&] { SendMessageW(Handle(control), PBM_SETRANGE32, 0, maximum); });
}

int Win32Window::ProgressPosition(std::string_view control) const {
  return Read([&] { return static_cast<int>(SendMessageW(Handle(control), PBM_GETPOS, 0, 0)); }, 0);
}

void Win32Window::SetProgressPosition(std::string_view control, int position) {
  Change([&] { SendMessageW(Handle(control), PBM_SETPOS, position, 0); });
}

void Win32Window::SetTimerPeriod(std::string_view control, int milliseconds) {
  // Timers belong to the window's thread.
  Change([&] {
    At(control);  // a name that is no control is a fault, as for every other operation
    if (milliseconds > 0) SetTimer(window_, kTimerId, static_cast<UINT>(milliseconds), nullptr);
    else KillTimer(window_, kTimerId);
  });
}

void Win32Window::ShowMessage(const std::string& text, const std::string& title, int style) {
  // No owner window, on the calling thread; a box that is not system-modal
  // is task-modal, which disables the windows of the calling thread only.
  UINT modality = (style & MB_SYSTEMMODAL) ? 0 : MB_TASKMODAL;
  MessageBoxW(nullptr, WideFromText(text).c_str(), WideFromText(title).c_str(), static_cast<UINT>(style) | modality);
}

std::string Win32Window::BrowseFolder(const std::string& prompt) {
  return Read(
      [&] {
        std::wstring title = WideFromText(prompt);
        BROWSEINFOW browse{};
        browse.hwndOwner = window_;
        browse.lpszTitle = title.c_str();
        browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
        CoTaskMemPtr<PIDLIST_ABSOLUTE> chosen(SHBrowseForFolderW(&browse));
        if (!chosen) return std::string();
        std::wstring path(MAX_PATH, L'\0');
        if (!SHGetPathFromIDListW(chosen.get(), path.data())) return std::string();
        path.resize(wcslen(path.c_str()));
        return TextFromWide(path);
      },
      std::string());
}
