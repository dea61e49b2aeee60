#pragma once
#include <string>
#include <string_view>

// GB18030 texts to and from the UTF-8 of file names and terminals.
//
// A file name on Linux is any string of bytes, and many an old archive
// unpacks GBK names as they are, which are not UTF-8. So that such a name
// still leads back to its own file, a byte that is not UTF-8 goes into the
// text as the byte 0xFF (never part of GB18030) followed by the byte itself,
// and comes back out as that byte alone: every name survives the way there
// and back unchanged. Other bytes that do not convert pass through as they are.
std::string Utf8FromText(std::string_view text);
std::string TextFromUtf8(std::string_view utf8);
