#include "shell/program_state.h"

#include <utility>

namespace {
// Empties a text or a list and gives its memory back.
template <typename Value>
void Release(Value& value) {
  Value().swap(value);
}
}  // namespace

std::unique_ptr<ProgramState> CreateProgramState(std::string runDirectory,
                                                 std::unique_ptr<::DownloadEngine> engine) {
  auto state = std::make_unique<ProgramState>();
  state->Cleaner.RunDirectory = runDirectory;
  state->Downloader.RunDirectory = runDirectory;
  state->Downloader.RunUnpacker = UnpackerBeside(runDirectory);
  state->RunDirectory = std::move(runDirectory);
  state->Downloader.DownloadTask.emplace();
  state->Downloader.DownloadEngine = std::move(engine);
  return state;
}

void ReleaseProgramState(ProgramState& state) {
  Release(state.Downloader.RegionNames);
  DownloaderState& downloader = state.Downloader;
  for (std::string* text : {&downloader.DownloadRegion, &downloader.DownloadArchiveName, &downloader.DownloadUrl,
                            &downloader.DownloadFileName, &downloader.DownloadTargetPath})
    Release(*text);
  state.Downloader.RegionBaseUrl.Set({});
  // The engine keeps its own copy of the settings it was given, so a
  // running download survives the task's release until the engine stops.
  downloader.DownloadTask.reset();
  if (downloader.DownloadEngine) {
    downloader.DownloadEngine->Destroy();
    downloader.DownloadEngine.reset();
  }
  state.Downloader.ArchiveNames.Replace({});
  Release(state.Cleaner.BackupDirectory);
  Release(state.Cleaner.GameDirectory);
  Release(state.Cleaner.ScannedDirectory);
  Release(state.Cleaner.SkipNames);
  state.Cleaner.PackageIndex.Release();
}
