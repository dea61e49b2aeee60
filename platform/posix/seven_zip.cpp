#include "platform/seven_zip.h"

#include "platform/posix/native_text.h"
#include "platform/posix/process_spawn.h"
#include "platform/private_folder.h"

namespace {
// A program may be installed where its user cannot write, and two runs may
// overlap, so each run keeps its side files in a private folder of its own.
// 7-Zip runs in that folder too: an archive inside a chunk can then write
// nowhere but there, and the folder goes with everything in it.
class PosixSevenZip final : public ChunkInflater {
 public:
  explicit PosixSevenZip(std::string program) : program_(std::move(program)), folder_("ferrule-") {}

  bool HasFolder() const { return !folder_.Path().empty(); }
  std::string SideFolder() const override { return folder_.Path(); }

  InflateStatus Inflate(const std::string& packedFile, const std::string& contentFile) override {
    // Newer 7-Zip names a single-stream file's content after the archive, so
    // the content is taken from standard output instead of by its name; an
    // archive of several files gives them one after the other there.
    ProcessSetup setup{Utf8FromText(folder_.Path()), Utf8FromText(contentFile), {}};
    int status = SpawnAndWait({program_, "x", Utf8FromText(packedFile), "-so", "-y"}, setup);
    if (status == kNotStarted) return {};
    return {true, status};
  }

 private:
  std::string program_;
  PrivateFolder folder_;
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
  auto sevenZip = std::make_unique<PosixSevenZip>(program);
  if (!sevenZip->HasFolder()) return nullptr;
  return sevenZip;
}
