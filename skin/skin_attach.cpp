// The library's entry point for programs: attach a skin held in memory.
#include <windows.h>

#include <new>
#include <optional>

#include "skin/skin_format.h"
#include "skin/window_skinning.h"

namespace {
constexpr int kAttached = 0;
constexpr int kSkinRefused = 1;  // not a skin: nothing was changed
constexpr int kNoMemory = 2;
}  // namespace

// `text` and the three numbers are accepted for callers that pass them and
// are not used. The skin's bytes are read during the call only.
extern "C" int __stdcall SkinH_AttachRes(const unsigned char* skinBytes, int size, const char* /*text*/, int, int,
                                         int) {
  if (!skinBytes || size <= 0) return kSkinRefused;
  std::optional<Skin> skin = ReadSkin({skinBytes, static_cast<std::size_t>(size)});
  if (!skin) return kSkinRefused;
  try {
    AttachSkin(*skin);
  } catch (const std::bad_alloc&) {
    return kNoMemory;  // no exception leaves the library
  }
  return kAttached;
}
