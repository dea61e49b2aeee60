#pragma once
#include <string>
#include <string_view>

// A text that came from outside (an SPK header, a command line) made safe
// to show on a console: a byte that a terminal would take as a command (the
// controls below 0x20, 0x7F, and the C1 controls, which GB18030 can encode)
// or that belongs to no character shows as \xHH in hex. Every GBK and
// GB18030 character stays as it is.
std::string VisibleText(std::string_view text);
