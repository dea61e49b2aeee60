#pragma once
#include <string>

// How a program started hidden ended.
struct HiddenProcessEnd {
  bool started = false;
  int exitCode = 0;  // when started
};

// Starts `commandLine` (a GB18030 text, as CreateProcess takes it) with its
// window hidden, in `workingDirectory` or, when that is empty, the caller's
// current folder, and waits without time limit for its end. An interruption
// of this program ends the child, so that the wait ends too.
HiddenProcessEnd RunCommandLineHidden(const std::string& commandLine, const std::string& workingDirectory);
