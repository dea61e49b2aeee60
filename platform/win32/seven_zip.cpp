#include "platform/seven_zip.h"

#include "platform/files.h"
#include "platform/private_folder.h"
#include "platform/win32/hidden_program.h"

namespace {
// The one 7-Zip build whose way of naming its output the unpacking relies on.
constexpr std::int64_t kExpectedSize = 486912;

// 7-Zip writes what it unpacks into its working directory: the content of a
// single-stream chunk as "[Content]", every entry of an archive chunk under
// its own name. It runs in a new folder of this run's own, never beside the
// programs (a chunk could otherwise plant a library there that Pellory
// loads) nor beside the input, and that folder goes with all it holds.
class WindowsSevenZip final : public ChunkInflater {
 public:
  explicit WindowsSevenZip(std::string runDirectory) : runDirectory_(std::move(runDirectory)), folder_("ferrule-") {}

  bool HasFolder() const { return !folder_.Path().empty(); }
  std::string SideFolder() const override { return folder_.Path(); }

  // `contentFile` is "[Content]" in the side folder, where 7-Zip puts it.
  InflateStatus Inflate(const std::string& packedFile, const std::string&) override {
    const HiddenProcessEnd end =
        RunCommandLineHidden("\"" + runDirectory_ + "\\7z.exe\" x \"" + packedFile + "\" -y", folder_.Path());
    return {end.started, end.exitCode};
  }

 private:
  std::string runDirectory_;
  PrivateFolder folder_;
};
}  // namespace

std::unique_ptr<ChunkInflater> FindSevenZip(const std::string& runDirectory) {
  if (FileSize(runDirectory + "\\7z.exe") != kExpectedSize) return nullptr;
  auto sevenZip = std::make_unique<WindowsSevenZip>(runDirectory);
  if (!sevenZip->HasFolder()) return nullptr;
  return sevenZip;
}
