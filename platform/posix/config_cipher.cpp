#include "platform/config_cipher.h"

#include <openssl/evp.h>
#include <openssl/rand.h>

#include <climits>
#include <memory>

namespace {
struct CipherContextFree {
  void operator()(EVP_CIPHER_CTX* context) const { EVP_CIPHER_CTX_free(context); }
};
using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, CipherContextFree>;

// OpenSSL counts in int; larger pieces are refused rather than cut.
bool FitsInt(std::size_t size) { return size <= static_cast<std::size_t>(INT_MAX); }

// A GCM context keyed for one message, with its associated data fed in.
CipherContext StartGcm(bool encrypt, const CipherKey& key, ByteView nonce, ByteView associated) {
  CipherContext context(EVP_CIPHER_CTX_new());
  int unused = 0;
  if (!context || nonce.size() != kCipherNonceSize || !FitsInt(associated.size()) ||
      EVP_CipherInit_ex(context.get(), EVP_aes_256_gcm(), nullptr, nullptr, nullptr, encrypt ? 1 : 0) != 1 ||
      EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_SET_IVLEN, static_cast<int>(nonce.size()), nullptr) != 1 ||
      EVP_CipherInit_ex(context.get(), nullptr, nullptr, key.data(), nonce.data(), -1) != 1 ||
      (!associated.empty() &&
       EVP_CipherUpdate(context.get(), nullptr, &unused, associated.data(), static_cast<int>(associated.size())) != 1))
    return nullptr;
  return context;
}

// Runs `input` through the context into `output` (of the same size).
bool Transform(EVP_CIPHER_CTX* context, ByteView input, std::uint8_t* output) {
  int written = 0;
  return FitsInt(input.size()) &&
         (input.empty() ||
          EVP_CipherUpdate(context, output, &written, input.data(), static_cast<int>(input.size())) == 1);
}

// GCM writes nothing at the end; the call computes or checks the tag.
bool Finish(EVP_CIPHER_CTX* context) {
  std::uint8_t nothing[EVP_MAX_BLOCK_LENGTH];
  int written = 0;
  return EVP_CipherFinal_ex(context, nothing, &written) == 1;
}
}  // namespace

bool DerivePbkdf2Sha256(std::string_view password, ByteView salt, std::uint32_t iterations,
                        std::span<std::uint8_t> out) {
  if (iterations == 0 || iterations > static_cast<std::uint32_t>(INT_MAX) || !FitsInt(password.size()) ||
      !FitsInt(salt.size()) || !FitsInt(out.size()))
    return false;
  return PKCS5_PBKDF2_HMAC(password.data(), static_cast<int>(password.size()), salt.data(),
                           static_cast<int>(salt.size()), static_cast<int>(iterations), EVP_sha256(),
                           static_cast<int>(out.size()), out.data()) == 1;
}

std::optional<std::vector<std::uint8_t>> SealAes256Gcm(const CipherKey& key, ByteView nonce, ByteView associated,
                                                       ByteView plain) {
  CipherContext context = StartGcm(true, key, nonce, associated);
  std::vector<std::uint8_t> sealed(plain.size() + kCipherTagSize);
  if (!context || !Transform(context.get(), plain, sealed.data()) || !Finish(context.get()) ||
      EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_GET_TAG, kCipherTagSize, sealed.data() + plain.size()) != 1)
    return std::nullopt;
  return sealed;
}

std::optional<std::vector<std::uint8_t>> OpenAes256Gcm(const CipherKey& key, ByteView nonce, ByteView associated,
                                                       ByteView sealed) {
  if (sealed.size() < kCipherTagSize) return std::nullopt;
  ByteView cipherText = sealed.first(sealed.size() - kCipherTagSize);
  std::vector<std::uint8_t> tag(sealed.end() - kCipherTagSize, sealed.end());
  CipherContext context = StartGcm(false, key, nonce, associated);
  std::vector<std::uint8_t> plain(cipherText.size());
  if (!context || !Transform(context.get(), cipherText, plain.data()) ||
      EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_SET_TAG, kCipherTagSize, tag.data()) != 1 ||
      !Finish(context.get()))
    return std::nullopt;
  return plain;
}

bool FillRandom(std::span<std::uint8_t> out) {
  return FitsInt(out.size()) && (out.empty() || RAND_bytes(out.data(), static_cast<int>(out.size())) == 1);
}
