#pragma once
// Hashes many files with several workers while the disk is read by one
// reader, in large pieces and file after file. The reader moves on to the
// next file only while the current one's workers are the slower side (page
// cache, fast disks); a rotating disk slower than hashing is read strictly
// one file at a time. Memory stays bounded whatever the files' sizes.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/files.h"

// The digest of one file, or why the file could not be read whole.
struct FileDigest {
  std::string text;  // SHA-256 as upper-case hex; that of the bytes read when the file failed
  FileError readError = FileError::None;
};

class DigestPipeline {
 public:
  // Starts hashing every path (SHA-256), in order, with `workers` threads
  // and one reader. A system that gives fewer threads gets its work done by
  // those it gives; see Running.
  DigestPipeline(std::vector<std::string> paths, int workers);
  ~DigestPipeline();  // stops the threads; results not taken yet are dropped
  DigestPipeline(const DigestPipeline&) = delete;
  DigestPipeline& operator=(const DigestPipeline&) = delete;

  // False when the reader or not even one worker could be started: then no
  // result will ever come.
  bool Running() const { return reader_.joinable(); }

  // The digest of paths[index], or nothing when it is not ready within `wait`.
  std::optional<FileDigest> Result(std::size_t index, std::chrono::milliseconds wait);

 private:
  using Buffer = std::vector<std::uint8_t>;
  struct Piece {
    Buffer bytes;
    bool last;
  };
  struct Job {
    std::string path;
    File file;
    bool opened = false, fullyRead = false, done = false;
    std::deque<Piece> pieces;
    FileDigest digest;
    FileError readError = FileError::None;  // written by the reader, taken over by the worker
  };

  void StartThreads(int workers);
  void Stop();
  void ReadFiles();
  std::optional<std::size_t> JobToRead();
  void ReadPiece(std::size_t index);
  void HashFiles();
  void HashJob(std::size_t index);
  Buffer TakeBuffer();

  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Job> jobs_;
  std::size_t nextClaim_ = 0;      // the next job a worker takes
  std::size_t firstUnread_ = 0;    // the first job not yet read to its end
  std::size_t workerCount_ = 0;  // the workers that run
  std::vector<Buffer> spareBuffers_;
  bool stopping_ = false;
  std::thread reader_;
  std::vector<std::thread> workers_;
};
