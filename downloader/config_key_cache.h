#pragma once
// Keys derived from a configuration password, kept in memory for the exact
// password, salt and iteration count they came from. Deriving is slow on
// purpose, and choosing one region reads the file three times; the file
// itself is still opened and read afresh every time. The window's thread and
// the download engine's thread read the file, so the cache is guarded.
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/config_cipher.h"

class ConfigKeyCache {
 public:
  using Derive = std::function<bool(std::string_view password, ByteView salt, std::uint32_t iterations,
                                    CipherKey& key)>;

  // Derives with PBKDF2-HMAC-SHA256, or with `derive` where a test counts.
  ConfigKeyCache();
  explicit ConfigKeyCache(Derive derive);

  // The key for these inputs, derived only when none is kept; nothing when
  // deriving fails.
  std::optional<CipherKey> KeyFor(std::string_view password, ByteView salt, std::uint32_t iterations);

 private:
  struct Entry {
    std::string password;
    std::vector<std::uint8_t> salt;
    std::uint32_t iterations;
    CipherKey key;
  };
  // A few files at most are read with one program; older keys make way.
  static constexpr std::size_t kCapacity = 4;

  Derive derive_;
  std::mutex mutex_;
  std::deque<Entry> entries_;  // the most recently used first
};

// The cache that the configuration readers share.
ConfigKeyCache& SharedConfigKeyCache();
