// Published vectors that the Windows (CNG) and the Linux (OpenSSL) cipher
// must both reproduce, so that a file sealed on one system opens on the other.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/config_cipher.h"
#include "tests/downloader/config_bytes.h"

namespace {
using namespace std::string_literals;

TEST(ConfigCipher, DerivesPbkdf2HmacSha256Vectors) {
  struct Case {
    std::string password, salt;
    std::uint32_t iterations;
    const char* key;
  };
  // The RFC 6070 inputs with SHA-256, and the first vector of RFC 7914.
  const Case cases[] = {
      {"password", "salt", 1, "120fb6cffcf8b32c43e7225256c4f837a86548c92ccc35480805987cb70be17b"},
      {"password", "salt", 2, "ae4d0c95af6b46d32d0adff928f06dd02a303f8ef3c251dfd6e2d85a95474c43"},
      {"password", "salt", 4096, "c5e478d59288c841aa530db6845c4c8d962893a001ce4e11a4963873aa98134a"},
      {"passwordPASSWORDpassword", "saltSALTsaltSALTsaltSALTsaltSALTsalt", 4096,
       "348c89dbcbd32b2f32d814b8116e84cf2b17347ebc1800181c4e2a1fb8dd53e1c635518c7dac47e9"},
      {"pass\0word"s, "sa\0lt"s, 4096, "89b69d0516f829893c696226650a8687"},
      {"passwd", "salt", 1,
       "55ac046e56e3089fec1691c22544b605f94185216dde0465e68b9d57c20dacbc"
       "49ca9cccf179b645991664b39d77ef317c71b845b1e30bd509112041d3a19783"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.password + " " + std::to_string(c.iterations));
    std::vector<std::uint8_t> key(std::string(c.key).size() / 2);
    ASSERT_TRUE(DerivePbkdf2Sha256(c.password, BytesOf(c.salt), c.iterations, key));
    EXPECT_EQ(key, FromHex(c.key));
  }
}

struct GcmCase {
  const char* what;
  const char *key, *nonce, *associated, *plain, *sealed;  // sealed: cipher text and tag
};

// Test cases 13 to 16 of the GCM paper (McGrew and Viega), AES-256.
const GcmCase kGcmCases[] = {
    {"empty message", "0000000000000000000000000000000000000000000000000000000000000000", "000000000000000000000000", "",
     "", "530f8afbc74536b9a963b4f1c4cb738b"},
    {"one zero block", "0000000000000000000000000000000000000000000000000000000000000000", "000000000000000000000000",
     "", "00000000000000000000000000000000", "cea7403d4d606b6e074ec5d3baf39d18d0d1c8a799996bf0265b98b5d48ab919"},
    {"four blocks", "feffe9928665731c6d6a8f9467308308feffe9928665731c6d6a8f9467308308", "cafebabefacedbaddecaf888", "",
     "d9313225f88406e5a55909c5aff5269a86a7a9531534f7da2e4c303d8a318a721c3c0c95956809532fcf0e2449a6b525b16aedf5aa0de657ba"
     "637b391aafd255",
     "522dc1f099567d07f47f37a32a84427d643a8cdcbfe5c0c97598a2bd2555d1aa8cb08e48590dbb3da7b08b1056828838c5f61e6393ba7a0a"
     "bcc9f662898015adb094dac5d93471bdec1a502270e3cc6c"},
    {"short last block and associated data", "feffe9928665731c6d6a8f9467308308feffe9928665731c6d6a8f9467308308",
     "cafebabefacedbaddecaf888", "feedfacedeadbeeffeedfacedeadbeefabaddad2",
     "d9313225f88406e5a55909c5aff5269a86a7a9531534f7da2e4c303d8a318a721c3c0c95956809532fcf0e2449a6b525b16aedf5aa0de657ba"
     "637b39",
     "522dc1f099567d07f47f37a32a84427d643a8cdcbfe5c0c97598a2bd2555d1aa8cb08e48590dbb3da7b08b1056828838c5f61e6393ba7a0a"
     "bcc9f66276fc6ece0f4e1768cddf8853bb2d551b"},
};

CipherKey KeyFromHex(const char* hex) {
  CipherKey key;
  std::vector<std::uint8_t> bytes = FromHex(hex);
  std::copy(bytes.begin(), bytes.end(), key.begin());
  return key;
}

TEST(ConfigCipher, SealsAndOpensAesGcmVectors) {
  for (const GcmCase& c : kGcmCases) {
    SCOPED_TRACE(c.what);
    CipherKey key = KeyFromHex(c.key);
    std::vector<std::uint8_t> nonce = FromHex(c.nonce), associated = FromHex(c.associated);
    std::optional<std::vector<std::uint8_t>> sealed = SealAes256Gcm(key, nonce, associated, FromHex(c.plain));
    ASSERT_TRUE(sealed);
    EXPECT_EQ(*sealed, FromHex(c.sealed));
    EXPECT_EQ(OpenAes256Gcm(key, nonce, associated, FromHex(c.sealed)), FromHex(c.plain));
  }
}

TEST(ConfigCipher, RefusesAnyChangeToWhatTheTagCovers) {
  const GcmCase& c = kGcmCases[3];
  const CipherKey key = KeyFromHex(c.key);
  const std::vector<std::uint8_t> nonce = FromHex(c.nonce), associated = FromHex(c.associated),
                                  sealed = FromHex(c.sealed);
  CipherKey otherKey = key;
  otherKey[31] ^= 1;
  EXPECT_FALSE(OpenAes256Gcm(otherKey, nonce, associated, sealed));
  std::vector<std::uint8_t> changed = nonce;
  changed[0] ^= 0x80;
  EXPECT_FALSE(OpenAes256Gcm(key, changed, associated, sealed));
  changed = associated;
  changed.back() ^= 1;
  EXPECT_FALSE(OpenAes256Gcm(key, nonce, changed, sealed));
  EXPECT_FALSE(OpenAes256Gcm(key, nonce, {}, sealed));
  for (std::size_t at : {std::size_t{0}, sealed.size() - 17, sealed.size() - 1}) {  // text, its end, tag
    changed = sealed;
    changed[at] ^= 1;
    EXPECT_FALSE(OpenAes256Gcm(key, nonce, associated, changed)) << at;
  }
  EXPECT_FALSE(OpenAes256Gcm(key, nonce, associated, ByteView(sealed).first(15)));
}

TEST(ConfigCipher, GivesFreshRandomBytes) {
  std::vector<std::uint8_t> first(32), second(32);
  ASSERT_TRUE(FillRandom(first));
  ASSERT_TRUE(FillRandom(second));
  EXPECT_NE(first, second);
  EXPECT_NE(first, std::vector<std::uint8_t>(32));
}
}  // namespace
