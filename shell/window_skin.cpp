#include "shell/window_skin.h"

#include "platform/files.h"
#include "platform/utf8_text.h"

namespace {
// The half-written library lies under this name until it is complete.
constexpr char kPartSuffix[] = ".part";

void ReportUnusableLibrary(Window& window) {
  window.ShowMessage(TextFromUtf8Source(u8"无法加载皮肤库 SkinH_EL.dll 或其中没有函数 SkinH_AttachRes!"),
                     TextFromUtf8Source(u8"错误"), box::kError);
}

// Writes `library` as a new, hidden file at `path` when nothing of that name
// is there; a file that is there is the user's and is never touched. What
// came of it is not reported: the load that follows tells whether a
// library is there. A start that is cut short (power lost, disk full) must
// not leave a broken library that every later start would find and keep,
// so the bytes go to a file of their own first and take the name only when
// whole.
void InstallSkinLibrary(const std::string& path, std::span<const std::uint8_t> library) {
  if (FileExists(path)) return;
  std::string part;
  File file = CreateFileBeside(path, kPartSuffix, part);
  if (!file.IsOpen()) return;
  const bool written = file.Write(library.data(), library.size());
  file.Close();
  if (written && RenameFile(part, path)) {
    SetHiddenOnly(path);
    return;
  }
  RemoveFile(part);
}
}  // namespace

bool AttachWindowSkin(const std::string& runDirectory, SkinLibraryLoader& loader, Window& window) {
  const std::string path = JoinPath(runDirectory, kSkinLibraryName);
  InstallSkinLibrary(path, loader.CarriedLibrary());
  // The library reads the skin during the call only; the copy goes after it.
  const std::span<const std::uint8_t> carried = loader.CarriedSkin(kWindowSkinNumber);
  const std::vector<std::uint8_t> skin(carried.begin(), carried.end());
  if (loader.LoadAndAttach(path, skin)) return true;
  ReportUnusableLibrary(window);
  return false;
}
