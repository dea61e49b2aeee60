#pragma once
// A user in front of the real Win32 window, as the page tests play one.
//
// A window's messages are served by the thread that created it, so the test
// thread creates the window and serves it in RunUntilClosed while a second
// thread plays the user. The user posts clicks and keys (handled when the
// window's thread gets to them, as real ones are) and reads what is shown,
// through the Window interface and the dialogs' controls: messages sent to
// the window's thread, which answers them between its own. Every wait has a
// deadline: a step that does not happen fails the test with what is open on
// the screen, and everything is then closed so that RunUntilClosed returns.
#include <windows.h>

#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "shell/control_names.h"
#include "shell/win32/win32_window.h"

// A step takes well under a second; the margin is for a loaded test machine.
inline constexpr auto kStepTimeout = std::chrono::seconds(30);

// A whole run, for the watchdog: far more than the few seconds a run takes.
inline constexpr auto kRunTimeout = std::chrono::seconds(150);

// Ends the user's run early: a step that did not happen in time, or a
// state the next steps cannot start from.
struct RunStopped : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Waits until `done`, or stops the run after kStepTimeout.
void WaitFor(const std::string& what, const std::function<bool()>& done);

// A window's text, read with a deadline.
std::string TextOf(HWND hwnd);
// A text as terminals that show UTF-8 read it, for failure messages.
std::string Readable(const std::string& text);

// The texts a dialog shows in its static controls, the empty ones (icons) left out.
std::vector<std::string> StaticTextsOf(HWND dialog);
// The dialogs this process shows: the folder dialog and message boxes.
std::vector<HWND> OpenDialogs();
// The dialogs on screen, for a failure message.
std::string DescribeOpenDialogs();

struct MessageBoxSeen {
  HWND hwnd;
  std::string title, text;
};

class User {
 public:
  User(Win32Window& window, HWND main) : window_(window), main_(main) {}

  HWND Handle(control::Name name) const { return window_.ControlHandle(name); }

  // A user clicks only what can be clicked: a control that is shown and
  // enabled, in a window that no task-modal message box has disabled.
  void Click(control::Name name);
  void Tick(control::Name box);
  // A key pressed while `name` has the keyboard, once it can be used.
  void PressKey(control::Name name, WORD key);
  // Types `text` into an edit box, character by character.
  void Type(control::Name edit, const std::string& text);
  // Brings page `page` (1 or 2) of the tab control to the front, by keys.
  void ShowPage(int page);

  // Clicks `button`, checks that the folder dialog asks with `prompt`, picks
  // `folder` in it and presses OK; the page then shows the folder in `edit`.
  void ChooseFolder(control::Name button, const std::string& prompt, const std::string& folder, control::Name edit);

  MessageBoxSeen AwaitMessageBox(const std::string& after);
  void Dismiss(const MessageBoxSeen& box);

  // The end of a run that went as planned: nothing may still be open.
  void CloseWindow();
  // After a failure: cancels the folder dialog, confirms message boxes and
  // closes the window until nothing is left. If even that does not work the
  // test process ends here rather than leave the test run hanging.
  void CloseEverything();

 private:
  void AwaitUsable(control::Name name);

  Win32Window& window_;
  HWND main_;
};

// Shows the window and serves it on this thread while `play` acts as the
// user on another; returns once the window has closed.
void PlayAsUser(Win32Window& window, const std::function<void(User&)>& play);
