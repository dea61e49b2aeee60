// Pellory's frame: the global state it starts with, start-up in its order,
// and shut-down in its order, over the in-memory window.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "platform/utf8_text.h"
#include "shell/control_names.h"
#include "shell/headless_window.h"
#include "shell/program_frame.h"
#include "tests/shell/fake_skin_library.h"
#include "tests/test_folder.h"

namespace {
using namespace control;

bool PackNamesEmpty(const ProgramState& state) {
  const std::shared_ptr<const ArchiveNames> names = state.Downloader.ArchiveNames.Snapshot();
  return names->SoundPackNames.empty() && names->MusicNames.empty();
}

// What shut-down had already released when it stopped the engine.
struct ReleasedAtStop {
  bool regionNames, downloadTexts, downloadTask, packNames, directories, packageIndex;
};

// What the engine saw; the test keeps it, as shut-down deletes the engine.
struct EngineLog {
  ProgramState* state = nullptr;
  bool downloadRuns = true;
  int destroyCalls = 0;
  ReleasedAtStop released{};
};

// An engine with one download that runs until the engine is destroyed.
class RunningDownloadEngine final : public DownloadEngine {
 public:
  explicit RunningDownloadEngine(EngineLog& log) : log_(log) {}
  bool AddTask(const DownloadTask&) override { return false; }
  std::int64_t CurrentSpeed() override { return 0; }
  std::int64_t BytesDone() override { return 0; }
  void Destroy() override {
    ++log_.destroyCalls;
    log_.downloadRuns = false;
    if (const ProgramState* state = log_.state)
      log_.released = {state->Downloader.RegionNames.empty(),
                       state->Downloader.DownloadUrl.empty() && state->Downloader.DownloadTargetPath.empty() &&
                           state->Downloader.RegionBaseUrl.Get().empty(),
                       !state->Downloader.DownloadTask.has_value(),
                       PackNamesEmpty(*state),
                       state->Cleaner.GameDirectory.empty() && state->Cleaner.BackupDirectory.empty(),
                       state->Cleaner.PackageIndex.FolderNames.empty()};
  }

 private:
  EngineLog& log_;
};

// Serves the in-memory window: `whileRunning` stands for what the user does
// before closing the window.
class HeadlessHost final : public MainWindowHost {
 public:
  HeadlessHost(ProgramFrame& frame, std::function<void(HeadlessWindow&, ProgramState&)> whileRunning)
      : frame_(frame), whileRunning_(std::move(whileRunning)) {}

  Window& CreateMainWindow() override {
    phaseAtCreate = frame_.Phase();
    stateReadyAtCreate = frame_.State().Downloader.DownloadTask.has_value();
    return window;
  }
  void ShowAndRunUntilClosed() override {
    shown = true;
    phaseWhileRunning = frame_.Phase();
    whileRunning_(window, frame_.State());
    window.Close();
  }

  HeadlessWindow window;
  ProgramPhase phaseAtCreate{}, phaseWhileRunning{};
  bool stateReadyAtCreate = false;
  bool shown = false;

