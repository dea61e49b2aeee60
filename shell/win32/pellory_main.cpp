// Pellory: the patch cleaner and foreign-server downloader with its window.
#include <windows.h>

#include <exception>
#include <optional>
#include <string>

#include "platform/download_transport.h"
#include "platform/program.h"
#include "platform/win32/native_text.h"
#include "shell/program_frame.h"
#include "shell/win32/carried_skin_library.h"
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
  // A fault that nothing planned for has closed the window and run the
  // shut-down by the time it arrives here; the program ends with a code
  // that tells it apart, and the reason goes to a debugger.
  try {
    Win32Host host;
    CarriedSkinLibrary skinLibrary;
    ProgramFrame frame(RunDirectory(), CreateDownloadEngine(CreateDownloadTransport()), skinLibrary);
    return frame.Run(host);
  } catch (const std::exception& fault) {
    OutputDebugStringW(WideFromText(std::string("Pellory stopped: ") + fault.what()).c_str());
  } catch (...) {
    OutputDebugStringW(L"Pellory stopped on an unknown fault");
  }
  return 1;
}
