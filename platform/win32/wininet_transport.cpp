// The download transport over WinINet. HTTP and HTTPS go through
// InternetOpenUrl with Range and If-Range headers; FTP through a connection
// of its own, where SIZE and MDTM stand in for the head and REST for the
// range. Abort closes the request's handles from the other thread, which is
// how WinINet cancels a call that waits.
#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <thread>
#include <mutex>
#include <string>
#include <vector>

#include "platform/decimal_count.h"
#include "platform/download_transport.h"
#include "platform/win32/native_text.h"

namespace {
constexpr DWORD kRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                                INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES;

// The handles of one request, the innermost last. Another thread may
// interrupt the request (Abort, or the silence watchdog): handles are then
// closed at once only while the request's thread is inside a WinINet call on
// them, which is how WinINet cancels a call that waits; otherwise that thread
// closes them itself before its next call. So a handle's number is never
// used after it was closed, when it may already name another request's handle.
class HandleChain {
 public:
  HandleChain() = default;
  HandleChain(const HandleChain&) = delete;
  HandleChain& operator=(const HandleChain&) = delete;
  ~HandleChain() { CloseAll(); }

  // Takes the handle over; false (and the handle closed) once interrupted.
  bool Add(HINTERNET handle) {
    std::lock_guard lock(mutex_);
    if (interrupted_) {
      InternetCloseHandle(handle);
      return false;
    }
    handles_.push_back(handle);
    return true;
  }

  // Runs WinINet calls on the chain's handles; false when interrupted
  // before or during them. Only calls that wait on the network are
  // `blocking`: an interruption closes the handles under them at once.
  template <typename Call>
  bool Run(Call&& call, bool blocking = true) {
    {
      std::lock_guard lock(mutex_);
      if (interrupted_) return false;
      inCall_ = blocking;
    }
    call();
    std::lock_guard lock(mutex_);
    inCall_ = false;
    if (interrupted_) CloseLocked();
    return !interrupted_;
  }

  void Interrupt() {
    std::lock_guard lock(mutex_);
    interrupted_ = true;
    if (inCall_) CloseLocked();
  }

  // At a request's end, on its own thread: closes what is left and makes
  // the chain ready for the next request.
  void CloseAll() {
    std::lock_guard lock(mutex_);
    CloseLocked();
    interrupted_ = false;
  }

 private:
  void CloseLocked() {
    while (!handles_.empty()) {
      InternetCloseHandle(handles_.back());
      handles_.pop_back();
    }
  }

  std::mutex mutex_;
  std::vector<HINTERNET> handles_;
  bool interrupted_ = false;
  bool inCall_ = false;
};

// Interrupts a request when nothing arrives for longer than its time-outs
// allow: WinINet's own receive time-outs do not end every wait.
class SilenceWatchdog {
 public:
  SilenceWatchdog(const TransferRequest& request, HandleChain& chain)
      : beforeHead_(request.connectTimeoutMs + request.sendTimeoutMs + request.receiveTimeoutMs),
        afterHead_(request.receiveTimeoutMs),
        chain_(chain),
        thread_([this] { Watch(); }) {}

