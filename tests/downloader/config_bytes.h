#pragma once
// Small conversions for the configuration tests' vectors.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/config_cipher.h"

inline std::vector<std::uint8_t> FromHex(std::string_view hex) {
  auto digit = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes.push_back(static_cast<std::uint8_t>(digit(hex[i]) * 16 + digit(hex[i + 1])));
  return bytes;
}

inline ByteView BytesOf(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

inline std::string TextOf(const std::vector<std::uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

inline std::vector<std::uint8_t> BytesOfVector(std::string_view text) {
  return std::vector<std::uint8_t>(text.begin(), text.end());
}
