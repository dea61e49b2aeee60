#pragma once
// The download engine as the program frame knows it, and the settings that
// go with every download. The engine runs each download on a worker thread
// of its own; the program holds one instance for the whole run.
#include <cstdint>
#include <functional>
#include <string>

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

class DownloadEngine {
 public:
  virtual ~DownloadEngine() = default;
  // Stops a task that still runs, giving its connections the task's
  // StopWait to close, and releases the engine's resources. Called once,
  // at shut-down.
  virtual void Destroy() = 0;
};
