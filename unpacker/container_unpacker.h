#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "common/binary_reader.h"
#include "unpacker/console_sink.h"
#include "platform/seven_zip.h"

enum UnpackResult : int { Unpacked = 0, NotRecognised = 1, DigestMismatch = 2 };

// Reads one SPK container, rebuilds its content chunk by chunk and verifies
// it against the stored SHA-256 digest.
//
// The content is streamed to a temporary file beside the target and hashed
// as read back from disk; only a verified file is moved over the target, so
// memory stays flat and a good file already at the target is never lost.
class ContainerUnpacker {
 public:
  ContainerUnpacker(ConsoleSink& console, ChunkInflater& inflater) : console_(console), inflater_(inflater) {}

  // The output is `outputDirectory` + `outputName`.
  UnpackResult Unpack(const std::string& spkPath, const std::string& outputName, const std::string& outputDirectory);

 private:
  std::string ReadAndPrintHeader(BinaryReader& reader, const std::string& outputName);
  bool WriteContent(BinaryReader& reader, std::int32_t chunkCount, File& output);
  bool InflateChunk(BinaryReader& reader, std::int32_t size, File& output);
  bool CopyBytes(BinaryReader& reader, std::int64_t size, File& output);
  bool AppendFile(const std::string& path, File& output);

  ConsoleSink& console_;
  ChunkInflater& inflater_;
  std::vector<std::uint8_t> piece_;
};
