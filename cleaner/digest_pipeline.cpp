#include "cleaner/digest_pipeline.h"

#include "common/digest.h"

namespace {
// Large pieces keep a disk's access sequential; a few per file let the
// reader run ahead of its worker without holding much memory.
constexpr std::size_t kPieceSize = 1 << 20;
constexpr std::size_t kPiecesAheadPerFile = 4;
}  // namespace

DigestPipeline::DigestPipeline(std::vector<std::string> paths, int workers)
    : workerCount_(workers < 1 ? 1 : static_cast<std::size_t>(workers)) {
  jobs_.resize(paths.size());
  for (std::size_t i = 0; i < paths.size(); ++i) jobs_[i].path = std::move(paths[i]);
  if (jobs_.empty()) return;
  reader_ = std::thread(&DigestPipeline::ReadFiles, this);
  for (std::size_t i = 0; i < workerCount_; ++i) workers_.emplace_back(&DigestPipeline::HashFiles, this);
}

DigestPipeline::~DigestPipeline() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  if (reader_.joinable()) reader_.join();
  for (std::thread& worker : workers_) worker.join();
}

std::optional<std::string> DigestPipeline::Result(std::size_t index, std::chrono::milliseconds wait) {
  std::unique_lock lock(mutex_);
  if (!changed_.wait_for(lock, wait, [&] { return jobs_[index].done; })) return std::nullopt;
  return jobs_[index].digest;
}

// Only the files that workers are on (or are about to take) are read, the
// earliest first that has room for another piece.
std::optional<std::size_t> DigestPipeline::JobToRead() {
  while (firstUnread_ < jobs_.size() && jobs_[firstUnread_].fullyRead) ++firstUnread_;
  std::size_t considered = 0;
  for (std::size_t i = firstUnread_; i < jobs_.size() && considered < workerCount_; ++i) {
    if (jobs_[i].fullyRead) continue;
    ++considered;
    if (jobs_[i].pieces.size() < kPiecesAheadPerFile) return i;
  }
  return std::nullopt;
}

void DigestPipeline::ReadFiles() {
  for (;;) {
    std::size_t index;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [&] { return stopping_ || firstUnread_ >= jobs_.size() || JobToRead(); });
      std::optional<std::size_t> next = JobToRead();
      if (stopping_ || !next) return;
      index = *next;
    }
    ReadPiece(index);
  }
}

// The job's file is touched by the reader alone, so it is read unlocked.
void DigestPipeline::ReadPiece(std::size_t index) {
  Job& job = jobs_[index];
  if (!job.opened) {
    job.file = File::Open(job.path, File::Mode::ReadShared);
    job.opened = true;
  }
  Buffer buffer;
  {
    std::lock_guard lock(mutex_);
    buffer = TakeBuffer();
  }
  buffer.resize(kPieceSize);
  buffer.resize(job.file.Read(buffer.data(), buffer.size()));
  const bool last = buffer.size() < kPieceSize;
  if (last) job.file.Close();
  {
    std::lock_guard lock(mutex_);
    job.pieces.push_back({std::move(buffer), last});
    job.fullyRead = last;
  }
  changed_.notify_all();
}

DigestPipeline::Buffer DigestPipeline::TakeBuffer() {
  if (spareBuffers_.empty()) return Buffer();
  Buffer buffer = std::move(spareBuffers_.back());
  spareBuffers_.pop_back();
  return buffer;
}

void DigestPipeline::HashFiles() {
  for (;;) {
    std::size_t index;
    {
      std::lock_guard lock(mutex_);
      if (stopping_ || nextClaim_ >= jobs_.size()) return;
      index = nextClaim_++;
    }
    changed_.notify_all();  // the reader may now read ahead for this job
    HashJob(index);
  }
}

void DigestPipeline::HashJob(std::size_t index) {
  Job& job = jobs_[index];
  DigestTextBuilder digest(kSha256);
  for (bool last = false; !last;) {
    Piece piece;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [&] { return stopping_ || !job.pieces.empty(); });
      if (stopping_) return;
      piece = std::move(job.pieces.front());
      job.pieces.pop_front();
    }
    changed_.notify_all();  // room for the reader
    digest.Update(piece.bytes.data(), piece.bytes.size());
    last = piece.last;
    std::lock_guard lock(mutex_);
    spareBuffers_.push_back(std::move(piece.bytes));
  }
  {
    std::lock_guard lock(mutex_);
    job.digest = digest.Finish();
    job.done = true;
  }
  changed_.notify_all();
}
