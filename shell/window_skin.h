#pragma once
// The window's skin at start: the skin library is installed beside the
// program when it is missing, and skin 9 of those the program carries is
// attached to the window.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "shell/window.h"

inline constexpr char kSkinLibraryName[] = "SkinH_EL.dll";
inline constexpr char kSkinAttachFunction[] = "SkinH_AttachRes";
inline constexpr int kWindowSkinNumber = 9;

// The skin library as the program reaches it: the bytes it carries inside
// itself, and the library file it loads.
class SkinLibraryLoader {
 public:
  virtual ~SkinLibraryLoader() = default;
  // The library's bytes as the program carries them.
  virtual std::span<const std::uint8_t> CarriedLibrary() = 0;
  // Skin `number` (1 to 33) as the program carries it; empty when there is none.
  virtual std::span<const std::uint8_t> CarriedSkin(int number) = 0;
  // Loads the library at `path` by that very path, never by a search for
  // its name, and attaches `skin` with its SkinH_AttachRes, whatever that
  // answers. False when the library cannot be loaded or has no such
  // function. The library stays
  // loaded for the rest of the run: the windows it draws call into it.
  virtual bool LoadAndAttach(const std::string& path, const std::vector<std::uint8_t>& skin) = 0;
};

// Installs the carried library in `runDirectory` when no file of its name
// is there, and attaches the window's skin with the library found there.
// False, after an error box, when the library cannot be used: the program
// cannot go on without it.
bool AttachWindowSkin(const std::string& runDirectory, SkinLibraryLoader& loader, Window& window);
