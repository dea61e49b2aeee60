#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "common/binary_reader.h"
#include "platform/seven_zip.h"
#include "unpacker/console_sink.h"
#include "unpacker/unpack_failure.h"

enum UnpackResult : int { Unpacked = 0, NotRecognised = 1, DigestMismatch = 2 };

// Reads one SPK container, rebuilds its content chunk by chunk and verifies
// it against the stored SHA-256 digest.
//
// The content is streamed to a temporary file beside the target and hashed
// as read back from disk; only a verified file is moved over the target, so
// memory stays flat and a good file already at the target is never lost.
// An interruption of the program (see platform/interruption.h) stops the
// work at its next step, and the temporary file goes as after a mismatch.
class ContainerUnpacker {
 public:
  ContainerUnpacker(ConsoleSink& console, ChunkInflater& inflater) : console_(console), inflater_(inflater) {}

  // The output is `outputDirectory` + `outputName`.
  UnpackResult Unpack(const std::string& spkPath, const std::string& outputName, const std::string& outputDirectory);

  // After DigestMismatch: what went wrong on the way, if anything did.
  const UnpackFailure& Failure() const { return failure_; }

 private:
  // A file being written, with the name a failure is reported under.
  struct Destination {
    File file;
    std::string path;
  };

  std::string ReadAndPrintHeader(BinaryReader& reader, const std::string& outputName);
  bool WriteContent(BinaryReader& reader, std::int32_t chunkCount, Destination& output);
  bool InflateChunk(BinaryReader& reader, std::int32_t chunk, std::int32_t size, Destination& output);
  void NoteInflation(const InflateStatus& status, std::int32_t chunk);
  bool CopyBytes(BinaryReader& reader, std::int64_t size, Destination& output);
  bool AppendFile(const std::string& path, Destination& output);
  bool Write(Destination& output, std::size_t size);
  void Note(UnpackFailure failure);

  ConsoleSink& console_;
  ChunkInflater& inflater_;
  std::vector<std::uint8_t> piece_;
  UnpackFailure failure_;
};
