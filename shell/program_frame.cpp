#include "shell/program_frame.h"

#include "shell/handler_wiring.h"

namespace {
// Runs the shut-down routine once when the program ends, whichever way the
// message loop is left.
class ShutDownAtEnd {
 public:
  explicit ShutDownAtEnd(std::function<void()> routine) : routine_(std::move(routine)) {}
  ShutDownAtEnd(const ShutDownAtEnd&) = delete;
  ShutDownAtEnd& operator=(const ShutDownAtEnd&) = delete;
  ~ShutDownAtEnd() { routine_(); }

 private:
  std::function<void()> routine_;
};
}  // namespace

ProgramFrame::ProgramFrame(std::string runDirectory, std::unique_ptr<DownloadEngine> engine)
    : runDirectory_(std::move(runDirectory)), engine_(std::move(engine)) {}

int ProgramFrame::Run(MainWindowHost& host) {
  phase_ = ProgramPhase::Starting;
  state_ = CreateProgramState(runDirectory_, std::move(engine_));
  ShutDownAtEnd shutDown([this] { ShutDown(); });
  Window& window = host.CreateMainWindow();
  WireHandlers(window, *state_);
  phase_ = ProgramPhase::Running;
  host.ShowAndRunUntilClosed();
  return 0;
}

void ProgramFrame::ShutDown() {
  phase_ = ProgramPhase::Ending;
  ReleaseProgramState(*state_);
  phase_ = ProgramPhase::Ended;
}
