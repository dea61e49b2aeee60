#include "downloader/config_key_cache.h"

#include <algorithm>

namespace {
bool DeriveWithPbkdf2(std::string_view password, ByteView salt, std::uint32_t iterations, CipherKey& key) {
  return DerivePbkdf2Sha256(password, salt, iterations, key);
}
}  // namespace

ConfigKeyCache::ConfigKeyCache() : ConfigKeyCache(DeriveWithPbkdf2) {}

ConfigKeyCache::ConfigKeyCache(Derive derive) : derive_(std::move(derive)) {}

std::optional<CipherKey> ConfigKeyCache::KeyFor(std::string_view password, ByteView salt, std::uint32_t iterations) {
  // Held while deriving: a second reader of the same file waits for the key
  // instead of deriving it again.
  std::lock_guard lock(mutex_);
  auto found = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& entry) {
    return entry.iterations == iterations && entry.password == password &&
           std::ranges::equal(entry.salt, salt);
  });
  if (found != entries_.end()) {
    std::rotate(entries_.begin(), found, found + 1);
    return entries_.front().key;
  }
  Entry entry{std::string(password), std::vector<std::uint8_t>(salt.begin(), salt.end()), iterations, {}};
  if (!derive_(password, salt, iterations, entry.key)) return std::nullopt;
  if (entries_.size() == kCapacity) entries_.pop_back();
  entries_.push_front(std::move(entry));
  return entries_.front().key;
}

ConfigKeyCache& SharedConfigKeyCache() {
  static ConfigKeyCache cache;
  return cache;
}