  ~SilenceWatchdog() {
    {
      std::lock_guard lock(mutex_);
      done_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }

  void Touch(bool headSeen) {
    std::lock_guard lock(mutex_);
    lastActivity_ = Clock::now();
    headSeen_ = headSeen_ || headSeen;
  }

  // While the sink holds the bytes (it may wait to keep to a rate), the
  // server's silence is ours.
  void Hold(bool held) {
    std::lock_guard lock(mutex_);
    held_ = held;
    lastActivity_ = Clock::now();
  }

  bool Fired() {
    std::lock_guard lock(mutex_);
    return fired_;
  }

 private:
  using Clock = std::chrono::steady_clock;

  void Watch() {
    std::unique_lock lock(mutex_);
    while (!done_) {
      const Clock::time_point deadline = lastActivity_ + (headSeen_ ? afterHead_ : beforeHead_);
      if (!held_ && Clock::now() >= deadline) {
        fired_ = true;
        chain_.Interrupt();
        return;
      }
      wake_.wait_until(lock, deadline);
    }
  }

  const std::chrono::milliseconds beforeHead_;
  const std::chrono::milliseconds afterHead_;
  HandleChain& chain_;
  std::mutex mutex_;
  std::condition_variable wake_;
  Clock::time_point lastActivity_ = Clock::now();
  bool headSeen_ = false;
  bool held_ = false;
  bool done_ = false;
  bool fired_ = false;
  std::thread thread_;  // last: it starts with everything above in place
};

std::string Narrow(const std::wstring& wide) {
  std::string text;
  for (wchar_t c : wide) text += c < 0x80 ? static_cast<char>(c) : '?';
  return text;
}

std::string QueryText(HINTERNET request, DWORD what) {
  wchar_t buffer[1024];
  DWORD size = sizeof buffer;
  DWORD index = 0;
  if (!HttpQueryInfoW(request, what, buffer, &size, &index)) return "";
  return Narrow(std::wstring(buffer, size / sizeof(wchar_t)));
}

ResponseHead HttpHead(HINTERNET request) {
  ResponseHead head;
  head.status = static_cast<int>(ParseDecimalCount(QueryText(request, HTTP_QUERY_STATUS_CODE)));
  // As text: the numeric form of the query is 32 bits, too small for large files.
  head.contentLength = ParseDecimalCount(QueryText(request, HTTP_QUERY_CONTENT_LENGTH));
  head.contentRange = QueryText(request, HTTP_QUERY_CONTENT_RANGE);
  head.etag = QueryText(request, HTTP_QUERY_ETAG);
  head.lastModified = QueryText(request, HTTP_QUERY_LAST_MODIFIED);
  head.acceptRanges = QueryText(request, HTTP_QUERY_ACCEPT_RANGES);
  return head;
}

TransferEnd EndOfError(DWORD error) {
  switch (error) {
    case ERROR_INTERNET_TIMEOUT: return TransferEnd::TimedOut;
    case ERROR_INTERNET_CANNOT_CONNECT:
    case ERROR_INTERNET_NAME_NOT_RESOLVED: return TransferEnd::ConnectFailed;
    case ERROR_INTERNET_UNRECOGNIZED_SCHEME:
    case ERROR_INTERNET_INVALID_URL: return TransferEnd::Unsupported;
    default: return TransferEnd::Cut;
  }
}

// The parts of an address that a connection needs.
struct Address {
  INTERNET_SCHEME scheme = INTERNET_SCHEME_UNKNOWN;
  std::wstring host;
  INTERNET_PORT port = 0;
  std::wstring path;  // with the query, for HTTP
};

bool CrackAddress(const std::wstring& url, Address& address) {
  wchar_t host[256];
  wchar_t path[2048];
  wchar_t extra[2048];
  URL_COMPONENTSW parts{};
  parts.dwStructSize = sizeof parts;
  parts.lpszHostName = host;
  parts.dwHostNameLength = 256;
  parts.lpszUrlPath = path;
  parts.dwUrlPathLength = 2048;
  parts.lpszExtraInfo = extra;
  parts.dwExtraInfoLength = 2048;
  if (!InternetCrackUrlW(url.c_str(), 0, 0, &parts)) return false;
  address.scheme = parts.nScheme;
  address.host.assign(host, parts.dwHostNameLength);
  address.port = parts.nPort;
  address.path.assign(path, parts.dwUrlPathLength);
  if (address.path.empty()) address.path = L"/";
  if (address.scheme != INTERNET_SCHEME_FTP) address.path.append(extra, parts.dwExtraInfoLength);
  return !address.host.empty();
}

// Sends an FTP command on the control connection; the server's reply line.
std::string FtpReply(HINTERNET connection, const std::wstring& command) {
  FtpCommandW(connection, FALSE, FTP_TRANSFER_TYPE_BINARY, command.c_str(), 0, nullptr);
  wchar_t buffer[512];
  DWORD size = 512;
  DWORD error = 0;
  if (!InternetGetLastResponseInfoW(&error, buffer, &size)) return "";
  std::string reply = Narrow(std::wstring(buffer, wcsnlen(buffer, size)));
  // Several lines may be kept; the last complete one is this command's answer.
  while (!reply.empty() && (reply.back() == '\r' || reply.back() == '\n')) reply.pop_back();
  const std::size_t lineStart = reply.find_last_of('\n');
  return lineStart == std::string::npos ? reply : reply.substr(lineStart + 1);
}

// "213 20250701100000" (MDTM) as an HTTP date, so that it can vouch for the file.
std::string HttpDateOfMdtm(const std::string& reply) {
  if (reply.size() < 18 || reply.compare(0, 4, "213 ") != 0) return "";
  SYSTEMTIME time{};
  auto number = [&](std::size_t at, std::size_t digits) {
    return static_cast<WORD>(ParseDecimalCount(reply.substr(at, digits)));
  };
  time.wYear = number(4, 4);
  time.wMonth = number(8, 2);
  time.wDay = number(10, 2);
  time.wHour = number(12, 2);
  time.wMinute = number(14, 2);
  time.wSecond = number(16, 2);
  wchar_t text[INTERNET_RFC1123_BUFSIZE + 1];
  if (!InternetTimeFromSystemTimeW(&time, INTERNET_RFC1123_FORMAT, text, sizeof text)) return "";
  return Narrow(text);
}

class WinInetTransfer final : public Transfer {
 public:
  TransferEnd Run(const TransferRequest& request, TransferSink& sink) override {
    TransferEnd end = TransferEnd::Aborted;
    bool timedOut = false;
    if (!aborted_) {
      SilenceWatchdog watchdog(request, chain_);
      end = RunWith(watchdog, request, sink);
      timedOut = watchdog.Fired();
    }
    chain_.CloseAll();
    if (aborted_) return TransferEnd::Aborted;
    return timedOut ? TransferEnd::TimedOut : end;
  }

