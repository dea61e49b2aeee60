#pragma once
// Builds SPK containers, for the tests, the benchmark and the sample data.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::int32_t kStoredChunk = 0;
inline constexpr std::int32_t kCompressedChunk = 1;

struct SpkChunk {
  std::int32_t kind = kStoredChunk;
  Bytes data;  // stored: the content; compressed: what 7-Zip unpacks
};

// The header and the first `tableEntries` entries of the chunk table.
Bytes SpkHeaderBytes(const std::string& defaultPath, std::int32_t unpackedSize, const Bytes& digest,
                     std::int32_t chunkCount, std::int32_t tableEntries);
Bytes SpkChunkRecordStart(std::int32_t kind, std::int32_t dataSize);

struct SpkImage {
  std::string defaultPath = "ImagePacks2\\sprite.NPK";
  std::optional<std::int32_t> unpackedSize;   // the content's size when absent
  std::optional<Bytes> digest;                // the content's SHA-256 when absent
  std::optional<std::int32_t> chunkCount;     // the number of chunks when absent
  std::vector<SpkChunk> chunks;
  Bytes content;                              // what the chunks unpack to
};

Bytes EncodeSpk(const SpkImage& image);

Bytes Sha256Of(const Bytes& bytes);
void AppendInt32(Bytes& bytes, std::int32_t value);
