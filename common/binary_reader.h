#pragma once
// One bounded reader for the little-endian files that come from outside
// (SPK containers, package lists). It never reads past the end, never
// allocates more than the rest of the file holds, and lets the position move
// beyond the end, where every read returns nothing.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/files.h"

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::int64_t Size() const = 0;
  // Reads up to `size` bytes at `offset` (which lies inside the source).
  virtual std::size_t ReadAt(std::int64_t offset, void* buffer, std::size_t size) = 0;
};

class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::int64_t Size() const override { return static_cast<std::int64_t>(bytes_.size()); }
  std::size_t ReadAt(std::int64_t offset, void* buffer, std::size_t size) override;

 private:
  std::span<const std::uint8_t> bytes_;
};

// Reads a file through a read-ahead buffer: a parser that takes a file apart
// field by field then costs one system call per buffer, not one (and a seek)
// per field. Reads never go past the size the file had when it was opened.
class FileSource final : public ByteSource {
 public:
  explicit FileSource(File& file) : file_(file), size_(file.Size() < 0 ? 0 : file.Size()) {}
  std::int64_t Size() const override { return size_; }
  std::size_t ReadAt(std::int64_t offset, void* buffer, std::size_t size) override;

 private:
  static constexpr std::size_t kReadAhead = 64 * 1024;

  bool BufferHolds(std::int64_t offset) const;
  // Refills the buffer from `offset`; false when nothing could be read there.
  bool FillBuffer(std::int64_t offset);
  std::size_t ReadFromFile(std::int64_t offset, void* buffer, std::size_t size);

  File& file_;
  std::int64_t size_;
  std::int64_t filePosition_ = -1;  // where the next plain read of the file lands
  std::vector<std::uint8_t> buffer_;
  std::int64_t bufferStart_ = 0;  // the offset of buffer_'s first byte
};

class BinaryReader {
 public:
  explicit BinaryReader(ByteSource& source) : source_(source) {}

  std::int64_t Position() const { return position_; }
  std::int64_t Size() const { return source_.Size(); }
  std::int64_t Remaining() const { return position_ < Size() ? Size() - position_ : 0; }
  bool AtEnd() const { return Remaining() == 0; }

  void MoveTo(std::int64_t position) { position_ = position < 0 ? 0 : position; }
  // Moves forward by `count`; a count of 0 or less leaves the position.
  void Skip(std::int64_t count);

  // A 32-bit little-endian value; bytes missing at the end count as zero.
  std::int32_t ReadInt32();
  // Up to `count` bytes; fewer at the end, none for a count of 0 or less.
  std::vector<std::uint8_t> ReadBytes(std::int64_t count);
  // `count` bytes consumed, taken as text up to the first zero byte.
  std::string ReadText(std::int64_t count);
  // Reads up to `size` bytes into `buffer`, for streaming large data.
  std::size_t ReadInto(void* buffer, std::size_t size);

 private:
  ByteSource& source_;
  std::int64_t position_ = 0;
};
