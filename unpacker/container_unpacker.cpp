#include "unpacker/container_unpacker.h"

#include <algorithm>

#include "common/digest.h"
#include "common/hex_text.h"
#include "platform/interruption.h"
#include "unpacker/ferrule_texts.h"
#include "unpacker/output_place.h"
#include "unpacker/visible_text.h"

namespace {
constexpr std::uint8_t kMagic[4] = {0x11, 0xB1, 0x01, 0x00};
constexpr std::int32_t kCompressed = 1;
constexpr std::int64_t kDefaultPathSize = 260;
constexpr std::int64_t kDigestSize = 32;
constexpr std::int64_t kUnreadChunkFieldsSize = 40;

bool HasMagic(BinaryReader& reader) {
  std::vector<std::uint8_t> magic = reader.ReadBytes(4);
  return magic.size() == 4 && std::equal(magic.begin(), magic.end(), kMagic);
}
}  // namespace

UnpackResult ContainerUnpacker::Unpack(const std::string& spkPath, const std::string& outputName,
                                       const std::string& outputDirectory) {
  failure_ = {};
  File input = File::Open(spkPath, File::Mode::ReadWriteShared);
  FileSource source(input);
  BinaryReader reader(source);
  if (!HasMagic(reader)) return NotRecognised;

  const std::string storedDigest = ReadAndPrintHeader(reader, outputName);
  const std::int32_t chunkCount = reader.ReadInt32();
  console_.Write(kLineEnd + Texts().chunkCount + std::to_string(chunkCount) + Texts().chunkUnit);
  if (chunkCount > 0) reader.Skip(4LL * chunkCount);  // the chunk table is not used

  const std::string target = outputDirectory + outputName;
  const std::string partStart = outputDirectory + PartFileStem(outputName);
  Destination part;
  part.file = CreateFileBeside(partStart, ".part", part.path);
  if (!part.file.IsOpen()) Note({UnpackFailure::Cause::NotCreated, partStart + ".part", {}, LastFileError()});
  bool written = part.file.IsOpen() && WriteContent(reader, chunkCount, part);
  part.file.Close();
  input.Close();
  if (written && FileDigestText(part.path, kSha256) == storedDigest) {
    if (MoveReplacing(part.path, target)) return Unpacked;
    Note({UnpackFailure::Cause::NotMoved, part.path, target, LastFileError()});
  }
  if (!part.path.empty()) RemoveFile(part.path);
  return DigestMismatch;
}

std::string ContainerUnpacker::ReadAndPrintHeader(BinaryReader& reader, const std::string& outputName) {
  const FerruleTexts& texts = Texts();
  console_.Write(kLineEnd + texts.fileToUnpack + VisibleText(outputName));
  console_.Write(kLineEnd + texts.defaultPath + VisibleText(reader.ReadText(kDefaultPathSize)));
  reader.Skip(4);
  console_.Write(kLineEnd + texts.unpackedSize + std::to_string(reader.ReadInt32()) + texts.bytes);
  std::string storedDigest = HexText(reader.ReadBytes(kDigestSize));
  console_.Write(kLineEnd + texts.storedDigest + storedDigest);
  reader.Skip(4);
  return storedDigest;
}

bool ContainerUnpacker::WriteContent(BinaryReader& reader, std::int32_t chunkCount, Destination& output) {
  piece_.resize(kFilePieceSize);
  auto showProgress = [&](std::int32_t done) {
    console_.SetTitle(Texts().progress + std::to_string(done) + "/" + std::to_string(chunkCount));
  };
  for (std::int32_t i = 1; i <= chunkCount; ++i) {
    if (Interrupted()) return false;
    // Past the end every remaining chunk reads as empty, so a count far
    // beyond the file need not be walked through; the title shows the end.
    if (reader.AtEnd()) {
      showProgress(chunkCount);
      break;
    }
    const std::int32_t kind = reader.ReadInt32();
    const std::int32_t size = reader.ReadInt32();
    reader.Skip(kUnreadChunkFieldsSize);
    bool ok = kind == kCompressed ? InflateChunk(reader, i, size, output) : CopyBytes(reader, size, output);
    if (!ok) return false;
    showProgress(i);
  }
  return true;
}

bool ContainerUnpacker::InflateChunk(BinaryReader& reader, std::int32_t chunk, std::int32_t size,
                                     Destination& output) {
  // A chunk with no data inflates to nothing; 7-Zip need not be started
  // only to say so.
  if (size <= 0 || reader.AtEnd()) {
    reader.Skip(size);
    return true;
  }
  const std::string folder = inflater_.SideFolder();
  const std::string content = JoinPath(folder, "[Content]");
  RemoveFile(content);  // a left-over from an interrupted run must not be taken for this chunk's
  Destination packed;
  packed.path = JoinPath(folder, "file.tmp");
  packed.file = File::Open(packed.path, File::Mode::CreateOrEmpty);
  bool ok = true;
  if (packed.file.IsOpen()) {
    bool packedWritten = CopyBytes(reader, size, packed);
    packed.file.Close();
    if (packedWritten) NoteInflation(inflater_.Inflate(packed.path, content), chunk);
    ok = !Interrupted() && AppendFile(content, output);
  } else {
    Note({UnpackFailure::Cause::NotCreated, packed.path, {}, LastFileError()});
    reader.Skip(size);
  }
  RemoveFile(content);
  RemoveFile(packed.path);
  return ok;
}

void ContainerUnpacker::NoteInflation(const InflateStatus& status, std::int32_t chunk) {
  if (!status.started) Note({UnpackFailure::Cause::SevenZipNotStarted, {}, {}, FileError::None, chunk});
  else if (status.exitCode != 0)
    Note({UnpackFailure::Cause::SevenZipFailed, {}, {}, FileError::None, chunk, status.exitCode});
}

bool ContainerUnpacker::CopyBytes(BinaryReader& reader, std::int64_t size, Destination& output) {
  while (size > 0 && !Interrupted()) {
    std::size_t got = reader.ReadInto(piece_.data(), static_cast<std::size_t>(std::min<std::int64_t>(size, piece_.size())));
    if (got == 0) break;
    if (!Write(output, got)) return false;
    size -= static_cast<std::int64_t>(got);
  }
  return !Interrupted();
}

// A missing file appends nothing; only a failed write of the output fails.
bool ContainerUnpacker::AppendFile(const std::string& path, Destination& output) {
  File input = File::Open(path, File::Mode::ReadShared);
  while (input.IsOpen() && !Interrupted()) {
    std::size_t got = input.Read(piece_.data(), piece_.size());
    if (got == 0) break;
    if (!Write(output, got)) return false;
  }
  return !Interrupted();
}

// Writes the first `size` bytes of the piece buffer.
bool ContainerUnpacker::Write(Destination& output, std::size_t size) {
  if (output.file.Write(piece_.data(), size)) return true;
  Note({UnpackFailure::Cause::NotWritten, output.path, {}, LastFileError()});
  return false;
}

// The first failure is the one that tells why; later ones follow from it.
void ContainerUnpacker::Note(UnpackFailure failure) {
  if (failure_.cause == UnpackFailure::Cause::None) failure_ = std::move(failure);
}
