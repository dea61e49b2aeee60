#include "downloader/config_container.h"

#include <algorithm>

#include "common/binary_reader.h"

namespace {
constexpr std::array<std::uint8_t, 6> kMagic = {'P', 'L', 'Y', 'C', 'F', 'G'};
constexpr std::uint8_t kVersion = 1;

struct Header {
  std::uint32_t iterations;
  std::vector<std::uint8_t> salt;
  std::vector<std::uint8_t> nonce;
  std::size_t size;  // in bytes: what the tag covers as associated data
};

bool Admissible(std::size_t saltSize, std::uint32_t iterations) {
  return saltSize >= kConfigMinSaltSize && saltSize <= kConfigMaxSaltSize && iterations >= kConfigMinIterations &&
         iterations <= kConfigMaxIterations;
}

// The header, checked before any key is derived; nothing when it is cut
// short, not ours, or asks for more than the reader allows.
std::optional<Header> ReadHeader(BinaryReader& reader) {
  std::vector<std::uint8_t> start = reader.ReadBytes(kMagic.size() + 2);
  if (start.size() != kMagic.size() + 2 || !std::equal(kMagic.begin(), kMagic.end(), start.begin()) ||
      start[kMagic.size()] != kVersion)
    return std::nullopt;
  std::size_t saltSize = start[kMagic.size() + 1];
  auto iterations = static_cast<std::uint32_t>(reader.ReadInt32());
  if (!Admissible(saltSize, iterations)) return std::nullopt;
  Header header{iterations, reader.ReadBytes(static_cast<std::int64_t>(saltSize)),
                reader.ReadBytes(kCipherNonceSize), static_cast<std::size_t>(reader.Position())};
  if (header.salt.size() != saltSize || header.nonce.size() != kCipherNonceSize ||
      reader.Remaining() < static_cast<std::int64_t>(kCipherTagSize))
    return std::nullopt;
  return header;
}

std::vector<std::uint8_t> WriteHeader(const ConfigSealing& sealing) {
  std::vector<std::uint8_t> header(kMagic.begin(), kMagic.end());
  header.push_back(kVersion);
  header.push_back(static_cast<std::uint8_t>(sealing.salt.size()));
  for (int shift = 0; shift < 32; shift += 8) header.push_back(static_cast<std::uint8_t>(sealing.iterations >> shift));
  header.insert(header.end(), sealing.salt.begin(), sealing.salt.end());
  header.insert(header.end(), sealing.nonce.begin(), sealing.nonce.end());
  return header;
}

ByteView BytesOf(std::string_view text) { return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}; }
}  // namespace

std::optional<std::string> OpenConfigContainer(ByteView bytes, std::string_view password) {
  return OpenConfigContainer(bytes, password, SharedConfigKeyCache());
}

std::optional<std::string> OpenConfigContainer(ByteView bytes, std::string_view password, ConfigKeyCache& keys) {
  if (password.empty()) return std::string(bytes.begin(), bytes.end());
  MemorySource source(bytes);
  BinaryReader reader(source);
  std::optional<Header> header = ReadHeader(reader);
  if (!header) return std::nullopt;
  std::optional<CipherKey> key = keys.KeyFor(password, header->salt, header->iterations);
  if (!key) return std::nullopt;
  std::optional<std::vector<std::uint8_t>> text =
      OpenAes256Gcm(*key, header->nonce, bytes.first(header->size), bytes.subspan(header->size));
  if (!text) return std::nullopt;
  return std::string(text->begin(), text->end());
}

std::optional<std::vector<std::uint8_t>> SealConfigContainer(std::string_view text, std::string_view password) {
  if (password.empty()) return std::vector<std::uint8_t>(text.begin(), text.end());
  ConfigSealing sealing{std::vector<std::uint8_t>(kConfigDefaultSaltSize), {}, kConfigDefaultIterations};
  if (!FillRandom(sealing.salt) || !FillRandom(sealing.nonce)) return std::nullopt;
  return SealConfigContainer(text, password, sealing);
}

std::optional<std::vector<std::uint8_t>> SealConfigContainer(std::string_view text, std::string_view password,
                                                             const ConfigSealing& sealing) {
  if (password.empty()) return std::vector<std::uint8_t>(text.begin(), text.end());
  if (!Admissible(sealing.salt.size(), sealing.iterations)) return std::nullopt;
  CipherKey key;
  if (!DerivePbkdf2Sha256(password, sealing.salt, sealing.iterations, key)) return std::nullopt;
  std::vector<std::uint8_t> stored = WriteHeader(sealing);
  std::optional<std::vector<std::uint8_t>> sealed = SealAes256Gcm(key, sealing.nonce, stored, BytesOf(text));
  if (!sealed) return std::nullopt;
  stored.insert(stored.end(), sealed->begin(), sealed->end());
  return stored;
}
