#pragma once
#include <string_view>

// Standard output and the console title. Texts are GB18030; each platform
// shows them so that they read correctly (see the implementations).
void WriteConsoleText(std::string_view text);
// The same for standard error.
void WriteErrorText(std::string_view text);
// Whether standard error is a terminal, where a line that redraws itself reads well.
bool ErrorIsTerminal();
void SetConsoleTitleText(std::string_view title);
void PauseMilliseconds(int milliseconds);
