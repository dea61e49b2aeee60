#pragma once
// Pellory's program frame: start-up, the window's message loop and
// shut-down, over whichever window the host provides.
#include <memory>
#include <string>

#include "shell/program_state.h"
#include "shell/window.h"
#include "shell/window_skin.h"

// The four states the program passes through.
enum class ProgramPhase { Starting, Running, Ending, Ended };

// The exit code of a program that cannot use its skin library.
inline constexpr int kSkinLibraryUnusableExitCode = -1;

// What the frame needs from a window system.
class MainWindowHost {
 public:
  virtual ~MainWindowHost() = default;
  // Creates the main window with every control in its initial state, not yet shown.
  virtual Window& CreateMainWindow() = 0;
  // Shows the window and serves it until it has closed.
  virtual void ShowAndRunUntilClosed() = 0;
};

class ProgramFrame {
 public:
  ProgramFrame(std::string runDirectory, std::unique_ptr<DownloadEngine> engine, SkinLibraryLoader& skinLibrary);

  // Runs the program from start-up to the end of shut-down; the exit code.
  int Run(MainWindowHost& host);

  ProgramPhase Phase() const { return phase_; }
  // The program-wide state, from the first step of start-up on.
  ProgramState& State() { return *state_; }

 private:
  bool OnWindowCreated(Window& window);
  void ShutDown();

  std::string runDirectory_;
  std::unique_ptr<DownloadEngine> engine_;
  SkinLibraryLoader& skinLibrary_;
  ProgramPhase phase_ = ProgramPhase::Starting;
  std::unique_ptr<ProgramState> state_;
};
