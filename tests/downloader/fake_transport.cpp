#include "tests/downloader/fake_transport.h"

#include <algorithm>
#include <chrono>
#include <thread>

class FakeTransfer final : public Transfer {
 public:
  explicit FakeTransfer(FakeServer& server) : server_(server) {}

  TransferEnd Run(const TransferRequest& request, TransferSink& sink) override {
    if (aborted_) return TransferEnd::Aborted;
    server_.Record(request);
    const FakeServerFile file = server_.CurrentFile();
    const auto size = static_cast<std::int64_t>(file.bytes.size());
    ResponseHead head;
    head.etag = file.etag;
    head.lastModified = file.lastModified;
    std::int64_t first = 0;
    std::int64_t last = size - 1;
    if (server_.status != 0) {
      head.status = server_.status;
      return sink.OnHead(head) ? TransferEnd::Complete : TransferEnd::StoppedBySink;
    }
    const bool ifRangeHolds = request.ifRange.empty() || request.ifRange == file.etag;
    if (request.rangeFirst >= 0 && !server_.ignoresRanges && ifRangeHolds) {
      first = request.rangeFirst;
      last = request.rangeLast >= 0 ? std::min(request.rangeLast, size - 1) : size - 1;
      std::int64_t total = size;
      if (server_.lieAboutTotalFrom >= 0 && first >= server_.lieAboutTotalFrom) total += 1000;
      head.status = 206;
      head.contentRange = "bytes " + std::to_string(first) + "-" + std::to_string(last) + "/" + std::to_string(total);
    } else {
      head.status = 200;
    }
    head.contentLength = last - first + 1;
    if (!sink.OnHead(head)) return TransferEnd::StoppedBySink;
    if (server_.stallBody) {
      while (!aborted_) std::this_thread::sleep_for(std::chrono::milliseconds(5));
      return TransferEnd::Aborted;
    }
    const bool cut = server_.TakeCut();
    std::int64_t sent = 0;
    for (std::int64_t at = first; at <= last;) {
      if (aborted_) return TransferEnd::Aborted;
      if (cut && sent >= server_.cutAfter) return TransferEnd::Cut;
      std::int64_t block = std::min<std::int64_t>(static_cast<std::int64_t>(request.receiveBlock), last - at + 1);
      if (cut) block = std::min(block, server_.cutAfter - sent);
      block = server_.TakeBudget(block);
      if (block == 0) return TransferEnd::Cut;
      server_.bodyBytesSent_ += block;
      if (!sink.OnBody(reinterpret_cast<const std::uint8_t*>(file.bytes.data() + at), static_cast<std::size_t>(block)))
        return TransferEnd::StoppedBySink;
      at += block;
      sent += block;
    }
    return TransferEnd::Complete;
  }

  void Abort() override { aborted_ = true; }

 private:
  FakeServer& server_;
  std::atomic<bool> aborted_{false};
};

std::unique_ptr<Transfer> FakeServer::NewTransfer() { return std::make_unique<FakeTransfer>(*this); }

void FakeServer::Replace(FakeServerFile file) {
  std::lock_guard lock(mutex_);
  file_ = std::move(file);
}

std::vector<TransferRequest> FakeServer::Requests() {
  std::lock_guard lock(mutex_);
  return requests_;
}

FakeServerFile FakeServer::CurrentFile() {
  std::lock_guard lock(mutex_);
  return file_;
}

bool FakeServer::TakeCut() {
  std::lock_guard lock(mutex_);
  if (cutRequests <= 0) return false;
  --cutRequests;
  return true;
}

std::int64_t FakeServer::TakeBudget(std::int64_t wanted) {
  std::lock_guard lock(mutex_);
  if (byteBudget < 0) return wanted;
  const std::int64_t granted = std::min(wanted, byteBudget);
  byteBudget -= granted;
  return granted;
}

void FakeServer::Record(const TransferRequest& request) {
  std::lock_guard lock(mutex_);
  requests_.push_back(request);
}
