#include "tools/spk_writer.h"

#include <algorithm>

#include "platform/hasher.h"

void AppendInt32(Bytes& bytes, std::int32_t value) {
  std::uint32_t v = static_cast<std::uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(v >> shift));
}

Bytes Sha256Of(const Bytes& bytes) {
  Hasher hasher(HashAlgorithm::Sha256);
  hasher.Update(bytes.data(), bytes.size());
  return hasher.Finish();
}

Bytes SpkHeaderBytes(const std::string& defaultPath, std::int32_t unpackedSize, const Bytes& digest,
                     std::int32_t chunkCount, std::int32_t tableEntries) {
  Bytes bytes = {0x11, 0xB1, 0x01, 0x00};
  Bytes path(defaultPath.begin(), defaultPath.end());
  path.resize(260, 0);
  bytes.insert(bytes.end(), path.begin(), path.end());
  AppendInt32(bytes, 0);
  AppendInt32(bytes, unpackedSize);
  Bytes digestField = digest;
  digestField.resize(32, 0);
  bytes.insert(bytes.end(), digestField.begin(), digestField.end());
  AppendInt32(bytes, 0);
  AppendInt32(bytes, chunkCount);
  for (std::int32_t i = 0; i < tableEntries; ++i) AppendInt32(bytes, i);
  return bytes;
}

Bytes SpkChunkRecordStart(std::int32_t kind, std::int32_t dataSize) {
  Bytes bytes;
  AppendInt32(bytes, kind);
  AppendInt32(bytes, dataSize);
  bytes.resize(bytes.size() + 40, 0xCD);
  return bytes;
}

Bytes EncodeSpk(const SpkImage& image) {
  const std::int32_t count = image.chunkCount.value_or(static_cast<std::int32_t>(image.chunks.size()));
  Bytes bytes = SpkHeaderBytes(image.defaultPath, image.unpackedSize.value_or(static_cast<std::int32_t>(image.content.size())),
                               image.digest.value_or(Sha256Of(image.content)), count < 0 ? 0 : count,
                               // A count far beyond the file gets a table cut short, as a damaged file has.
                               std::clamp(count, 0, 1 << 16));
  if (count < 0) {
    // A negative count has no table; rewrite the field after the fact.
    Bytes field;
    AppendInt32(field, count);
    std::copy(field.begin(), field.end(), bytes.begin() + 308);
  }
  for (const SpkChunk& chunk : image.chunks) {
    Bytes record = SpkChunkRecordStart(chunk.kind, static_cast<std::int32_t>(chunk.data.size()));
    bytes.insert(bytes.end(), record.begin(), record.end());
    bytes.insert(bytes.end(), chunk.data.begin(), chunk.data.end());
  }
  return bytes;
}
