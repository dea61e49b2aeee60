#pragma once
// Writes region list files for the tests piece by piece, so that a file can
// hold its blocks in any order, anything between them, and lengths and
// counts that do not fit what follows.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

class RegionListBuilder {
 public:
  RegionListBuilder& Junk(std::string_view bytes);
  // The folder's name and its zero byte.
  RegionListBuilder& Marker(std::string_view folder);
  RegionListBuilder& Int32(std::int32_t value);
  // An entry whose length field gives the size of `nameField`, then the
  // 44 bytes that follow every name.
  RegionListBuilder& Entry(std::string_view nameField);
  // An entry whose length field says `length` whatever follows it.
  RegionListBuilder& Entry(std::int32_t length, std::string_view nameField);
  // Marker, count and one entry per name.
  RegionListBuilder& Block(std::string_view folder, const std::vector<std::string>& names);

  const Bytes& Contents() const { return bytes_; }

 private:
  Bytes bytes_;
};
