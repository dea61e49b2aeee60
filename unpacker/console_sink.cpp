#include "unpacker/console_sink.h"

#include "platform/console.h"

void SystemConsole::Write(std::string_view text) { WriteConsoleText(text); }
void SystemConsole::WriteError(std::string_view text) { WriteErrorText(text); }
void SystemConsole::SetTitle(std::string_view title) { SetConsoleTitleText(title); }
void SystemConsole::Pause(int milliseconds) { PauseMilliseconds(milliseconds); }
