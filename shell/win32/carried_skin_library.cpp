#include "shell/win32/carried_skin_library.h"

#include <windows.h>

#include "platform/win32/native_text.h"
#include "shell/resources/resource_ids.h"

namespace {
using AttachFunction = int(__stdcall*)(const unsigned char* bytes, int size, const char* text, int, int, int);

// A resource lies in the program's image for as long as the program runs;
// there is nothing to release.
std::span<const std::uint8_t> Resource(int id) {
  HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(id), RT_RCDATA);
  HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
  const auto* bytes = loaded ? static_cast<const std::uint8_t*>(LockResource(loaded)) : nullptr;
  if (!bytes) return {};
  return {bytes, SizeofResource(nullptr, found)};
}

// A file that is no library makes the system refuse it quietly, with no box
// of its own before the program's.
class NoSystemErrorBoxes {
 public:
  NoSystemErrorBoxes() { SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previous_); }
  ~NoSystemErrorBoxes() { SetThreadErrorMode(previous_, nullptr); }
  NoSystemErrorBoxes(const NoSystemErrorBoxes&) = delete;
  NoSystemErrorBoxes& operator=(const NoSystemErrorBoxes&) = delete;

 private:
  DWORD previous_ = 0;
};

// By the full path only: a library of that name elsewhere on the search
// path (the current folder, PATH) must never be the one that runs. The
// libraries it needs in turn are looked for beside it first.
HMODULE LoadByFullPath(const std::string& path) {
  NoSystemErrorBoxes quiet;
  return LoadLibraryExW(WideFromText(path).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
}  // namespace

std::span<const std::uint8_t> CarriedSkinLibrary::CarriedLibrary() { return Resource(IDR_SKIN_LIBRARY); }

std::span<const std::uint8_t> CarriedSkinLibrary::CarriedSkin(int number) { return Resource(number); }

// The module is never freed, so no owner holds it: the skinned windows call
// into the library until the program ends, and unloading it while they
// exist would pull their drawing code from under them.
bool CarriedSkinLibrary::LoadAndAttach(const std::string& path, const std::vector<std::uint8_t>& skin) {
  HMODULE library = LoadByFullPath(path);
  if (!library) return false;
  auto attach = reinterpret_cast<AttachFunction>(reinterpret_cast<void*>(GetProcAddress(library, kSkinAttachFunction)));
  if (!attach) return false;
  attach(skin.data(), static_cast<int>(skin.size()), "", 0, 0, 0);
  return true;
}
