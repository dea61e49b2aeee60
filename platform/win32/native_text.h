#pragma once
#include <string>
#include <string_view>

// GB18030 (code page 54936) texts to and from the wide texts that every
// system call takes, so Chinese paths work whatever the system code page.
std::wstring WideFromText(std::string_view text);
std::string TextFromWide(std::wstring_view wide);
