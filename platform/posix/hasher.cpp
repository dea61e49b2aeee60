#include "platform/hasher.h"

#include <openssl/evp.h>

struct Hasher::State {
  EVP_MD_CTX* context = nullptr;
  bool failed = false;
  ~State() { EVP_MD_CTX_free(context); }
};

namespace {
const EVP_MD* DigestFor(HashAlgorithm algorithm) {
  switch (algorithm) {
    case HashAlgorithm::Md2: return EVP_get_digestbyname("MD2");
    case HashAlgorithm::Md4: return EVP_get_digestbyname("MD4");
    case HashAlgorithm::Md5: return EVP_md5();
    case HashAlgorithm::Sha1: return EVP_sha1();
    case HashAlgorithm::Sha256: return EVP_sha256();
    case HashAlgorithm::Sha384: return EVP_sha384();
    case HashAlgorithm::Sha512: return EVP_sha512();
  }
  return nullptr;
}
}  // namespace

Hasher::Hasher(HashAlgorithm algorithm) : state_(std::make_unique<State>()) {
  const EVP_MD* md = DigestFor(algorithm);
  state_->context = EVP_MD_CTX_new();
  // MD2 and MD4 live in OpenSSL's legacy provider; where it is not loaded the
  // init fails and the digest comes out empty, as for any unsupported one.
  state_->failed = md == nullptr || state_->context == nullptr ||
                   EVP_DigestInit_ex(state_->context, md, nullptr) != 1;
}

Hasher::~Hasher() = default;

void Hasher::Update(const void* data, std::size_t size) {
  if (state_->failed || size == 0) return;
  if (EVP_DigestUpdate(state_->context, data, size) != 1) state_->failed = true;
}

std::vector<std::uint8_t> Hasher::Finish() {
  if (state_->failed) return {};
  std::vector<std::uint8_t> digest(EVP_MAX_MD_SIZE);
  unsigned int length = 0;
  if (EVP_DigestFinal_ex(state_->context, digest.data(), &length) != 1) return {};
  state_->failed = true;  // a context is finished once
  digest.resize(length);
  return digest;
}
