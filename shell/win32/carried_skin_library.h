#pragma once
// The skin library as Pellory reaches it on Windows: the library and the
// skins from the program's own resources, the library loaded from its file.
#include "shell/window_skin.h"

class CarriedSkinLibrary final : public SkinLibraryLoader {
 public:
  std::span<const std::uint8_t> CarriedLibrary() override;
  std::span<const std::uint8_t> CarriedSkin(int number) override;
  bool LoadAndAttach(const std::string& path, const std::vector<std::uint8_t>& skin) override;
};
