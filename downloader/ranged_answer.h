#pragma once
// Whether an answer may be written where the engine meant to write it. A
// ranged answer counts only when it holds exactly the bytes asked for, of a
// file of the size already known; anything else would put foreign bytes
// into the file.
#include <cstdint>
#include <optional>
#include <string>

#include "downloader/transport.h"

struct ContentRange {
  std::int64_t first = 0;
  std::int64_t last = 0;  // counted, so the range holds last - first + 1 bytes
  std::int64_t total = 0;
};

// "bytes FIRST-LAST/TOTAL" with FIRST <= LAST < TOTAL; nothing for any other
// text, an unknown total ("*") included.
std::optional<ContentRange> ParseContentRange(const std::string& text);

// What was asked: `first` -1 for the whole file; `last` -1 for "to the end".
struct AskedRange {
  std::int64_t first = -1;
  std::int64_t last = -1;
  bool conditional = false;  // sent with If-Range
};

enum class AnswerVerdict {
  Ranged,         // 206 with exactly the bytes asked for
  WholeFile,      // 200: the whole file from its first byte
  FileChanged,    // 200 to a conditional range: the file is not the one on hand
  TotalChanged,   // 206 for a file of another size than the one known
  RangeMismatch,  // 206 for other bytes than asked, or not asked for, or unreadable
  Refused,        // an error or an answer the engine can't use: no file to be had
};

// `knownTotal` is the file's size learned earlier in the task, -1 if none.
AnswerVerdict JudgeAnswer(const ResponseHead& head, const AskedRange& asked, std::int64_t knownTotal);

// The validator that may vouch for a file on hand: a strong entity tag, else
// the date of last change; empty when the server gave neither.
std::string ChooseValidator(const std::string& etag, const std::string& lastModified);