 private:
  ProgramFrame& frame_;
  std::function<void(HeadlessWindow&, ProgramState&)> whileRunning_;
};

TEST(ProgramState, StartsEmptyWithTheDownloadDefaults) {
  std::unique_ptr<ProgramState> state = CreateProgramState("/opt/pellory", nullptr);
  EXPECT_EQ(state->RunDirectory, "/opt/pellory");
  EXPECT_EQ(state->Cleaner.RunDirectory, "/opt/pellory");
  EXPECT_TRUE(state->Downloader.RegionNames.empty());
  EXPECT_EQ(state->Downloader.RunDirectory, "/opt/pellory");
  EXPECT_TRUE(state->Downloader.RegionBaseUrl.Get().empty());
  EXPECT_EQ(state->Downloader.DownloadPurpose, 0);
  EXPECT_EQ(state->Downloader.DownloadTotalSize, 0.0);
  for (const std::string* text : {&state->Downloader.DownloadRegion, &state->Downloader.DownloadArchiveName, &state->Downloader.DownloadUrl,
                                  &state->Downloader.DownloadFileName, &state->Downloader.DownloadTargetPath,
                                  &state->Cleaner.BackupDirectory, &state->Cleaner.GameDirectory})
    EXPECT_TRUE(text->empty());
  EXPECT_TRUE(PackNamesEmpty(*state) && state->Downloader.ArchiveNames.Snapshot()->ImagePackNames.empty());
  EXPECT_TRUE(state->Cleaner.SkipNames.empty());
  const PackageIndex& index = state->Cleaner.PackageIndex;
  EXPECT_TRUE(index.FolderNames.empty() && index.FolderOffsets.empty() && index.FileNames.empty() &&
              index.FileSizes.empty() && index.FileDigests.empty());

  ASSERT_TRUE(state->Downloader.DownloadTask.has_value());
  const DownloadTask& task = *state->Downloader.DownloadTask;
  EXPECT_EQ(task.Flags, 1);
  EXPECT_EQ(task.FtpUser, "anonymous");
  EXPECT_NE(task.FtpPassword.find('@'), std::string::npos);
  EXPECT_EQ(task.Connections, 1);
  EXPECT_EQ(task.SpeedLimit, 0);
  EXPECT_EQ(task.ConnectTimeout, 20000);
  EXPECT_EQ(task.SendTimeout, 20000);
  EXPECT_EQ(task.ReceiveTimeout, 20000);
  EXPECT_EQ(task.StopWait, 1000);
  EXPECT_EQ(task.ReceiveBlock, 20480);
  EXPECT_EQ(task.SendBlock, 1024);
  EXPECT_EQ(task.FtpTransferType, 1);
  EXPECT_EQ(task.BinaryExtensions, ".exe|.rar|.zip|.gif|.jpg|.mp3|.rm");
  EXPECT_TRUE(task.Proxy.empty() && task.Referer.empty() && task.Url.empty() && task.SavePath.empty());
  EXPECT_FALSE(task.OnMessage);
}

TEST(ProgramFrame, StartsUpInOrderWithTheHandlersWired) {
  EngineLog log;
  TestFolder run;
  FakeSkinLibrary skinLibrary;
  ProgramFrame frame(run.Path(), std::make_unique<RunningDownloadEngine>(log), skinLibrary);
  std::size_t skinsAttachedWhenShown = 0;
  HeadlessHost host(frame, [&](HeadlessWindow& window, ProgramState&) {
    skinsAttachedWhenShown = skinLibrary.attachments.size();
    window.Click(按钮_选择游戏目录);  // the first page answers: its folder dialog opens
  });
  EXPECT_EQ(frame.Phase(), ProgramPhase::Starting);
  EXPECT_EQ(frame.Run(host), 0);
  EXPECT_TRUE(host.stateReadyAtCreate);
  EXPECT_EQ(host.phaseAtCreate, ProgramPhase::Starting);
  EXPECT_EQ(host.phaseWhileRunning, ProgramPhase::Running);
  EXPECT_EQ(host.window.folderPrompts.size(), 1u);
  EXPECT_EQ(frame.Phase(), ProgramPhase::Ended);
  // The skin is on before the user sees the window, from the library beside the program.
  EXPECT_EQ(skinsAttachedWhenShown, 1u);
  EXPECT_EQ(skinLibrary.attachments.at(0).path, run.File("SkinH_EL.dll"));
  EXPECT_TRUE(run.Has("SkinH_EL.dll"));
}

TEST(ProgramFrame, AnUnusableSkinLibraryEndsTheProgramAtOnceWithoutShutDown) {
  EngineLog engine;
  TestFolder run;
  FakeSkinLibrary skinLibrary;
  skinLibrary.loads = false;
  ProgramFrame frame(run.Path(), std::make_unique<RunningDownloadEngine>(engine), skinLibrary);
  HeadlessHost host(frame, [](HeadlessWindow&, ProgramState&) {});

  EXPECT_EQ(frame.Run(host), -1);

  EXPECT_FALSE(host.shown);
  ASSERT_EQ(host.window.messages.size(), 1u);
  EXPECT_EQ(host.window.messages[0].text,
            TextFromUtf8Source(u8"无法加载皮肤库 SkinH_EL.dll 或其中没有函数 SkinH_AttachRes!"));
  EXPECT_EQ(host.window.messages[0].title, TextFromUtf8Source(u8"错误"));
  EXPECT_EQ(host.window.messages[0].style, box::kError);
  // The shut-down routine did not run: the engine was never stopped and the
  // state is as start-up made it.
  EXPECT_EQ(engine.destroyCalls, 0);
  EXPECT_TRUE(frame.State().Downloader.DownloadTask.has_value());
  EXPECT_EQ(frame.Phase(), ProgramPhase::Ended);
}

TEST(ProgramFrame, ClosingStopsARunningDownloadAndReleasesInOrder) {
  EngineLog engine;
  TestFolder run;
  FakeSkinLibrary skinLibrary;
  ProgramFrame frame(run.Path(), std::make_unique<RunningDownloadEngine>(engine), skinLibrary);
  HeadlessHost host(frame, [&engine](HeadlessWindow&, ProgramState& state) {
    engine.state = &state;
    state.Downloader.RegionNames = {"kr", "jp"};
    state.Downloader.RegionBaseUrl.Set("http://127.0.0.1/kr/");
    state.Downloader.DownloadUrl = "http://127.0.0.1/a.spk";
    state.Downloader.DownloadTargetPath = "C:\\DNF\\ImagePacks2\\a.NPK.spk";
    state.Downloader.ArchiveNames.Replace({{"s.npk"}, {}, {"m.ogg"}});
    state.Cleaner.GameDirectory = "C:\\DNF";
    state.Cleaner.BackupDirectory = "C:\\backup";
    state.Cleaner.PackageIndex.FolderNames = {"ImagePacks2"};
  });
  frame.Run(host);

  EXPECT_FALSE(engine.downloadRuns);
  EXPECT_EQ(engine.destroyCalls, 1);
  // Names, download texts and the task go before the engine stops; the
  // lists, directories and the package index after it.
  EXPECT_TRUE(engine.released.regionNames);
  EXPECT_TRUE(engine.released.downloadTexts);
  EXPECT_TRUE(engine.released.downloadTask);
  EXPECT_FALSE(engine.released.packNames);
  EXPECT_FALSE(engine.released.directories);
  EXPECT_FALSE(engine.released.packageIndex);

  ProgramState& state = frame.State();
  EXPECT_TRUE(PackNamesEmpty(state));
  EXPECT_TRUE(state.Cleaner.GameDirectory.empty() && state.Cleaner.BackupDirectory.empty());
  EXPECT_TRUE(state.Cleaner.PackageIndex.FolderNames.empty());
}

TEST(ProgramFrame, ShutsDownEvenWhenTheWindowFails) {
  EngineLog engine;
  TestFolder run;
  FakeSkinLibrary skinLibrary;
  ProgramFrame frame(run.Path(), std::make_unique<RunningDownloadEngine>(engine), skinLibrary);
  HeadlessHost host(frame, [](HeadlessWindow&, ProgramState&) { throw std::runtime_error("window lost"); });
  EXPECT_THROW(frame.Run(host), std::runtime_error);
  EXPECT_EQ(engine.destroyCalls, 1);
  EXPECT_EQ(frame.Phase(), ProgramPhase::Ended);
}

TEST(ProgramFrame, RunsWithoutAnEngine) {
  TestFolder run;
  FakeSkinLibrary skinLibrary;
  ProgramFrame frame(run.Path(), nullptr, skinLibrary);
  HeadlessHost host(frame, [](HeadlessWindow&, ProgramState&) {});
  EXPECT_EQ(frame.Run(host), 0);
  EXPECT_EQ(frame.Phase(), ProgramPhase::Ended);
}
}  // namespace
