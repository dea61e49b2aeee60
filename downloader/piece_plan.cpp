#include "downloader/piece_plan.h"

#include <algorithm>

std::vector<ByteSpan> PlanPieces(const std::vector<ByteSpan>& missing, std::int64_t fileSize, int connections) {
  std::vector<ByteSpan> pieces = missing;
  const std::size_t wanted = fileSize < kSmallFileSize ? 1 : static_cast<std::size_t>(std::max(connections, 1));
  while (pieces.size() < wanted) {
    auto largest = std::max_element(pieces.begin(), pieces.end(),
                                     [](const ByteSpan& a, const ByteSpan& b) { return a.Size() < b.Size(); });
    if (largest == pieces.end() || largest->Size() < 2 * kSmallestPiece) break;
    const std::int64_t middle = largest->first + largest->Size() / 2;
    const ByteSpan second{middle, largest->end};
    largest->end = middle;
    pieces.insert(largest + 1, second);
  }
  return pieces;
}
