#include "platform/win32/hidden_program.h"

#include <windows.h>

#include "platform/hidden_program.h"
#include "platform/win32/native_text.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/stopped_on_interruption.h"

HiddenProcessEnd RunCommandLineHidden(const std::string& commandLine, const std::string& workingDirectory) {
  std::wstring command = WideFromText(commandLine);
  const std::wstring folder = WideFromText(workingDirectory);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &started))
    return {};
  ScopedHandle process(started.hProcess), thread(started.hThread);
  {
    StoppedOnInterruption stopped(process.Get());
    WaitForSingleObject(process.Get(), INFINITE);
  }
  DWORD exitCode = 0;
  GetExitCodeProcess(process.Get(), &exitCode);
  return {true, static_cast<int>(exitCode)};
}

std::string UnpackerProgramPath(const std::string& folder) { return folder + "\\Ferrule.exe"; }

bool RunHiddenAndWait(const std::string& program, const std::string& argument) {
  return RunCommandLineHidden("\"" + program + "\"  \"" + argument + "\"", {}).started;
}
