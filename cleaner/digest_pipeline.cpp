#include "cleaner/digest_pipeline.h"

#include "common/digest.h"

namespace {
// Large pieces keep a disk's access sequential; a few per file let the
// reader run ahead of its worker without holding much memory.
constexpr std::size_t kPieceSize = 1 << 20;
constexpr std::size_t kPiecesAheadPerFile = 4;
}  // namespace

DigestPipeline::DigestPipeline(std::vector<std::string> paths, int workers) {
  jobs_.resize(paths.size());
  for (std::size_t i = 0; i < paths.size(); ++i) jobs_[i].path = std::move(paths[i]);
  if (!jobs_.empty()) StartThreads(workers < 1 ? 1 : workers);
}

DigestPipeline::~DigestPipeline() { Stop(); }

// A system short of threads refuses some; the pipeline works with those that
// started and never lets the refusal out as an exception. The reader starts
// first: without it no worker gets anything to hash.
void DigestPipeline::StartThreads(int workers) {
  try {
    reader_ = std::thread(&DigestPipeline::ReadFiles, this);
    for (int i = 0; i < workers; ++i) workers_.emplace_back(&DigestPipeline::HashFiles, this);
  } catch (const std::system_error&) {
  }
  if (workers_.empty()) {
    Stop();
    return;
  }
  {
    std::lock_guard lock(mutex_);
    workerCount_ = workers_.size();
  }
  changed_.notify_all();  // the reader may read for them now
}

void DigestPipeline::Stop() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  if (reader_.joinable()) reader_.join();
  for (std::thread& worker : workers_) worker.join();
  workers_.clear();
}

std::optional<FileDigest> DigestPipeline::Result(std::size_t index, std::chrono::milliseconds wait) {
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

// The job's file is touched by the reader alone, so it is read unlocked. A
// file that cannot be opened, or fails part-way, ends with the pieces read so
// far and keeps the reason.
void DigestPipeline::ReadPiece(std::size_t index) {
  Job& job = jobs_[index];
  FileError error = FileError::None;
  if (!job.opened) {
    job.file = File::Open(job.path, File::Mode::ReadShared);
    job.opened = true;
    if (!job.file.IsOpen()) error = LastFileError();
  }
  Buffer buffer;
  {
    std::lock_guard lock(mutex_);
    buffer = TakeBuffer();
  }
  buffer.resize(kPieceSize);
  if (job.file.IsOpen()) {
    SetLastFileError(FileError::None);  // a short read is an end only when nothing failed
    buffer.resize(job.file.Read(buffer.data(), buffer.size()));
    error = LastFileError();
  } else {
    buffer.clear();
  }
  const bool last = buffer.size() < kPieceSize || error != FileError::None;
  if (last) job.file.Close();
  {
    std::lock_guard lock(mutex_);
    job.pieces.push_back({std::move(buffer), last});
    job.fullyRead = last;
    job.readError = error;
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
    job.digest = {digest.Finish(), job.readError};
    job.done = true;
  }
  changed_.notify_all();
}
