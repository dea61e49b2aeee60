#include "platform/seven_zip.h"

#include <unistd.h>

#include <cstdlib>

#include "platform/files.h"
#include "platform/posix/native_text.h"
#include "platform/posix/process_spawn.h"

namespace {
// A program may be installed where its user cannot write, and two runs may
// overlap, so each run keeps its side files in a private folder of its own.
std::string MakePrivateFolder() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/ferrule-XXXXXX";
  if (!mkdtemp(pattern.data())) return {};
  return pattern;
}

class PosixSevenZip final : public ChunkInflater {
 public:
  PosixSevenZip(std::string program, std::string folder) : program_(std::move(program)), folder_(std::move(folder)) {}
  ~PosixSevenZip() override { RemoveFolderWithFiles(TextFromUtf8(folder_)); }

  std::string SideFolder() const override { return TextFromUtf8(folder_); }

  void Inflate(const std::string& packedFile, const std::string& contentFile) override {
    // Newer 7-Zip names a single-stream file's content after the archive, so
    // the content is taken from standard output instead of by its name.
    SpawnAndWait({program_, "x", Utf8FromText(packedFile), "-so", "-y"}, folder_, Utf8FromText(contentFile));
  }

 private:
  std::string program_;
  std::string folder_;
};

std::string LocateProgram(const std::string& runDirectory) {
  std::string beside = Utf8FromText(runDirectory) + "/7z";
  if (IsExecutableFile(beside)) return beside;
  for (const char* name : {"7zz", "7z"}) {
    std::string found = FindInPath(name);
    if (!found.empty()) return found;
  }
  return {};
}
}  // namespace

std::unique_ptr<ChunkInflater> FindSevenZip(const std::string& runDirectory) {
  std::string program = LocateProgram(runDirectory);
  if (program.empty()) return nullptr;
  std::string folder = MakePrivateFolder();
  if (folder.empty()) return nullptr;
  return std::make_unique<PosixSevenZip>(program, folder);
}
