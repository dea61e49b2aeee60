#include "platform/config_cipher.h"

#include <windows.h>
#include <bcrypt.h>

#include <climits>

// Every algorithm is opened by name: the ready-made pseudo-handles exist only
// from Windows 10 on, and Windows 7 is still supported.
namespace {
class AlgorithmHandle {
 public:
  AlgorithmHandle(LPCWSTR algorithm, ULONG flags) {
    if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&handle_, algorithm, nullptr, flags))) handle_ = nullptr;
  }
  ~AlgorithmHandle() {
    if (handle_) BCryptCloseAlgorithmProvider(handle_, 0);
  }
  AlgorithmHandle(const AlgorithmHandle&) = delete;
  AlgorithmHandle& operator=(const AlgorithmHandle&) = delete;
  BCRYPT_ALG_HANDLE Get() const { return handle_; }

 private:
  BCRYPT_ALG_HANDLE handle_ = nullptr;
};

class KeyHandle {
 public:
  KeyHandle() = default;
  ~KeyHandle() {
    if (handle_) BCryptDestroyKey(handle_);
  }
  KeyHandle(const KeyHandle&) = delete;
  KeyHandle& operator=(const KeyHandle&) = delete;
  BCRYPT_KEY_HANDLE* Receive() { return &handle_; }
  BCRYPT_KEY_HANDLE Get() const { return handle_; }

 private:
  BCRYPT_KEY_HANDLE handle_ = nullptr;
};

// CNG counts in ULONG; larger pieces are refused rather than cut.
bool FitsUlong(std::size_t size) { return size <= ULONG_MAX; }

// CNG takes non-const pointers for data it only reads.
PUCHAR Bytes(ByteView bytes) { return const_cast<PUCHAR>(bytes.data()); }

// One GCM operation; `output` has the input's size, and `tag` is written
// (sealing) or checked (opening).
bool RunGcm(bool encrypt, const CipherKey& key, ByteView nonce, ByteView associated, ByteView input,
            std::uint8_t* output, std::uint8_t* tag) {
  if (nonce.size() != kCipherNonceSize || !FitsUlong(associated.size()) || !FitsUlong(input.size())) return false;
  AlgorithmHandle aes(BCRYPT_AES_ALGORITHM, 0);
  KeyHandle keyHandle;
  if (!aes.Get() ||
      !BCRYPT_SUCCESS(BCryptSetProperty(aes.Get(), BCRYPT_CHAINING_MODE, reinterpret_cast<PUCHAR>(const_cast<wchar_t*>(BCRYPT_CHAIN_MODE_GCM)),
                                        sizeof(BCRYPT_CHAIN_MODE_GCM), 0)) ||
      !BCRYPT_SUCCESS(BCryptGenerateSymmetricKey(aes.Get(), keyHandle.Receive(), nullptr, 0,
                                                 const_cast<PUCHAR>(key.data()), kCipherKeySize, 0)))
    return false;

  BCRYPT_AUTHENTICATED_CIPHER_MODE_INFO info;
  BCRYPT_INIT_AUTH_MODE_INFO(info);
  info.pbNonce = Bytes(nonce);
  info.cbNonce = static_cast<ULONG>(nonce.size());
  info.pbAuthData = associated.empty() ? nullptr : Bytes(associated);
  info.cbAuthData = static_cast<ULONG>(associated.size());
  info.pbTag = tag;
  info.cbTag = kCipherTagSize;

  // An empty message still needs a buffer to point at.
  std::uint8_t none = 0;
  PUCHAR in = input.empty() ? &none : Bytes(input);
  PUCHAR out = input.empty() ? &none : output;
  ULONG size = static_cast<ULONG>(input.size());
  ULONG written = 0;
  NTSTATUS status = encrypt ? BCryptEncrypt(keyHandle.Get(), in, size, &info, nullptr, 0, out, size, &written, 0)
                            : BCryptDecrypt(keyHandle.Get(), in, size, &info, nullptr, 0, out, size, &written, 0);
  return BCRYPT_SUCCESS(status) && written == size;
}
}  // namespace

bool DerivePbkdf2Sha256(std::string_view password, ByteView salt, std::uint32_t iterations,
                        std::span<std::uint8_t> out) {
  if (iterations == 0 || !FitsUlong(password.size()) || !FitsUlong(salt.size()) || !FitsUlong(out.size()))
    return false;
  AlgorithmHandle hmac(BCRYPT_SHA256_ALGORITHM, BCRYPT_ALG_HANDLE_HMAC_FLAG);
  auto passwordBytes = reinterpret_cast<PUCHAR>(const_cast<char*>(password.data()));
  return hmac.Get() &&
         BCRYPT_SUCCESS(BCryptDeriveKeyPBKDF2(hmac.Get(), password.empty() ? nullptr : passwordBytes,
                                              static_cast<ULONG>(password.size()), Bytes(salt),
                                              static_cast<ULONG>(salt.size()), iterations, out.data(),
                                              static_cast<ULONG>(out.size()), 0));
}

std::optional<std::vector<std::uint8_t>> SealAes256Gcm(const CipherKey& key, ByteView nonce, ByteView associated,
                                                       ByteView plain) {
  std::vector<std::uint8_t> sealed(plain.size() + kCipherTagSize);
  if (!RunGcm(true, key, nonce, associated, plain, sealed.data(), sealed.data() + plain.size())) return std::nullopt;
  return sealed;
}

std::optional<std::vector<std::uint8_t>> OpenAes256Gcm(const CipherKey& key, ByteView nonce, ByteView associated,
                                                       ByteView sealed) {
  if (sealed.size() < kCipherTagSize) return std::nullopt;
  ByteView cipherText = sealed.first(sealed.size() - kCipherTagSize);
  std::vector<std::uint8_t> tag(sealed.end() - kCipherTagSize, sealed.end());
  std::vector<std::uint8_t> plain(cipherText.size());
  if (!RunGcm(false, key, nonce, associated, cipherText, plain.data(), tag.data())) return std::nullopt;
  return plain;
}

bool FillRandom(std::span<std::uint8_t> out) {
  if (!FitsUlong(out.size())) return false;
  if (out.empty()) return true;
  AlgorithmHandle random(BCRYPT_RNG_ALGORITHM, 0);
  return random.Get() &&
         BCRYPT_SUCCESS(BCryptGenRandom(random.Get(), out.data(), static_cast<ULONG>(out.size()), 0));
}
