#pragma once
#include <cstdint>
#include <span>
#include <string>

// Upper-case hex, two digits per byte, no separators: 0A FF 00 -> "0AFF00".
std::string HexText(std::span<const std::uint8_t> bytes);
