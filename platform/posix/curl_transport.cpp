// The download transport over libcurl: one easy handle per request, driven
// through a multi handle of the connection's own, so that Abort can wake a
// transfer that waits for data.
#include <curl/curl.h>

#include <atomic>
#include <chrono>
#include <cctype>
#include <ctime>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/decimal_count.h"
#include "platform/download_transport.h"

namespace {
using Clock = std::chrono::steady_clock;

struct EasyDeleter {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct MultiDeleter {
  void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
struct ListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using Easy = std::unique_ptr<CURL, EasyDeleter>;
using Multi = std::unique_ptr<CURLM, MultiDeleter>;
using HeaderList = std::unique_ptr<curl_slist, ListDeleter>;

// An easy handle that sits in a multi handle for as long as it lives.
class AddedHandle {
 public:
  AddedHandle(CURLM* multi, CURL* easy) : multi_(multi), easy_(easy) { curl_multi_add_handle(multi_, easy_); }
  ~AddedHandle() { curl_multi_remove_handle(multi_, easy_); }
  AddedHandle(const AddedHandle&) = delete;
  AddedHandle& operator=(const AddedHandle&) = delete;

 private:
  CURLM* multi_;
  CURL* easy_;
};

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
      return false;
  return true;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' || text.back() == '\n'))
    text.remove_suffix(1);
  return text;
}

// The date as an HTTP header writes it, for an FTP file's time of change.
std::string HttpDate(curl_off_t seconds) {
  const std::time_t time = static_cast<std::time_t>(seconds);
  std::tm parts{};
  if (seconds < 0 || gmtime_r(&time, &parts) == nullptr) return "";
  char text[40];
  return std::strftime(text, sizeof text, "%a, %d %b %Y %H:%M:%S GMT", &parts) ? text : "";
}

// One request's state, reached from libcurl's callbacks.
class Exchange {
 public:
  Exchange(CURL* easy, const TransferRequest& request, TransferSink& sink, bool ftp)
      : easy_(easy), request_(request), sink_(sink), ftp_(ftp) {}

  static size_t OnHeaderLine(char* data, size_t size, size_t count, void* self) {
    static_cast<Exchange*>(self)->TakeHeaderLine(std::string_view(data, size * count));
    return size * count;
  }

  static size_t OnBodyBlock(char* data, size_t size, size_t count, void* self) {
    auto& exchange = *static_cast<Exchange*>(self);
    exchange.lastActivity_ = Clock::now();
    if (!exchange.DeliverHead()) return 0;
    const bool wanted = exchange.sink_.OnBody(reinterpret_cast<const std::uint8_t*>(data), size * count);
    exchange.lastActivity_ = Clock::now();
    if (!wanted) exchange.stoppedBySink_ = true;
    return wanted ? size * count : 0;
  }

  // The head goes to the sink once, before the first byte of the body, or at
  // the end for an answer without one. False when the sink wants no body.
  bool DeliverHead() {
    if (!headDelivered_) {
      headDelivered_ = true;
      headAccepted_ = sink_.OnHead(ftp_ ? FtpHead() : head_);
      stoppedBySink_ = !headAccepted_;
    }
    return headAccepted_;
  }

  // Tells the sink that an FTP server answered "no such file" or refused the user.
  void DeliverFtpRefusal(int status) {
    if (headDelivered_) return;
    headDelivered_ = true;
    ResponseHead head;
    head.status = status;
    headAccepted_ = sink_.OnHead(head);
    stoppedBySink_ = true;
  }

  bool TimedOut(Clock::time_point now) const {
    auto allowed = std::chrono::milliseconds(request_.receiveTimeoutMs);
    if (!headSeen_) allowed += std::chrono::milliseconds(request_.connectTimeoutMs + request_.sendTimeoutMs);
    return now - lastActivity_ > allowed;
  }

  bool StoppedBySink() const { return stoppedBySink_; }

 private:
  void TakeHeaderLine(std::string_view line) {
    lastActivity_ = Clock::now();
    headSeen_ = true;
    if (ftp_) return;
    // A new status line starts a new answer (after a redirect): forget the old one.
    if (StartsWithNoCase(line, "HTTP/")) {
      head_ = ResponseHead();
      const std::size_t blank = line.find(' ');
      if (blank != std::string_view::npos) head_.status = static_cast<int>(ParseDecimalCount(line.substr(blank + 1, 3)));
      return;
    }
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) return;
    const std::string_view name = line.substr(0, colon);
    const std::string_view value = Trimmed(line.substr(colon + 1));
    auto is = [&](std::string_view wanted) { return name.size() == wanted.size() && StartsWithNoCase(name, wanted); };
    if (is("Content-Length")) head_.contentLength = ParseDecimalCount(value);
    else if (is("Content-Range")) head_.contentRange = value;
    else if (is("ETag")) head_.etag = value;
    else if (is("Last-Modified")) head_.lastModified = value;
    else if (is("Accept-Ranges")) head_.acceptRanges = value;
  }

