#include "tests/downloader/region_list_builder.h"

RegionListBuilder& RegionListBuilder::Junk(std::string_view bytes) {
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  return *this;
}

RegionListBuilder& RegionListBuilder::Marker(std::string_view folder) {
  Junk(folder);
  bytes_.push_back(0);
  return *this;
}

RegionListBuilder& RegionListBuilder::Int32(std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) bytes_.push_back(static_cast<std::uint8_t>(bits >> shift));
  return *this;
}

RegionListBuilder& RegionListBuilder::Entry(std::string_view nameField) {
  return Entry(static_cast<std::int32_t>(nameField.size()), nameField);
}

RegionListBuilder& RegionListBuilder::Entry(std::int32_t length, std::string_view nameField) {
  Int32(length);
  Junk(nameField);
  // The unread data about the archive; bytes that would read as a large
  // length or a count if a reader took them for the next entry.
  for (int i = 0; i < 44; ++i) bytes_.push_back(static_cast<std::uint8_t>(0x7F + i * 37));
  return *this;
}

RegionListBuilder& RegionListBuilder::Block(std::string_view folder, const std::vector<std::string>& names) {
  Marker(folder);
  Int32(static_cast<std::int32_t>(names.size()));
  for (const std::string& name : names) Entry(name);
  return *this;
}
