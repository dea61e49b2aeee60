#pragma once
// An in-memory download server for the engine's tests: one file, served the
// way a real server would (ranges, If-Range, Content-Range), with faults to
// order: a range ignored, a total that lies, a connection cut short.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "downloader/transport.h"

struct FakeServerFile {
  std::string bytes;
  std::string etag = "\"v1\"";
  std::string lastModified = "Tue, 01 Jul 2025 10:00:00 GMT";
};

class FakeServer final : public Transport {
 public:
  explicit FakeServer(FakeServerFile file) : file_(std::move(file)) {}

  // Faults, set before the task starts.
  int status = 0;                  // an error status for every request; 0: none
  bool ignoresRanges = false;      // answers a range with 200 and the whole file
  std::int64_t lieAboutTotalFrom = -1;  // ranges starting at or after this offset report another total
  int cutRequests = 0;             // this many answers break off...
  std::int64_t cutAfter = 0;       // ...after this many body bytes
  bool stallBody = false;          // sends the head, then waits until aborted
  std::int64_t byteBudget = -1;    // body bytes sent in all before every answer breaks off; -1: no end

  std::unique_ptr<Transfer> NewTransfer() override;

  void Replace(FakeServerFile file);
  std::vector<TransferRequest> Requests();
  std::int64_t BodyBytesSent() const { return bodyBytesSent_; }

 private:
  friend class FakeTransfer;
  FakeServerFile CurrentFile();
  bool TakeCut();
  // How many of `wanted` bytes may still go out under the budget.
  std::int64_t TakeBudget(std::int64_t wanted);
  void Record(const TransferRequest& request);

  std::mutex mutex_;
  FakeServerFile file_;
  std::vector<TransferRequest> requests_;
  std::atomic<std::int64_t> bodyBytesSent_{0};
};