  void Abort() override {
    aborted_ = true;
    chain_.Interrupt();
  }

 private:
  // An interrupted request ends as Aborted here; Run tells a time-out apart.
  TransferEnd RunWith(SilenceWatchdog& watchdog, const TransferRequest& request, TransferSink& sink) {
    const std::wstring proxy = WideFromText(request.proxy);
    HINTERNET session = InternetOpenW(L"Pellory", proxy.empty() ? INTERNET_OPEN_TYPE_DIRECT : INTERNET_OPEN_TYPE_PROXY,
                                      proxy.empty() ? nullptr : proxy.c_str(), nullptr, 0);
    if (!session) return TransferEnd::ConnectFailed;
    if (!chain_.Add(session) || !chain_.Run([&] { SetTimeouts(session, request); }, false))
      return TransferEnd::Aborted;
    Address address;
    if (!CrackAddress(WideFromText(request.url), address)) return TransferEnd::Unsupported;
    switch (address.scheme) {
      case INTERNET_SCHEME_FTP: return RunFtp(watchdog, session, address, request, sink);
      case INTERNET_SCHEME_HTTP:
      case INTERNET_SCHEME_HTTPS: return RunHttp(watchdog, session, address, request, sink);
      default: return TransferEnd::Unsupported;
    }
  }

  static void SetTimeouts(HINTERNET handle, const TransferRequest& request) {
    auto set = [&](DWORD option, std::int32_t milliseconds) {
      DWORD value = static_cast<DWORD>(milliseconds);
      InternetSetOptionW(handle, option, &value, sizeof value);
    };
    set(INTERNET_OPTION_CONNECT_TIMEOUT, request.connectTimeoutMs);
    set(INTERNET_OPTION_SEND_TIMEOUT, request.sendTimeoutMs);
    set(INTERNET_OPTION_DATA_SEND_TIMEOUT, request.sendTimeoutMs);
    set(INTERNET_OPTION_RECEIVE_TIMEOUT, request.receiveTimeoutMs);
    set(INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, request.receiveTimeoutMs);
  }

