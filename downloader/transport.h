#pragma once
// One connection to a download server, as the download engine sees it: a
// request for a file or a byte range of it, the answer's head, and the body
// handed over block by block. Each platform has its own implementation
// (libcurl, WinINet); tests have their own in-memory one.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

struct TransferRequest {
  std::string url;
  // Bytes asked for, first to last, both counted; -1 as `rangeFirst` asks
  // for the whole file, -1 as `rangeLast` for everything up to the end.
  std::int64_t rangeFirst = -1;
  std::int64_t rangeLast = -1;
  // A validator (entity tag or date) sent as If-Range: the range only while
  // the file is still the one it names, else the whole file.
  std::string ifRange;
  std::string ftpUser;
  std::string ftpPassword;
  std::string proxy;    // empty: a direct connection
  std::string referer;  // empty: none sent
  std::int32_t connectTimeoutMs = 20000;
  std::int32_t sendTimeoutMs = 20000;
  std::int32_t receiveTimeoutMs = 20000;
  std::size_t receiveBlock = 20480;
};

// The head of an answer, in HTTP's words also for FTP: a missing file is
// 404, a whole file 200, a file from an offset 206 with its Content-Range.
struct ResponseHead {
  int status = 0;
  std::int64_t contentLength = -1;  // -1: not given
  std::string contentRange;
  std::string etag;
  std::string lastModified;
  std::string acceptRanges;
};

// Receives one answer on the connection's own thread. Returning false from
// either call ends the transfer at once (TransferEnd::StoppedBySink).
class TransferSink {
 public:
  virtual ~TransferSink() = default;
  virtual bool OnHead(const ResponseHead& head) = 0;
  virtual bool OnBody(const std::uint8_t* data, std::size_t size) = 0;
};

enum class TransferEnd {
  Complete,       // the whole answer arrived
  StoppedBySink,  // the sink asked to stop
  Aborted,        // Abort() was called
  ConnectFailed,  // no connection, or the server could not be found
  TimedOut,       // nothing arrived within the time allowed
  Cut,            // the connection broke before the answer was complete
  Unsupported,    // an address this transport can't fetch
};

class Transfer {
 public:
  virtual ~Transfer() = default;
  // Sends the request and streams the answer to `sink`; blocks until the
  // answer ends. A Transfer runs one request at a time.
  virtual TransferEnd Run(const TransferRequest& request, TransferSink& sink) = 0;
  // From any thread: makes a running Run return soon with Aborted, and every
  // later Run return Aborted at once.
  virtual void Abort() = 0;
};

class Transport {
 public:
  virtual ~Transport() = default;
  // A new connection; transfers of one task may run on several threads at once.
  virtual std::unique_ptr<Transfer> NewTransfer() = 0;
};
