#pragma once
// Texts are 8-bit GB18030/GBK strings. A byte of 0x80 or above starts a
// double-byte character and takes the next byte along, so the second byte of
// a character (which can be 0x5C, a backslash) is never seen on its own.
#include <cstddef>
#include <string>
#include <string_view>

namespace gbk {

inline constexpr std::size_t npos = std::string_view::npos;

// Length in bytes of the character starting at `pos` (1 or 2; 1 at the end).
std::size_t CharLength(std::string_view text, std::size_t pos);

// 0-based position of the first `ch` at or after `from`, walking characters.
std::size_t FindChar(std::string_view text, char ch, std::size_t from = 0);

// 0-based position of the last `ch` that stands on a character boundary.
std::size_t FindLastChar(std::string_view text, char ch);

// 0-based position of the first match of `needle` that starts on a character
// boundary at or after `from`.
std::size_t FindText(std::string_view text, std::string_view needle, std::size_t from = 0);

// The substring rule of the programs: 1-based `start`; a start below 1 or
// beyond the end, or a length of 0 or less, gives the empty text; a length
// running past the end is cut there.
std::string Mid(std::string_view text, long long start, long long length);

}  // namespace gbk
