#pragma once
#include <string>
#include <string_view>

// GB18030 texts to and from the UTF-8 of file names and terminals. A byte
// that does not convert is passed through unchanged, so nothing is dropped.
std::string Utf8FromText(std::string_view text);
std::string TextFromUtf8(std::string_view utf8);
