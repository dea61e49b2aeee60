#pragma once
// Incremental hashing with the platform's service (CryptoAPI on Windows,
// OpenSSL elsewhere), so files of any size are hashed in pieces.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

enum class HashAlgorithm { Md2, Md4, Md5, Sha1, Sha256, Sha384, Sha512 };

class Hasher {
 public:
  explicit Hasher(HashAlgorithm algorithm);
  ~Hasher();
  Hasher(const Hasher&) = delete;
  Hasher& operator=(const Hasher&) = delete;

  void Update(const void* data, std::size_t size);
  // The digest bytes; no bytes when the service lacks the algorithm or failed.
  std::vector<std::uint8_t> Finish();

 private:
  struct State;
  std::unique_ptr<State> state_;
};
