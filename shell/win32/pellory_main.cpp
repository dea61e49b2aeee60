// Pellory: the patch cleaner and foreign-server downloader with its window.
#include <windows.h>

#include <optional>

#include "platform/program.h"
#include "shell/program_frame.h"
#include "shell/win32/win32_window.h"

namespace {
class Win32Host final : public MainWindowHost {
 public:
  Window& CreateMainWindow() override { return window_.emplace(); }

  void ShowAndRunUntilClosed() override {
    window_->Show();
    window_->RunUntilClosed();
  }

 private:
  std::optional<Win32Window> window_;
};
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  Win32Host host;
  // The download engine joins the program with the downloader.
  ProgramFrame frame(RunDirectory(), nullptr);
  return frame.Run(host);
}
