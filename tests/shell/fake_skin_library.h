#pragma once
// A skin library of the tests' own: it carries made-up bytes for the
// library and the skins, and records what it was asked to load and attach
// instead of loading anything.
#include <cstdint>
#include <string>
#include <vector>

#include "shell/window_skin.h"

// The size of the library that Pellory carries.
inline constexpr std::size_t kCarriedLibrarySize = 88576;

class FakeSkinLibrary final : public SkinLibraryLoader {
 public:
  struct Attachment {
    std::string path;
    std::vector<std::uint8_t> skin;
  };

  // A library of `librarySize` bytes; skin n holds n * 100 bytes of value n.
  explicit FakeSkinLibrary(std::size_t librarySize = kCarriedLibrarySize) : library(librarySize) {
    for (std::size_t i = 0; i < library.size(); ++i) library[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    for (int number = 1; number <= 33; ++number)
      skins.emplace_back(static_cast<std::size_t>(number) * 100, static_cast<std::uint8_t>(number));
  }

  std::span<const std::uint8_t> CarriedLibrary() override { return library; }
  std::span<const std::uint8_t> CarriedSkin(int number) override {
    if (number < 1 || number > static_cast<int>(skins.size())) return {};
    return skins[static_cast<std::size_t>(number - 1)];
  }
  bool LoadAndAttach(const std::string& path, const std::vector<std::uint8_t>& skin) override {
    attachments.push_back({path, skin});
    return loads;
  }

  std::vector<std::uint8_t> library;
  std::vector<std::vector<std::uint8_t>> skins;
  bool loads = true;  // false: the library cannot be loaded or lacks the function
  std::vector<Attachment> attachments;
};
