#pragma once
// A stretch of a file's bytes, from `first` up to but not including `end`.
#include <cstdint>
#include <vector>

struct ByteSpan {
  std::int64_t first = 0;
  std::int64_t end = 0;
  std::int64_t Size() const { return end - first; }
  bool operator==(const ByteSpan&) const = default;
};

// Sorted, with touching or overlapping spans joined and empty ones dropped.
std::vector<ByteSpan> JoinSpans(std::vector<ByteSpan> spans);
// The bytes of [0, size) that `have` (sorted and joined) leaves out.
std::vector<ByteSpan> MissingSpans(const std::vector<ByteSpan>& have, std::int64_t size);