  // FTP has no head: the file's size and time come from SIZE and MDTM, and
  // a range from REST, which the server accepted if the data flows.
  ResponseHead FtpHead() const {
    ResponseHead head;
    curl_off_t remaining = -1;
    curl_off_t changed = -1;
    curl_easy_getinfo(easy_, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &remaining);
    curl_easy_getinfo(easy_, CURLINFO_FILETIME_T, &changed);
    head.lastModified = HttpDate(changed);
    head.acceptRanges = "bytes";
    if (request_.rangeFirst < 0) {
      head.status = 200;
      head.contentLength = remaining;
      return head;
    }
    head.status = 206;
    if (remaining >= 0) {
      const std::int64_t total = request_.rangeFirst + remaining;
      const std::int64_t last = request_.rangeLast >= 0 ? request_.rangeLast : total - 1;
      head.contentRange = "bytes " + std::to_string(request_.rangeFirst) + "-" + std::to_string(last) + "/" +
                          std::to_string(total);
    }
    return head;
  }

  CURL* easy_;
  const TransferRequest& request_;
  TransferSink& sink_;
  const bool ftp_;
  ResponseHead head_;
  bool headSeen_ = false;
  bool headDelivered_ = false;
  bool headAccepted_ = false;
  bool stoppedBySink_ = false;
  Clock::time_point lastActivity_ = Clock::now();
};

TransferEnd EndOf(CURLcode code) {
  switch (code) {
    case CURLE_OK: return TransferEnd::Complete;
    case CURLE_COULDNT_CONNECT:
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY: return TransferEnd::ConnectFailed;
    case CURLE_OPERATION_TIMEDOUT: return TransferEnd::TimedOut;
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_URL_MALFORMAT: return TransferEnd::Unsupported;
    default: return TransferEnd::Cut;
  }
}

class CurlTransfer final : public Transfer {
 public:
  CurlTransfer() : multi_(curl_multi_init()) {}

  TransferEnd Run(const TransferRequest& request, TransferSink& sink) override {
    if (aborted_ || !multi_) return TransferEnd::Aborted;
    Easy easy(curl_easy_init());
    if (!easy) return TransferEnd::ConnectFailed;
    const bool ftp = StartsWithNoCase(request.url, "ftp://");
    Exchange exchange(easy.get(), request, sink, ftp);
    HeaderList headers = Configure(easy.get(), request, exchange, ftp);
    CURLcode code = CURLE_OK;
    TransferEnd end = TransferEnd::Complete;
    {
      AddedHandle added(multi_.get(), easy.get());
      end = Drive(exchange, code);
    }
    if (end != TransferEnd::Complete) return end;
    if (ftp && code == CURLE_REMOTE_FILE_NOT_FOUND) exchange.DeliverFtpRefusal(404);
    if (ftp && code == CURLE_LOGIN_DENIED) exchange.DeliverFtpRefusal(403);
    if (code == CURLE_OK && !exchange.DeliverHead()) return TransferEnd::StoppedBySink;
    if (exchange.StoppedBySink()) return TransferEnd::StoppedBySink;
    return EndOf(code);
  }

  void Abort() override {
    aborted_ = true;
    if (multi_) curl_multi_wakeup(multi_.get());
  }

 private:
  static HeaderList Configure(CURL* easy, const TransferRequest& request, Exchange& exchange, bool ftp) {
    curl_easy_setopt(easy, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https,ftp");
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(request.connectTimeoutMs));
    curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, static_cast<long>(request.receiveBlock));
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &Exchange::OnHeaderLine);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, &exchange);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Exchange::OnBodyBlock);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &exchange);
    if (!request.proxy.empty()) curl_easy_setopt(easy, CURLOPT_PROXY, request.proxy.c_str());
    std::string range;
    if (request.rangeFirst >= 0) {
      range = std::to_string(request.rangeFirst) + "-" +
              (request.rangeLast >= 0 ? std::to_string(request.rangeLast) : std::string());
      curl_easy_setopt(easy, CURLOPT_RANGE, range.c_str());  // libcurl copies the text
    }
    HeaderList headers;
    if (ftp) {
      curl_easy_setopt(easy, CURLOPT_USERNAME, request.ftpUser.c_str());
      curl_easy_setopt(easy, CURLOPT_PASSWORD, request.ftpPassword.c_str());
      curl_easy_setopt(easy, CURLOPT_FILETIME, 1L);
      return headers;
    }
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    if (!request.referer.empty()) curl_easy_setopt(easy, CURLOPT_REFERER, request.referer.c_str());
    if (!request.ifRange.empty()) {
      headers.reset(curl_slist_append(nullptr, ("If-Range: " + request.ifRange).c_str()));
      curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers.get());
    }
    return headers;
  }

  // Runs the transfer until it ends; `code` gets libcurl's result.
  TransferEnd Drive(Exchange& exchange, CURLcode& code) {
    for (;;) {
      int running = 0;
      curl_multi_perform(multi_.get(), &running);
      if (aborted_) return TransferEnd::Aborted;
      if (running == 0) break;
      if (exchange.TimedOut(Clock::now())) return TransferEnd::TimedOut;
      curl_multi_poll(multi_.get(), nullptr, 0, 100, nullptr);
    }
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(multi_.get(), &left))
      if (message->msg == CURLMSG_DONE) code = message->data.result;
    return TransferEnd::Complete;
  }

  Multi multi_;
  std::atomic<bool> aborted_{false};
};

class CurlTransport final : public Transport {
 public:
  CurlTransport() { curl_global_init(CURL_GLOBAL_DEFAULT); }
  ~CurlTransport() override { curl_global_cleanup(); }
  std::unique_ptr<Transfer> NewTransfer() override { return std::make_unique<CurlTransfer>(); }
};
}  // namespace

std::shared_ptr<Transport> CreateDownloadTransport() { return std::make_shared<CurlTransport>(); }
