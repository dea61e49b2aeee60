#include "common/binary_reader.h"

#include <algorithm>
#include <cstring>
#include <limits>

std::size_t MemorySource::ReadAt(std::int64_t offset, void* buffer, std::size_t size) {
  if (offset < 0 || offset >= Size()) return 0;
  std::size_t count = std::min(size, bytes_.size() - static_cast<std::size_t>(offset));
  std::memcpy(buffer, bytes_.data() + offset, count);
  return count;
}

std::size_t FileSource::ReadAt(std::int64_t offset, void* buffer, std::size_t size) {
  auto* out = static_cast<std::uint8_t*>(buffer);
  std::size_t done = 0;
  while (done < size) {
    const std::int64_t at = offset + static_cast<std::int64_t>(done);
    if (at < 0 || at >= size_) break;
    if (!BufferHolds(at)) {
      // A large read gains nothing from the buffer and would only be copied twice.
      if (size - done >= kReadAhead) return done + ReadFromFile(at, out + done, size - done);
      if (!FillBuffer(at)) break;
    }
    const std::size_t inBuffer = static_cast<std::size_t>(at - bufferStart_);
    const std::size_t count = std::min(size - done, buffer_.size() - inBuffer);
    std::memcpy(out + done, buffer_.data() + inBuffer, count);
    done += count;
  }
  return done;
}

bool FileSource::BufferHolds(std::int64_t offset) const {
  return offset >= bufferStart_ && offset - bufferStart_ < static_cast<std::int64_t>(buffer_.size());
}

bool FileSource::FillBuffer(std::int64_t offset) {
  const std::int64_t left = size_ - offset;
  buffer_.resize(static_cast<std::size_t>(std::min<std::int64_t>(left, kReadAhead)));
  buffer_.resize(ReadFromFile(offset, buffer_.data(), buffer_.size()));
  bufferStart_ = offset;
  return !buffer_.empty();
}

std::size_t FileSource::ReadFromFile(std::int64_t offset, void* buffer, std::size_t size) {
  const std::size_t limit = static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(size), size_ - offset));
  if (offset != filePosition_ && !file_.Seek(offset)) return 0;
  std::size_t got = file_.Read(buffer, limit);
  filePosition_ = offset + static_cast<std::int64_t>(got);
  return got;
}

void BinaryReader::Skip(std::int64_t count) {
  if (count <= 0) return;
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  position_ = count > kMax - position_ ? kMax : position_ + count;
}

std::int32_t BinaryReader::ReadInt32() {
  std::uint8_t bytes[4] = {0, 0, 0, 0};
  ReadInto(bytes, sizeof bytes);
  std::uint32_t value = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
  return static_cast<std::int32_t>(value);
}

std::vector<std::uint8_t> BinaryReader::ReadBytes(std::int64_t count) {
  std::vector<std::uint8_t> bytes;
  if (count <= 0) return bytes;
  std::int64_t available = std::min(count, Remaining());
  bytes.resize(static_cast<std::size_t>(available));
  bytes.resize(ReadInto(bytes.data(), bytes.size()));
  return bytes;
}

std::string BinaryReader::ReadText(std::int64_t count) {
  std::vector<std::uint8_t> bytes = ReadBytes(count);
  auto end = std::find(bytes.begin(), bytes.end(), 0);
  return std::string(bytes.begin(), end);
}

std::size_t BinaryReader::ReadInto(void* buffer, std::size_t size) {
  if (size == 0 || AtEnd()) return 0;
  std::size_t want = static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(size), Remaining()));
  std::size_t got = source_.ReadAt(position_, buffer, want);
  position_ += static_cast<std::int64_t>(got);
  return got;
}
