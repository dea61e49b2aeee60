#include "downloader/byte_span.h"

#include <algorithm>

std::vector<ByteSpan> JoinSpans(std::vector<ByteSpan> spans) {
  std::sort(spans.begin(), spans.end(), [](const ByteSpan& a, const ByteSpan& b) { return a.first < b.first; });
  std::vector<ByteSpan> joined;
  for (const ByteSpan& span : spans) {
    if (span.Size() <= 0) continue;
    if (!joined.empty() && span.first <= joined.back().end)
      joined.back().end = std::max(joined.back().end, span.end);
    else
      joined.push_back(span);
  }
  return joined;
}

std::vector<ByteSpan> MissingSpans(const std::vector<ByteSpan>& have, std::int64_t size) {
  std::vector<ByteSpan> missing;
  std::int64_t next = 0;
  for (const ByteSpan& span : have) {
    if (span.first > next) missing.push_back({next, std::min(span.first, size)});
    next = std::max(next, span.end);
  }
  if (next < size) missing.push_back({next, size});
  std::erase_if(missing, [](const ByteSpan& span) { return span.Size() <= 0; });
  return missing;
}
