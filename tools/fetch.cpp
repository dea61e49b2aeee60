// dnf-fetch URL SAVEPATH [--connections N] [--speed-limit BYTES_PER_SECOND]
// Downloads one file with the download engine and the platform's transport,
// as the program would, and tells how long it took. For benchmarks and for
// trying a server by hand.
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

#include "downloader/download_engine.h"
#include "platform/download_transport.h"
#include "platform/files.h"

namespace {
int Usage() {
  std::fprintf(stderr, "usage: dnf-fetch URL SAVEPATH [--connections N] [--speed-limit BYTES_PER_SECOND]\n");
  return 2;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  DownloadTask task;
  task.Url = argv[1];
  task.SavePath = argv[2];
  for (int i = 3; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    const int value = std::atoi(argv[i + 1]);
    if (option == "--connections") task.Connections = value;
    else if (option == "--speed-limit") task.SpeedLimit = value;
    else return Usage();
  }
  if ((argc - 3) % 2 != 0) return Usage();

  std::mutex mutex;
  std::condition_variable ended;
  bool done = false;
  task.OnEvent = [&](int code, double, const std::string&) {
    if (code == kTaskEnded) {
      std::lock_guard lock(mutex);
      done = true;
      ended.notify_all();
    }
    return 0;
  };
  std::unique_ptr<DownloadEngine> engine = CreateDownloadEngine(CreateDownloadTransport());
  const auto start = std::chrono::steady_clock::now();
  if (!engine->AddTask(task)) {
    std::fprintf(stderr, "dnf-fetch: the engine refused the task\n");
    return 1;
  }
  {
    std::unique_lock lock(mutex);
    ended.wait(lock, [&] { return done; });
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  engine->Destroy();
  const std::int64_t size = FileSize(task.SavePath);
  if (size < 0) {
    std::fprintf(stderr, "dnf-fetch: the download failed\n");
    return 1;
  }
  std::printf("%lld bytes in %.3f s\n", static_cast<long long>(size), seconds);
  return 0;
}
