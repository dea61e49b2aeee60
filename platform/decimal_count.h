#pragma once
// Counts that servers send as decimal text (Content-Length, status codes,
// FTP sizes and ports), read the same way by every transport.
#include <cstdint>
#include <string_view>

// The value of plain decimal digits as 64 bits; -1 for anything else,
// including a text too long to fit.
inline std::int64_t ParseDecimalCount(std::string_view text) {
  if (text.empty() || text.size() > 18) return -1;
  std::int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}
