#include "platform/seven_zip.h"

#include <windows.h>

#include "platform/files.h"
#include "platform/win32/native_text.h"

namespace {
// The one 7-Zip build whose way of naming its output the unpacking relies on.
constexpr std::int64_t kExpectedSize = 486912;

class WindowsSevenZip final : public ChunkInflater {
 public:
  explicit WindowsSevenZip(std::string runDirectory) : runDirectory_(std::move(runDirectory)) {}

  std::string SideFolder() const override { return runDirectory_; }

  // 7-Zip writes the content as "[Content]" in its working directory, which
  // is the side folder, so `contentFile` is where it lands by itself.
  void Inflate(const std::string& packedFile, const std::string&) override {
    std::wstring commandLine =
        WideFromText("\"" + runDirectory_ + "\\7z.exe\" x \"" + packedFile + "\" -y");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        WideFromText(runDirectory_).c_str(), &startup, &process))
      return;
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }

 private:
  std::string runDirectory_;
};
}  // namespace

std::unique_ptr<ChunkInflater> FindSevenZip(const std::string& runDirectory) {
  if (FileSize(runDirectory + "\\7z.exe") != kExpectedSize) return nullptr;
  return std::make_unique<WindowsSevenZip>(runDirectory);
}