  static std::wstring RequestHeaders(const TransferRequest& request) {
    std::string headers;
    if (request.rangeFirst >= 0) {
      headers += "Range: bytes=" + std::to_string(request.rangeFirst) + "-" +
                 (request.rangeLast >= 0 ? std::to_string(request.rangeLast) : std::string()) + "\r\n";
      if (!request.ifRange.empty()) headers += "If-Range: " + request.ifRange + "\r\n";
    }
    if (!request.referer.empty()) headers += "Referer: " + request.referer + "\r\n";
    return WideFromText(headers);
  }

  TransferEnd RunHttp(SilenceWatchdog& watchdog, HINTERNET session, const Address& address,
                      const TransferRequest& request, TransferSink& sink) {
    HINTERNET connection = nullptr;
    if (!chain_.Run([&] {
          connection = InternetConnectW(session, address.host.c_str(), address.port, nullptr, nullptr,
                                        INTERNET_SERVICE_HTTP, 0, 0);
        }, false))
      return TransferEnd::Aborted;
    if (!connection) return TransferEnd::ConnectFailed;
    if (!chain_.Add(connection)) return TransferEnd::Aborted;
    const DWORD secure = address.scheme == INTERNET_SCHEME_HTTPS ? INTERNET_FLAG_SECURE : 0;
    HINTERNET answer = nullptr;
    if (!chain_.Run([&] {
          answer = HttpOpenRequestW(connection, L"GET", address.path.c_str(), nullptr, nullptr, nullptr,
                                    kRequestFlags | secure, 0);
        }, false))
      return TransferEnd::Aborted;
    if (!answer) return TransferEnd::Unsupported;
    if (!chain_.Add(answer)) return TransferEnd::Aborted;
    const std::wstring headers = RequestHeaders(request);
    BOOL sent = FALSE;
    DWORD error = 0;
    // Time-outs on the request itself: Wine does not pass a session's on.
    if (!chain_.Run([&] {
          SetTimeouts(answer, request);
          sent = HttpSendRequestW(answer, headers.empty() ? nullptr : headers.c_str(),
                                  static_cast<DWORD>(headers.size()), nullptr, 0);
          error = GetLastError();
        }))
      return TransferEnd::Aborted;
    if (!sent) return EndOfError(error);
    ResponseHead head;
    if (!chain_.Run([&] { head = HttpHead(answer); }, false)) return TransferEnd::Aborted;
    watchdog.Touch(true);
    if (!OfferHead(watchdog, sink, head)) return TransferEnd::StoppedBySink;
    return ReadBody(watchdog, answer, request, sink);
  }

  // Sends an FTP command; the server's reply line, empty when interrupted.
  std::string Command(HINTERNET connection, const std::wstring& command) {
    std::string reply;
    chain_.Run([&] { reply = FtpReply(connection, command); });
    return reply;
  }

