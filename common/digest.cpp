#include "common/digest.h"

#include <vector>

#include "platform/files.h"
#include "common/hex_text.h"

std::optional<HashAlgorithm> AlgorithmForNumber(std::int16_t algorithmNumber) {
  switch (algorithmNumber) {
    case 0:
    case 1: return HashAlgorithm::Md5;
    case 2: return HashAlgorithm::Md2;
    case 3: return HashAlgorithm::Md4;
    case 4: return HashAlgorithm::Sha1;
    case 5: return HashAlgorithm::Sha256;
    case 6: return HashAlgorithm::Sha384;
    case 7: return HashAlgorithm::Sha512;
    default: return std::nullopt;
  }
}

DigestTextBuilder::DigestTextBuilder(std::int16_t algorithmNumber) {
  if (auto algorithm = AlgorithmForNumber(algorithmNumber)) hasher_.emplace(*algorithm);
}

void DigestTextBuilder::Update(const void* data, std::size_t size) {
  if (hasher_) hasher_->Update(data, size);
}

std::string DigestTextBuilder::Finish() {
  if (!hasher_) return {};
  return HexText(hasher_->Finish());
}

std::string DigestText(std::span<const std::uint8_t> bytes, std::int16_t algorithmNumber) {
  DigestTextBuilder builder(algorithmNumber);
  builder.Update(bytes.data(), bytes.size());
  return builder.Finish();
}

std::string FileDigestText(const std::string& path, std::int16_t algorithmNumber) {
  DigestTextBuilder builder(algorithmNumber);
  File file = File::Open(path, File::Mode::ReadShared);
  std::vector<std::uint8_t> piece(kFilePieceSize);
  while (file.IsOpen()) {
    std::size_t got = file.Read(piece.data(), piece.size());
    if (got == 0) break;
    builder.Update(piece.data(), got);
  }
  return builder.Finish();
}
