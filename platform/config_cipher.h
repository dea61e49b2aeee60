#pragma once
// The cipher behind the configuration file, from the platform's own service
// (CNG on Windows, OpenSSL elsewhere): PBKDF2-HMAC-SHA256 turns a password
// into a key, AES-256-GCM seals and opens, and the system supplies random
// bytes for salts and nonces. Both services give the same bytes, so a file
// sealed on one system opens on the other.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

inline constexpr std::size_t kCipherKeySize = 32;    // AES-256
inline constexpr std::size_t kCipherNonceSize = 12;  // the size GCM is built for
inline constexpr std::size_t kCipherTagSize = 16;

using CipherKey = std::array<std::uint8_t, kCipherKeySize>;
using ByteView = std::span<const std::uint8_t>;

// PBKDF2-HMAC-SHA256 of the password's bytes, filling `out` (any length).
// False when the service fails or refuses the arguments.
bool DerivePbkdf2Sha256(std::string_view password, ByteView salt, std::uint32_t iterations,
                        std::span<std::uint8_t> out);

// AES-256-GCM with a 12-byte nonce: the cipher text followed by the 16-byte
// tag. Nothing when the service fails.
std::optional<std::vector<std::uint8_t>> SealAes256Gcm(const CipherKey& key, ByteView nonce, ByteView associated,
                                                       ByteView plain);

// The reverse of SealAes256Gcm; nothing when the tag does not match the key,
// nonce, associated data and cipher text, or when the service fails.
std::optional<std::vector<std::uint8_t>> OpenAes256Gcm(const CipherKey& key, ByteView nonce, ByteView associated,
                                                       ByteView sealed);

// Fills `out` from the system's cryptographic random source.
bool FillRandom(std::span<std::uint8_t> out);
