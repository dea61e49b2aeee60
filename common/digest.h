#pragma once
// Digests as the programs compare them: upper-case hex texts (see HexText).
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/hasher.h"

// The algorithm numbers the programs use: 0 and 1 MD5, 2 MD2, 3 MD4, 4 SHA-1,
// 5 SHA-256, 6 SHA-384, 7 SHA-512; any other number names none.
std::optional<HashAlgorithm> AlgorithmForNumber(std::int16_t algorithmNumber);

inline constexpr std::int16_t kSha256 = 5;

// Hex text of the digest; empty for an unknown number or a failed service.
std::string DigestText(std::span<const std::uint8_t> bytes, std::int16_t algorithmNumber);

// The same for content that arrives in pieces.
class DigestTextBuilder {
 public:
  explicit DigestTextBuilder(std::int16_t algorithmNumber);
  void Update(const void* data, std::size_t size);
  std::string Finish();

 private:
  std::optional<Hasher> hasher_;
};

// Hex text of the SHA-256 (or other) digest of a whole file, read in pieces;
// the digest of no bytes when the file cannot be read.
std::string FileDigestText(const std::string& path, std::int16_t algorithmNumber);
