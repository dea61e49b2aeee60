#pragma once
#include <string>
#include <string_view>

// The GB18030 text of UTF-8 source text. Message tables are written in UTF-8
// source files and turned into the programs' texts once, through this.
std::string TextFromUtf8Source(std::u8string_view source);
