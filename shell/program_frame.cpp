#include "shell/program_frame.h"

#include <functional>

#include "shell/handler_wiring.h"

namespace {
// Runs the shut-down routine once when the program ends, whichever way the
// message loop is left, unless the program ends before it could start.
class ShutDownAtEnd {
 public:
  explicit ShutDownAtEnd(std::function<void()> routine) : routine_(std::move(routine)) {}
  ShutDownAtEnd(const ShutDownAtEnd&) = delete;
  ShutDownAtEnd& operator=(const ShutDownAtEnd&) = delete;
  ~ShutDownAtEnd() {
    if (routine_) routine_();
  }
  void Cancel() { routine_ = nullptr; }

 private:
  std::function<void()> routine_;
};
}  // namespace

ProgramFrame::ProgramFrame(std::string runDirectory, std::unique_ptr<DownloadEngine> engine,
                           SkinLibraryLoader& skinLibrary)
    : runDirectory_(std::move(runDirectory)), engine_(std::move(engine)), skinLibrary_(skinLibrary) {}

int ProgramFrame::Run(MainWindowHost& host) {
  phase_ = ProgramPhase::Starting;
  state_ = CreateProgramState(runDirectory_, std::move(engine_));
  ShutDownAtEnd shutDown([this] { ShutDown(); });
  Window& window = host.CreateMainWindow();
  WireHandlers(window, *state_);
  if (!OnWindowCreated(window)) {
    // Without its skin library the program ends at once: the window never
    // shows, and there is nothing of a run to shut down.
    shutDown.Cancel();
    phase_ = ProgramPhase::Ended;
    return kSkinLibraryUnusableExitCode;
  }
  phase_ = ProgramPhase::Running;
  host.ShowAndRunUntilClosed();
  return 0;
}

// The skin comes first, so that whatever the window shows at start is drawn
// in it; the pages then fill themselves.
bool ProgramFrame::OnWindowCreated(Window& window) {
  if (!AttachWindowSkin(runDirectory_, skinLibrary_, window)) return false;
  RunWindowCreatedHandlers(window, *state_);
  return true;
}

void ProgramFrame::ShutDown() {
  phase_ = ProgramPhase::Ending;
  ReleaseProgramState(*state_);
  phase_ = ProgramPhase::Ended;
}
