#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "downloader/config_container.h"
#include "downloader/config_password.h"
#include "tests/downloader/config_bytes.h"

namespace {
const std::string kText = "[lst_name]\r\n\xBA\xAB\xB9\xFA=kr\r\n[kr]\r\nfile=http://127.0.0.1:8631/kr/\r\n";

// kText sealed with the configuration password by our independent writer:
//   tools/seal_config.py Tavu803927516 TEXT OUT --iterations 1000
//       --salt 000102030405060708090a0b0c0d0e0f --nonce f0f1f2f3f4f5f6f7f8f9fafb
// It pins the stored form: every build must open it and seal the same bytes.
const std::vector<std::uint8_t> kSealed = FromHex(
    "504c594346470110e8030000000102030405060708090a0b0c0d0e0ff0f1f2f3f4f5f6f7f8f9fafb77612b9160a0e74ae23d9f5f0f"
    "783d0e0ba13e029aadc5b9f99ec44b12b7d6f60694837788eafa2ada3701bcdf2ce1ce17a004477c0233e9189572845004b1cde77ea42"
    "57ab681c207ffc1");
const ConfigSealing kSealing{FromHex("000102030405060708090a0b0c0d0e0f"),
                             {0xf0, 0xf1, 0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa, 0xfb}, 1000};

// A cache of its own that counts how often a key is really derived.
class CountingKeys {
 public:
  ConfigKeyCache cache{[this](std::string_view password, ByteView salt, std::uint32_t iterations, CipherKey& key) {
    ++derived;
    return DerivePbkdf2Sha256(password, salt, iterations, key);
  }};
  std::atomic<int> derived{0};
};

TEST(ConfigContainer, OpensAndSealsTheReferenceFile) {
  EXPECT_EQ(OpenConfigContainer(kSealed, kConfigPassword), kText);
  EXPECT_EQ(SealConfigContainer(kText, kConfigPassword, kSealing), kSealed);
}

TEST(ConfigContainer, SealsEveryFileWithFreshSaltAndNonce) {
  std::optional<std::vector<std::uint8_t>> first = SealConfigContainer(kText, kConfigPassword);
  std::optional<std::vector<std::uint8_t>> second = SealConfigContainer(kText, kConfigPassword);
  ASSERT_TRUE(first && second);
  EXPECT_NE(*first, *second);
  EXPECT_EQ(OpenConfigContainer(*first, kConfigPassword), kText);
  EXPECT_EQ(OpenConfigContainer(*second, kConfigPassword), kText);
  std::optional<std::vector<std::uint8_t>> empty = SealConfigContainer("", kConfigPassword, kSealing);
  ASSERT_TRUE(empty);
  EXPECT_EQ(OpenConfigContainer(*empty, kConfigPassword), "");
}

TEST(ConfigContainer, EmptyPasswordMeansPlainText) {
  EXPECT_EQ(SealConfigContainer(kText, ""), BytesOfVector(kText));
  EXPECT_EQ(OpenConfigContainer(BytesOf(kText), ""), kText);
  // A sealed file read without a password is just bytes.
  EXPECT_EQ(OpenConfigContainer(kSealed, ""), TextOf(kSealed));
}

TEST(ConfigContainer, RefusesSealingsItWouldNotOpen) {
  ConfigSealing sealing = kSealing;
  sealing.iterations = kConfigMaxIterations + 1;
  EXPECT_FALSE(SealConfigContainer(kText, kConfigPassword, sealing));
  sealing = kSealing;
  sealing.salt.resize(kConfigMinSaltSize - 1);
  EXPECT_FALSE(SealConfigContainer(kText, kConfigPassword, sealing));
}

TEST(ConfigContainer, ChangedOrShortenedFilesCannotBeOpened) {
  CountingKeys keys;
  for (std::size_t at = 0; at < kSealed.size(); ++at) {
    std::vector<std::uint8_t> changed = kSealed;
    changed[at] ^= 0x01;
    EXPECT_FALSE(OpenConfigContainer(changed, kConfigPassword, keys.cache)) << "byte " << at;
  }
  for (std::size_t size = 0; size < kSealed.size(); ++size)
    EXPECT_FALSE(OpenConfigContainer(ByteView(kSealed).first(size), kConfigPassword, keys.cache)) << size;
  std::vector<std::uint8_t> longer = kSealed;
  longer.push_back(0);
  EXPECT_FALSE(OpenConfigContainer(longer, kConfigPassword, keys.cache));
  EXPECT_FALSE(OpenConfigContainer(kSealed, "Tavu803927517", keys.cache));
  EXPECT_FALSE(OpenConfigContainer(kSealed, "tavu803927516", keys.cache));
}

std::vector<std::uint8_t> WithIterations(std::uint32_t iterations) {
  std::vector<std::uint8_t> bytes = kSealed;
  for (int i = 0; i < 4; ++i) bytes[8 + i] = static_cast<std::uint8_t>(iterations >> (8 * i));
  return bytes;
}

std::vector<std::uint8_t> WithByte(std::size_t at, std::uint8_t value) {
  std::vector<std::uint8_t> bytes = kSealed;
  bytes[at] = value;
  return bytes;
}

TEST(ConfigContainer, HostileHeadersAreRefusedBeforeAnyKeyIsDerived) {
  struct Case {
    const char* what;
    std::vector<std::uint8_t> bytes;
  };
  const Case cases[] = {
      {"no iterations", WithIterations(0)},
      {"iterations below the floor", WithIterations(kConfigMinIterations - 1)},
      {"iterations beyond the cap", WithIterations(kConfigMaxIterations + 1)},
      {"the largest iteration count", WithIterations(0xFFFFFFFF)},
      {"no salt", WithByte(7, 0)},
      {"salt too short", WithByte(7, kConfigMinSaltSize - 1)},
      {"salt too long", WithByte(7, kConfigMaxSaltSize + 1)},
      {"salt longer than the file", WithByte(7, 0xFF)},
      {"a later version", WithByte(6, 2)},
      {"not our file", WithByte(0, 'Q')},
      {"the plain text", BytesOfVector(kText)},
      {"nothing", {}},
  };
  CountingKeys keys;
  for (const Case& c : cases) EXPECT_FALSE(OpenConfigContainer(c.bytes, kConfigPassword, keys.cache)) << c.what;
  EXPECT_EQ(keys.derived, 0);
}

TEST(ConfigContainer, KeepsTheKeyForTheSamePasswordSaltAndIterations) {
  CountingKeys keys;
  for (int read = 0; read < 3; ++read) EXPECT_EQ(OpenConfigContainer(kSealed, kConfigPassword, keys.cache), kText);
  EXPECT_EQ(keys.derived, 1);

  ConfigSealing otherSalt = kSealing;
  otherSalt.salt[0] ^= 1;
  ConfigSealing otherIterations = kSealing;
  otherIterations.iterations += 1;
  for (const ConfigSealing& sealing : {otherSalt, otherIterations}) {
    int before = keys.derived;
    std::optional<std::vector<std::uint8_t>> sealed = SealConfigContainer(kText, kConfigPassword, sealing);
    ASSERT_TRUE(sealed);
    EXPECT_EQ(OpenConfigContainer(*sealed, kConfigPassword, keys.cache), kText);
    EXPECT_EQ(keys.derived, before + 1);
  }

  int before = keys.derived;
  EXPECT_FALSE(OpenConfigContainer(kSealed, "another password", keys.cache));
  EXPECT_EQ(keys.derived, before + 1);
  // The right password still finds its own key.
  EXPECT_EQ(OpenConfigContainer(kSealed, kConfigPassword, keys.cache), kText);
  EXPECT_EQ(keys.derived, before + 1);
}
}  // namespace