  TransferEnd RunFtp(SilenceWatchdog& watchdog, HINTERNET session, const Address& address,
                     const TransferRequest& request, TransferSink& sink) {
    const std::wstring user = WideFromText(request.ftpUser);
    const std::wstring password = WideFromText(request.ftpPassword);
    HINTERNET connection = nullptr;
    DWORD error = 0;
    if (!chain_.Run([&] {
          connection = InternetConnectW(session, address.host.c_str(), address.port, user.c_str(), password.c_str(),
                                        INTERNET_SERVICE_FTP, INTERNET_FLAG_PASSIVE, 0);
          error = GetLastError();
        }))
      return TransferEnd::Aborted;
    if (!connection) return error == ERROR_INTERNET_LOGIN_FAILURE ? Refuse(sink, 403) : EndOfError(error);
    if (!chain_.Add(connection)) return TransferEnd::Aborted;
    // Servers give sizes in image mode only.
    Command(connection, L"TYPE I");
    const std::string sizeReply = Command(connection, L"SIZE " + address.path);
    if (sizeReply.compare(0, 3, "550") == 0) return Refuse(sink, 404);
    const std::int64_t size = sizeReply.compare(0, 4, "213 ") == 0 ? ParseDecimalCount(sizeReply.substr(4)) : -1;
    ResponseHead head;
    head.lastModified = HttpDateOfMdtm(Command(connection, L"MDTM " + address.path));
    head.acceptRanges = "bytes";
    head.status = 200;
    head.contentLength = size;
    // A range from REST, which the data then starts at; a server that
    // refuses REST sends the whole file, as an HTTP server that ignores a
    // range does.
    const bool ranged = request.rangeFirst >= 0 && size >= 0 &&
                        (request.rangeFirst == 0 ||
                         Command(connection, L"REST " + std::to_wstring(request.rangeFirst)).compare(0, 3, "350") == 0);
    if (ranged) {
      const std::int64_t last = request.rangeLast >= 0 ? request.rangeLast : size - 1;
      head.status = 206;
      head.contentLength = -1;  // the data runs to the file's end, whatever the range
      head.contentRange = "bytes " + std::to_string(request.rangeFirst) + "-" + std::to_string(last) + "/" +
                          std::to_string(size);
    }
    HINTERNET file = nullptr;
    if (!chain_.Run([&] {
          file = FtpOpenFileW(connection, address.path.c_str(), GENERIC_READ,
                              FTP_TRANSFER_TYPE_BINARY | INTERNET_FLAG_RELOAD, 0);
          error = GetLastError();
        }))
      return TransferEnd::Aborted;
    if (!file) return size < 0 ? Refuse(sink, 404) : EndOfError(error);
    if (!chain_.Add(file)) return TransferEnd::Aborted;
    watchdog.Touch(true);
    if (!OfferHead(watchdog, sink, head)) return TransferEnd::StoppedBySink;
    return ReadBody(watchdog, file, request, sink);
  }

  static bool OfferHead(SilenceWatchdog& watchdog, TransferSink& sink, const ResponseHead& head) {
    watchdog.Hold(true);
    const bool wanted = sink.OnHead(head);
    watchdog.Hold(false);
    return wanted;
  }

  static TransferEnd Refuse(TransferSink& sink, int status) {
    ResponseHead head;
    head.status = status;
    sink.OnHead(head);
    return TransferEnd::StoppedBySink;
  }

  TransferEnd ReadBody(SilenceWatchdog& watchdog, HINTERNET answer, const TransferRequest& request,
                       TransferSink& sink) {
    std::vector<std::uint8_t> block(request.receiveBlock);
    for (;;) {
      DWORD got = 0;
      BOOL read = FALSE;
      DWORD error = 0;
      if (!chain_.Run([&] {
            read = InternetReadFile(answer, block.data(), static_cast<DWORD>(block.size()), &got);
            error = GetLastError();
          }))
        return TransferEnd::Aborted;
      if (!read) return EndOfError(error);
      if (got == 0) return TransferEnd::Complete;
      watchdog.Hold(true);
      const bool wanted = sink.OnBody(block.data(), got);
      watchdog.Hold(false);
      if (!wanted) return TransferEnd::StoppedBySink;
    }
  }

  std::atomic<bool> aborted_{false};
  HandleChain chain_;
};

class WinInetTransport final : public Transport {
 public:
  std::unique_ptr<Transfer> NewTransfer() override { return std::make_unique<WinInetTransfer>(); }
};
}  // namespace

std::shared_ptr<Transport> CreateDownloadTransport() { return std::make_shared<WinInetTransport>(); }
