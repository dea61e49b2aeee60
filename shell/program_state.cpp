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
  state->RunDirectory = std::move(runDirectory);
  state->DownloadTask.emplace();
  state->DownloadEngine = std::move(engine);
  return state;
}

void ReleaseProgramState(ProgramState& state) {
  Release(state.Downloader.RegionNames);
  for (std::string* text : {&state.DownloadRegion, &state.DownloadArchiveName, &state.DownloadUrl,
                            &state.DownloadFileName, &state.DownloadTargetPath})
    Release(*text);
  state.Downloader.RegionBaseUrl.Set({});
  // The engine keeps its own copy of the settings it was given, so a
  // running download survives the task's release until the engine stops.
  state.DownloadTask.reset();
  if (state.DownloadEngine) {
    state.DownloadEngine->Destroy();
    state.DownloadEngine.reset();
  }
  state.Downloader.ArchiveNames.Replace({});
  Release(state.Cleaner.BackupDirectory);
  Release(state.Cleaner.GameDirectory);
  Release(state.Cleaner.ScannedDirectory);
  Release(state.Cleaner.SkipNames);
  state.Cleaner.PackageIndex.Release();
}
