#pragma once
// The download engine as the program frame knows it, and the settings that
// go with every download. The engine runs each download on a worker thread
// of its own; the program holds one instance for the whole run.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class Transport;

// The settings handed to the engine with every task; the values here are
// those the program starts with.
struct DownloadTask {
  using MessageCallback = std::function<void(const std::string& message)>;
  using EventCallback = std::function<int(int code, double value, const std::string& text)>;

  std::int32_t Flags = 1;
  std::string Url;
  std::string SavePath;
  std::string FtpUser = "anonymous";
  std::string FtpPassword = "pellory@example.com";  // the customary anonymous-FTP password: an e-mail address
  std::int32_t Connections = 1;
  std::int32_t SpeedLimit = 0;  // bytes per second; 0: none
  std::int32_t ConnectTimeout = 20000;  // milliseconds
  std::int32_t SendTimeout = 20000;
  std::int32_t ReceiveTimeout = 20000;
  std::int32_t StopWait = 1000;  // how long a stopped task waits for its connections to close
  std::int32_t ReceiveBlock = 20480;  // bytes
  std::int32_t SendBlock = 1024;
  MessageCallback OnMessage;  // none: the program wants no progress messages
  EventCallback OnEvent;
  std::string UploadName;
  std::int32_t FtpTransferType = 1;  // 1: image mode; 3: by BinaryExtensions
  std::string BinaryExtensions = ".exe|.rar|.zip|.gif|.jpg|.mp3|.rm";
  std::string Proxy;    // empty: a direct connection
  std::string Referer;  // empty: the engine chooses
};

// The event codes the engine raises through DownloadTask::OnEvent, on the
// engine's own thread.
enum DownloadEventCode : int {
  kSizeKnown = 3,  // value: the file's size in bytes; at most once per task
  kTaskEnded = 4,  // always the task's last event, whether the file came or not
};

class DownloadEngine {
 public:
  virtual ~DownloadEngine() = default;
  // Copies the settings and starts the download on the engine's thread;
  // returns at once. Refuses (false) an address without a scheme the engine
  // speaks, and any task while the engine still holds one: a task is held
  // until the handler of its TaskEnded event has returned, so a task added
  // from inside that handler is refused too.
  virtual bool AddTask(const DownloadTask& task) = 0;
  // The running task's rate over the last second, bytes per second; 0 when
  // no task runs.
  virtual std::int64_t CurrentSpeed() = 0;
  // The bytes of the running task's file on hand, those a resumed download
  // found in its part file included; 0 when no task runs.
  virtual std::int64_t BytesDone() = 0;
  // Stops a task that still runs, giving its connections the task's
  // StopWait to close, and releases the engine's resources. Called once,
  // at shut-down. A stopped task raises no further event, TaskEnded
  // included; its part file stays for a later resume. A TaskEnded handler
  // that is running already is waited for.
  virtual void Destroy() = 0;
};

// How a dropped connection is tried again: up to `attempts` further tries
// in a row that bring no new byte, the first after `firstWait`, each wait
// twice the one before.
struct RetryPolicy {
  int attempts = 3;
  std::chrono::milliseconds firstWait{500};
};

// The engine over a transport: the platform's own (platform/download_transport.h)
// or a test's.
std::unique_ptr<DownloadEngine> CreateDownloadEngine(std::shared_ptr<Transport> transport,
                                                     RetryPolicy retries = {});
