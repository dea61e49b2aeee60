#include "unpacker/container_unpacker.h"

#include <algorithm>

#include "common/digest.h"
#include "unpacker/ferrule_texts.h"
#include "common/hex_text.h"

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
  File input = File::Open(spkPath, File::Mode::ReadWriteShared);
  FileSource source(input);
  BinaryReader reader(source);
  if (!HasMagic(reader)) return NotRecognised;

  const std::string storedDigest = ReadAndPrintHeader(reader, outputName);
  const std::int32_t chunkCount = reader.ReadInt32();
  console_.Write(kLineEnd + Texts().chunkCount + std::to_string(chunkCount) + Texts().chunkUnit);
  if (chunkCount > 0) reader.Skip(4LL * chunkCount);  // the chunk table is not used

  const std::string target = outputDirectory + outputName;
  std::string partPath;
  File part = CreateFileBeside(target, ".part", partPath);
  bool written = part.IsOpen() && WriteContent(reader, chunkCount, part);
  part.Close();
  input.Close();
  if (written && FileDigestText(partPath, kSha256) == storedDigest && MoveReplacing(partPath, target))
    return Unpacked;
  if (!partPath.empty()) RemoveFile(partPath);
  return DigestMismatch;
}

std::string ContainerUnpacker::ReadAndPrintHeader(BinaryReader& reader, const std::string& outputName) {
  const FerruleTexts& texts = Texts();
  console_.Write(kLineEnd + texts.fileToUnpack + outputName);
  console_.Write(kLineEnd + texts.defaultPath + reader.ReadText(kDefaultPathSize));
  reader.Skip(4);
  console_.Write(kLineEnd + texts.unpackedSize + std::to_string(reader.ReadInt32()) + texts.bytes);
  std::string storedDigest = HexText(reader.ReadBytes(kDigestSize));
  console_.Write(kLineEnd + texts.storedDigest + storedDigest);
  reader.Skip(4);
  return storedDigest;
}

bool ContainerUnpacker::WriteContent(BinaryReader& reader, std::int32_t chunkCount, File& output) {
  piece_.resize(kFilePieceSize);
  auto showProgress = [&](std::int32_t done) {
    console_.SetTitle(Texts().progress + std::to_string(done) + "/" + std::to_string(chunkCount));
  };
  for (std::int32_t i = 1; i <= chunkCount; ++i) {
    // Past the end every remaining chunk reads as empty, so a count far
    // beyond the file need not be walked through; the title shows the end.
    if (reader.AtEnd()) {
      showProgress(chunkCount);
      break;
    }
    const std::int32_t kind = reader.ReadInt32();
    const std::int32_t size = reader.ReadInt32();
    reader.Skip(kUnreadChunkFieldsSize);
    bool ok = kind == kCompressed ? InflateChunk(reader, size, output) : CopyBytes(reader, size, output);
    if (!ok) return false;
    showProgress(i);
  }
  return true;
}

bool ContainerUnpacker::InflateChunk(BinaryReader& reader, std::int32_t size, File& output) {
  const std::string folder = inflater_.SideFolder();
  const std::string packed = JoinPath(folder, "file.tmp");
  const std::string content = JoinPath(folder, "[Content]");
  RemoveFile(content);  // a left-over from an interrupted run must not be taken for this chunk's
  File packedFile = File::Open(packed, File::Mode::CreateOrEmpty);
  bool ok = true;
  if (packedFile.IsOpen()) {
    bool packedWritten = CopyBytes(reader, size, packedFile);
    packedFile.Close();
    if (packedWritten) inflater_.Inflate(packed, content);
    ok = AppendFile(content, output);
  } else {
    CopyBytes(reader, size, packedFile);  // keeps the reader at the next chunk
  }
  RemoveFile(content);
  RemoveFile(packed);
  return ok;
}

bool ContainerUnpacker::CopyBytes(BinaryReader& reader, std::int64_t size, File& output) {
  while (size > 0) {
    std::size_t got = reader.ReadInto(piece_.data(), static_cast<std::size_t>(std::min<std::int64_t>(size, piece_.size())));
    if (got == 0) break;
    if (output.IsOpen() && !output.Write(piece_.data(), got)) return false;
    size -= static_cast<std::int64_t>(got);
  }
  return true;
}

// A missing file appends nothing; only a failed write of the output fails.
bool ContainerUnpacker::AppendFile(const std::string& path, File& output) {
  File input = File::Open(path, File::Mode::ReadShared);
  while (input.IsOpen()) {
    std::size_t got = input.Read(piece_.data(), piece_.size());
    if (got == 0) break;
    if (!output.Write(piece_.data(), got)) return false;
  }
  return true;
}
