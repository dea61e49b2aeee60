#include "platform/hasher.h"

#include <windows.h>
#include <wincrypt.h>

struct Hasher::State {
  HCRYPTPROV provider = 0;
  HCRYPTHASH hash = 0;
  bool failed = false;
  ~State() {
    if (hash) CryptDestroyHash(hash);
    if (provider) CryptReleaseContext(provider, 0);
  }
};

namespace {
ALG_ID AlgorithmId(HashAlgorithm algorithm) {
  switch (algorithm) {
    case HashAlgorithm::Md2: return CALG_MD2;
    case HashAlgorithm::Md4: return CALG_MD4;
    case HashAlgorithm::Md5: return CALG_MD5;
    case HashAlgorithm::Sha1: return CALG_SHA1;
    case HashAlgorithm::Sha256: return CALG_SHA_256;
    case HashAlgorithm::Sha384: return CALG_SHA_384;
    case HashAlgorithm::Sha512: return CALG_SHA_512;
  }
  return 0;
}
}  // namespace

Hasher::Hasher(HashAlgorithm algorithm) : state_(std::make_unique<State>()) {
  state_->failed =
      !CryptAcquireContextW(&state_->provider, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT) ||
      !CryptCreateHash(state_->provider, AlgorithmId(algorithm), 0, 0, &state_->hash);
}

Hasher::~Hasher() = default;

void Hasher::Update(const void* data, std::size_t size) {
  const BYTE* bytes = static_cast<const BYTE*>(data);
  // CryptHashData takes a 32-bit count; feed larger blocks in slices.
  while (!state_->failed && size > 0) {
    DWORD slice = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
    if (!CryptHashData(state_->hash, bytes, slice, 0)) state_->failed = true;
    bytes += slice;
    size -= slice;
  }
}

std::vector<std::uint8_t> Hasher::Finish() {
  if (state_->failed) return {};
  DWORD length = 0;
  if (!CryptGetHashParam(state_->hash, HP_HASHVAL, nullptr, &length, 0)) return {};
  std::vector<std::uint8_t> digest(length);
  if (!CryptGetHashParam(state_->hash, HP_HASHVAL, digest.data(), &length, 0)) return {};
  state_->failed = true;
  digest.resize(length);
  return digest;
}
