#pragma once
// How the missing bytes of a file are shared out among connections.
#include <cstdint>
#include <vector>

#include "downloader/byte_span.h"

// Files below this size come over one connection: a second one would cost
// more in its start than it saves.
inline constexpr std::int64_t kSmallFileSize = 1 << 20;
// No piece is cut below this size.
inline constexpr std::int64_t kSmallestPiece = 256 << 10;

// The pieces to fetch, in file order: each missing span is a piece, and the
// largest pieces are halved until every connection can have one. The first
// piece always starts at the first missing byte.
std::vector<ByteSpan> PlanPieces(const std::vector<ByteSpan>& missing, std::int64_t fileSize, int connections);
