#pragma once
// One download from its first request to the file in place: the answer's
// checks, the pieces and their connections, retries, the rate, the part file
// and its record for a later resume.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "downloader/byte_span.h"
#include "downloader/download_engine.h"
#include "downloader/part_record.h"
#include "downloader/ranged_answer.h"
#include "downloader/rate_limiter.h"
#include "downloader/speed_meter.h"
#include "downloader/transport.h"

class DownloadRun {
 public:
  DownloadRun(DownloadTask task, std::shared_ptr<Transport> transport, RetryPolicy retries);
  ~DownloadRun();
  DownloadRun(const DownloadRun&) = delete;
  DownloadRun& operator=(const DownloadRun&) = delete;

  // Runs the download to its end on the calling thread, which also raises
  // SizeKnown. The file stands at SavePath afterwards only if it came whole.
  void Execute();
  // From any thread: ends Execute soon; the part file stays for a resume.
  void Stop();
  bool WasStopped() const { return stopped_; }

  // Why the file is not at SavePath after Execute, in a few English words
  // for a log or standard error; empty when it is, or after Stop.
  std::string FailureReason() const;

  std::int64_t BytesDone() const { return bytesDone_; }
  std::int64_t CurrentSpeed() { return meter_.BytesPerSecond(); }

 private:
  struct Connection;
  class PieceSink;
  struct Piece {
    ByteSpan span;          // span.end -1 while the size is unknown
    std::int64_t done = 0;  // bytes written from span.first on
  };
  enum class RoundEnd { None, Complete, StartOver, WholeFileOnly, Refused, Failed, Stopped };
  enum class RoundKind { Ranged, WholeFile };
  // Probing: the first answer will tell whether ranges work.
  enum class Mode { Probing, Ranged, Whole };

  RoundEnd RunRound(RoundKind kind, const std::optional<PartRecord>& resume);
  // One connection: fetches `first`, then whatever pieces are waiting.
  void ServePieces(Transfer& transfer, std::optional<std::size_t> first);
  void RunHelperConnection();
  bool Register(Transfer& transfer);
  void Unregister(Transfer& transfer);
  bool FetchPiece(Connection& connection, std::size_t piece);
  bool PrepareAttempt(std::size_t piece, TransferRequest& request, AskedRange& asked, std::int64_t& writeAt,
                      std::int64_t& doneBefore);

  // The sinks' calls; each takes the lock itself.
  bool AcceptHead(std::size_t piece, const ResponseHead& head, const AskedRange& asked);
  std::int64_t PieceEnd(std::size_t piece) const;
  void Written(std::size_t piece, std::int64_t bytes);
  void MarkEndOfUnsizedPiece(std::size_t piece);
  void EndRound(RoundEnd end);

  // Called with the lock held; the Accept ones return whether the answer's
  // body is wanted.
  bool AcceptFirstHead(AnswerVerdict verdict, const ResponseHead& head);
  bool AcceptRangedHead(AnswerVerdict verdict);
  bool AcceptWholeHead(std::size_t piece, AnswerVerdict verdict, const ResponseHead& head);
  void PlanPieces();
  bool EndRoundLocked(RoundEnd end);
  bool PieceComplete(std::size_t piece) const;
  bool AllPiecesComplete() const;
  PartRecord CurrentRecordLocked() const;
  bool ResumableLocked() const;
  void SaveRecordLocked();

  std::optional<std::size_t> TakePiece();
  bool WaitBeforeRetry(int stalled);
  // The first cause of a failure is the one told; later ones follow from it.
  void NoteFailure(const std::string& reason);
  void NoteFailureLocked(const std::string& reason);
  void NoteFileFailure(const char* action, const std::string& path);
  bool Finish();
  void KeepPartForResume();
  void DiscardPart();

  const DownloadTask task_;
  const std::shared_ptr<Transport> transport_;
  const RetryPolicy retries_;
  const std::string partPath_;

  std::atomic<bool> stopped_{false};
  std::atomic<std::int64_t> bytesDone_{0};
  SpeedMeter meter_;
  RateLimiter limiter_;

  mutable std::mutex mutex_;  // guards everything below
  std::condition_variable stopSignal_;
  std::vector<Transfer*> transfers_;
  std::vector<std::thread> helpers_;
  RoundEnd roundEnd_ = RoundEnd::None;
  Mode mode_ = Mode::Probing;
  bool resuming_ = false;
  std::int64_t total_ = -1;
  std::string validator_;  // empty: this download can't be resumed later
  std::vector<ByteSpan> haveBefore_;  // bytes a resumed part file brought along
  std::vector<Piece> pieces_;
  std::deque<std::size_t> waitingPieces_;
  bool sizeReported_ = false;
  std::chrono::steady_clock::time_point lastRecordSave_{};
  std::string failure_;
};
