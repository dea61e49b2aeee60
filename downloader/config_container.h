#pragma once
// The stored form of the configuration file (docs/config-format.md): a
// header with the key derivation's salt and iteration count, then the text
// sealed with AES-256-GCM under a key derived from the password, the whole
// header bound in as associated data. With an empty password the stored form
// is the plain text itself.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "downloader/config_key_cache.h"
#include "platform/config_cipher.h"

// Iterations of PBKDF2-HMAC-SHA256. The default keeps the first read of a
// file well under a third of a second under Wine; the reader refuses counts
// outside the limits, so that a hostile header cannot stall the program.
inline constexpr std::uint32_t kConfigDefaultIterations = 100'000;
inline constexpr std::uint32_t kConfigMinIterations = 1'000;
inline constexpr std::uint32_t kConfigMaxIterations = 10'000'000;

inline constexpr std::size_t kConfigDefaultSaltSize = 16;
inline constexpr std::size_t kConfigMinSaltSize = 16;
inline constexpr std::size_t kConfigMaxSaltSize = 64;

// What a sealing chooses; fresh random salt and nonce for every file.
struct ConfigSealing {
  std::vector<std::uint8_t> salt;
  std::array<std::uint8_t, kCipherNonceSize> nonce;
  std::uint32_t iterations;
};

// The text of a stored configuration; nothing when it can't be opened: a
// wrong password, a changed or missing byte, a header out of bounds.
std::optional<std::string> OpenConfigContainer(ByteView bytes, std::string_view password);
std::optional<std::string> OpenConfigContainer(ByteView bytes, std::string_view password, ConfigKeyCache& keys);

// The stored form of `text`, with a fresh salt and nonce and the default
// iterations; nothing when the system's cipher fails.
std::optional<std::vector<std::uint8_t>> SealConfigContainer(std::string_view text, std::string_view password);
// The same with the caller's choices; nothing when they are out of bounds.
std::optional<std::vector<std::uint8_t>> SealConfigContainer(std::string_view text, std::string_view password,
                                                             const ConfigSealing& sealing);
