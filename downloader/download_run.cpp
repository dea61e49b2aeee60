#include "downloader/download_run.h"

#include <algorithm>
#include <numeric>

#include "downloader/piece_plan.h"
#include "downloader/ranged_answer.h"
#include "platform/file_error.h"
#include "platform/files.h"

namespace {
// Bytes gathered before they go to disk in one write.
constexpr std::size_t kWriteBuffer = 256 << 10;
// A round is one plan for the file; a file that changes or a server that
// turns out to ignore ranges starts a new one, and no more than this.
constexpr int kMaxRounds = 4;
// Tries of one piece, however much each brings: a last bound for a server
// that always drops the connection after a few bytes.
constexpr int kMaxAttemptsPerPiece = 64;
constexpr std::chrono::seconds kRecordSaveInterval{1};
constexpr int kMostConnections = 16;

// Why the last try of a piece ended, for the failure's reason.
const char* TransferEndText(TransferEnd end) {
  switch (end) {
    case TransferEnd::ConnectFailed: return "could not connect to the server";
    case TransferEnd::TimedOut: return "the server did not answer in time";
    case TransferEnd::Cut: return "the connection broke off";
    default: return "the answers ended before the file did";
  }
}

std::int64_t SumOf(const std::vector<ByteSpan>& spans) {
  return std::accumulate(spans.begin(), spans.end(), std::int64_t{0},
                         [](std::int64_t sum, const ByteSpan& span) { return sum + span.Size(); });
}
}  // namespace

// One connection's own handle on the part file and its write buffer.
struct DownloadRun::Connection {
  Transfer& transfer;
  File file;
  std::vector<std::uint8_t> buffer;
};

// Takes one answer's bytes for one piece: stops at the piece's end, keeps to
// the rate, and writes in large blocks at the piece's place in the file.
class DownloadRun::PieceSink final : public TransferSink {
 public:
  PieceSink(DownloadRun& run, Connection& connection, std::size_t piece, AskedRange asked, std::int64_t writeAt)
      : run_(run), connection_(connection), piece_(piece), asked_(asked), writeAt_(writeAt) {
    connection_.buffer.clear();
  }

  bool OnHead(const ResponseHead& head) override {
    if (!run_.AcceptHead(piece_, head, asked_)) return false;
    end_ = run_.PieceEnd(piece_);
    headAccepted_ = true;
    return true;
  }

  bool HeadAccepted() const { return headAccepted_; }

  bool OnBody(const std::uint8_t* data, std::size_t size) override {
    if (run_.stopped_) return false;
    const std::int64_t position = writeAt_ + static_cast<std::int64_t>(connection_.buffer.size());
    if (end_ >= 0) size = static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(size), end_ - position));
    if (size > 0) {
      if (!run_.limiter_.Take(static_cast<std::int64_t>(size))) return false;
      run_.meter_.Add(static_cast<std::int64_t>(size));
      run_.bytesDone_ += static_cast<std::int64_t>(size);
      connection_.buffer.insert(connection_.buffer.end(), data, data + size);
    }
    const bool pieceFull = end_ >= 0 && position + static_cast<std::int64_t>(size) == end_;
    // A slow connection still writes now and then, so that its record keeps up.
    const bool due = std::chrono::steady_clock::now() - lastFlush_ >= kRecordSaveInterval;
    if (pieceFull || due || connection_.buffer.size() >= kWriteBuffer) {
      if (!Flush()) return false;
    }
    return !pieceFull;
  }

  // Writes what is gathered; false, and the round ends, when the disk refuses.
  bool Flush() {
    if (run_.stopped_) connection_.buffer.clear();  // the record of the stop is final
    if (connection_.buffer.empty()) return !run_.stopped_;
    if (!connection_.file.Seek(writeAt_) || !connection_.file.Write(connection_.buffer.data(), connection_.buffer.size())) {
      run_.NoteFileFailure("write", run_.partPath_);
      run_.EndRound(RoundEnd::Failed);
      return false;
    }
    const auto written = static_cast<std::int64_t>(connection_.buffer.size());
    lastFlush_ = std::chrono::steady_clock::now();
    writeAt_ += written;
    connection_.buffer.clear();
    run_.Written(piece_, written);
    return true;
  }

 private:
  DownloadRun& run_;
  Connection& connection_;
  const std::size_t piece_;
  const AskedRange asked_;
  std::int64_t writeAt_;
  std::int64_t end_ = -1;  // where the piece ends, once the head has told
  bool headAccepted_ = false;
  std::chrono::steady_clock::time_point lastFlush_ = std::chrono::steady_clock::now();
};

DownloadRun::DownloadRun(DownloadTask task, std::shared_ptr<Transport> transport, RetryPolicy retries)
    : task_(std::move(task)),
      transport_(std::move(transport)),
      retries_(retries),
      partPath_(task_.SavePath + ".part"),
      limiter_(task_.SpeedLimit) {}

DownloadRun::~DownloadRun() = default;

void DownloadRun::Execute() {
  std::optional<PartRecord> resume = LoadPartRecord(partPath_);
  if (resume && MissingSpans(resume->done, resume->size).empty()) resume.reset();
  RoundKind kind = RoundKind::Ranged;
  int round = 0;
  for (; round < kMaxRounds && !stopped_; ++round) {
    const RoundEnd end = RunRound(kind, resume);
    resume.reset();
    switch (end) {
      case RoundEnd::Complete:
        if (!Finish()) DiscardPart();
        return;
      case RoundEnd::StartOver:
        RemovePartRecord(partPath_);
        continue;
      case RoundEnd::WholeFileOnly:
        if (kind == RoundKind::WholeFile) break;
        kind = RoundKind::WholeFile;
        RemovePartRecord(partPath_);
        continue;
      case RoundEnd::Refused:
        DiscardPart();
        return;
      default:
        break;
    }
    break;
  }
  // Each round started over: the file changed under every one.
  if (round == kMaxRounds) NoteFailure("the file kept changing on the server");
  KeepPartForResume();
}

void DownloadRun::Stop() {
  stopped_ = true;
  limiter_.Release();
  std::lock_guard lock(mutex_);
  EndRoundLocked(RoundEnd::Stopped);
  // The record is written here, with the bytes written so far: a transfer
  // may take longer than the stop waits to notice, and from now on no
  // connection writes to the part file or its record.
  if (ResumableLocked()) SavePartRecord(partPath_, CurrentRecordLocked());
}

DownloadRun::RoundEnd DownloadRun::RunRound(RoundKind kind, const std::optional<PartRecord>& resume) {
  {
    std::lock_guard lock(mutex_);
    if (stopped_) return RoundEnd::Stopped;
    roundEnd_ = RoundEnd::None;
    resuming_ = resume.has_value();
    mode_ = kind == RoundKind::Ranged ? Mode::Probing : Mode::Whole;
    total_ = resume ? resume->size : -1;
    validator_ = resume ? resume->validator : "";
    haveBefore_ = resume ? resume->done : std::vector<ByteSpan>{};
    const std::int64_t start = resume ? MissingSpans(resume->done, resume->size).front().first : 0;
    pieces_.assign(1, Piece{{start, -1}, 0});
    waitingPieces_.clear();
    bytesDone_ = SumOf(haveBefore_);
  }
  // A part file without a record is of no use: start it empty.
  if (!resume) {
    File created = File::Open(partPath_, File::Mode::CreateOrEmpty);
    if (!created.IsOpen()) {
      NoteFileFailure("create", partPath_);
      return RoundEnd::Failed;
    }
  }
  std::unique_ptr<Transfer> transfer = transport_->NewTransfer();
  ServePieces(*transfer, 0);
  std::vector<std::thread> helpers;
  {
    std::lock_guard lock(mutex_);
    helpers.swap(helpers_);
  }
  for (std::thread& helper : helpers) helper.join();
  std::lock_guard lock(mutex_);
  if (roundEnd_ != RoundEnd::None) return roundEnd_;
  if (stopped_) return RoundEnd::Stopped;
  return AllPiecesComplete() ? RoundEnd::Complete : RoundEnd::Failed;
}

void DownloadRun::ServePieces(Transfer& transfer, std::optional<std::size_t> first) {
  Connection connection{transfer, File::Open(partPath_, File::Mode::ReadWriteShared), {}};
  if (!connection.file.IsOpen()) {
    NoteFileFailure("open", partPath_);
    EndRound(RoundEnd::Failed);
    return;
  }
  if (!Register(transfer)) return;
  for (std::optional<std::size_t> piece = first ? first : TakePiece(); piece; piece = TakePiece())
    if (!FetchPiece(connection, *piece)) break;
  Unregister(transfer);
}

void DownloadRun::RunHelperConnection() {
  std::unique_ptr<Transfer> transfer = transport_->NewTransfer();
  ServePieces(*transfer, std::nullopt);
}

bool DownloadRun::Register(Transfer& transfer) {
  std::lock_guard lock(mutex_);
  if (roundEnd_ != RoundEnd::None) return false;
  transfers_.push_back(&transfer);
  return true;
}

void DownloadRun::Unregister(Transfer& transfer) {
  std::lock_guard lock(mutex_);
  std::erase(transfers_, &transfer);
}

bool DownloadRun::FetchPiece(Connection& connection, std::size_t piece) {
  int stalled = 0;
  int tries = 0;
  TransferEnd end = TransferEnd::Complete;
  while (tries < kMaxAttemptsPerPiece) {
    ++tries;
    TransferRequest request;
    AskedRange asked;
    std::int64_t writeAt = 0;
    std::int64_t doneBefore = 0;
    if (!PrepareAttempt(piece, request, asked, writeAt, doneBefore)) return false;
    PieceSink sink(*this, connection, piece, asked, writeAt);
    end = connection.transfer.Run(request, sink);
    if (!sink.Flush()) return false;
    if (end == TransferEnd::Complete && sink.HeadAccepted()) MarkEndOfUnsizedPiece(piece);
    std::unique_lock lock(mutex_);
    if (PieceComplete(piece)) return true;
    if (roundEnd_ != RoundEnd::None || stopped_ || end == TransferEnd::Aborted) return false;
    if (end == TransferEnd::Unsupported) {
      NoteFailureLocked("an address this program can't fetch");
      EndRoundLocked(RoundEnd::Refused);
      return false;
    }
    // A whole-file answer can't go on from the middle: each try starts over,
    // so only a ranged try can make progress.
    const bool progressed = mode_ == Mode::Ranged && pieces_[piece].done > doneBefore;
    stalled = progressed ? 0 : stalled + 1;
    lock.unlock();
    if (stalled > retries_.attempts) break;
    if (!WaitBeforeRetry(stalled)) return false;
  }
  NoteFailure(std::string(TransferEndText(end)) + " (" + std::to_string(tries) + " tries)");
  EndRound(RoundEnd::Failed);
  return false;
}

bool DownloadRun::PrepareAttempt(std::size_t piece, TransferRequest& request, AskedRange& asked,
                                 std::int64_t& writeAt, std::int64_t& doneBefore) {
  std::lock_guard lock(mutex_);
  if (roundEnd_ != RoundEnd::None || stopped_) return false;
  Piece& current = pieces_[piece];
  if (mode_ == Mode::Whole && current.done > 0) {
    bytesDone_ -= current.done;
    current.done = 0;
  }
  request.url = task_.Url;
  request.ftpUser = task_.FtpUser;
  request.ftpPassword = task_.FtpPassword;
  request.proxy = task_.Proxy;
  request.referer = task_.Referer;
  request.connectTimeoutMs = task_.ConnectTimeout;
  request.sendTimeoutMs = task_.SendTimeout;
  request.receiveTimeoutMs = task_.ReceiveTimeout;
  request.receiveBlock = static_cast<std::size_t>(std::max(task_.ReceiveBlock, 1024));
  if (mode_ != Mode::Whole) {
    asked.first = request.rangeFirst = current.span.first + current.done;
    asked.last = request.rangeLast = current.span.end >= 0 ? current.span.end - 1 : -1;
    asked.conditional = !validator_.empty();
    request.ifRange = validator_;
  }
  writeAt = current.span.first + current.done;
  doneBefore = current.done;
  return true;
}

bool DownloadRun::AcceptHead(std::size_t piece, const ResponseHead& head, const AskedRange& asked) {
  std::int64_t sizeToReport = -1;
  bool accepted = false;
  {
    std::lock_guard lock(mutex_);
    if (roundEnd_ != RoundEnd::None) return false;
    const AnswerVerdict verdict = JudgeAnswer(head, asked, total_);
    if (verdict == AnswerVerdict::Refused) NoteFailureLocked("the server answered " + std::to_string(head.status));
    switch (mode_) {
      case Mode::Probing: accepted = AcceptFirstHead(verdict, head); break;
      case Mode::Ranged: accepted = AcceptRangedHead(verdict); break;
      case Mode::Whole: accepted = AcceptWholeHead(piece, verdict, head); break;
    }
    if (accepted && total_ >= 0 && !sizeReported_) sizeToReport = total_;
    sizeReported_ = sizeReported_ || sizeToReport >= 0;
  }
  if (sizeToReport >= 0 && task_.OnEvent) task_.OnEvent(kSizeKnown, static_cast<double>(sizeToReport), "");
  return accepted;
}

bool DownloadRun::AcceptFirstHead(AnswerVerdict verdict, const ResponseHead& head) {
  switch (verdict) {
    case AnswerVerdict::Ranged: {
      const std::string validator = ChooseValidator(head.etag, head.lastModified);
      // A server that does not honour If-Range still shows what it sends.
      if (resuming_ && !validator.empty() && validator != validator_) return EndRoundLocked(RoundEnd::StartOver);
      if (!resuming_) validator_ = IsRecordableValidator(validator) ? validator : "";
      total_ = ParseContentRange(head.contentRange)->total;
      mode_ = Mode::Ranged;
      PlanPieces();
      return true;
    }
    case AnswerVerdict::WholeFile:
      if (resuming_) return EndRoundLocked(RoundEnd::StartOver);
      mode_ = Mode::Whole;
      validator_.clear();
      total_ = head.contentLength;
      pieces_[0].span = {0, total_};
      return true;
    case AnswerVerdict::FileChanged:
    case AnswerVerdict::TotalChanged:
      return EndRoundLocked(RoundEnd::StartOver);
    case AnswerVerdict::RangeMismatch:
      return EndRoundLocked(RoundEnd::WholeFileOnly);
    case AnswerVerdict::Refused:
      break;
  }
  return EndRoundLocked(RoundEnd::Refused);
}

bool DownloadRun::AcceptRangedHead(AnswerVerdict verdict) {
  switch (verdict) {
    case AnswerVerdict::Ranged:
      return true;
    case AnswerVerdict::FileChanged:
      return EndRoundLocked(RoundEnd::StartOver);
    case AnswerVerdict::Refused:
      return EndRoundLocked(RoundEnd::Refused);
    default:
      // The server ignored the range or sent another file's bytes: one
      // connection fetches the whole file instead.
      return EndRoundLocked(RoundEnd::WholeFileOnly);
  }
}

bool DownloadRun::AcceptWholeHead(std::size_t piece, AnswerVerdict verdict, const ResponseHead& head) {
  if (verdict == AnswerVerdict::Refused) return EndRoundLocked(RoundEnd::Refused);
  if (verdict != AnswerVerdict::WholeFile) {
    NoteFailureLocked("the server's answers did not fit what was asked");
    return EndRoundLocked(RoundEnd::Failed);
  }
  // Each whole-file try starts at byte 0, so it may also bring a new size.
  total_ = head.contentLength;
  pieces_[piece].span = {0, total_};
  return true;
}

void DownloadRun::PlanPieces() {
  const std::vector<ByteSpan> missing = MissingSpans(haveBefore_, total_);
  const int connections = std::clamp<int>(task_.Connections, 1, kMostConnections);
  const std::vector<ByteSpan> plan = ::PlanPieces(missing, total_, connections);
  pieces_.clear();
  for (const ByteSpan& span : plan) pieces_.push_back({span, 0});
  waitingPieces_.clear();
  for (std::size_t piece = 1; piece < pieces_.size(); ++piece) waitingPieces_.push_back(piece);
  const std::size_t helpers = std::min<std::size_t>(waitingPieces_.size(), static_cast<std::size_t>(connections - 1));
  for (std::size_t i = 0; i < helpers; ++i) helpers_.emplace_back([this] { RunHelperConnection(); });
  SaveRecordLocked();
}

std::int64_t DownloadRun::PieceEnd(std::size_t piece) const {
  std::lock_guard lock(mutex_);
  return pieces_[piece].span.end;
}

void DownloadRun::Written(std::size_t piece, std::int64_t bytes) {
  std::lock_guard lock(mutex_);
  pieces_[piece].done += bytes;
  const auto now = std::chrono::steady_clock::now();
  if (now - lastRecordSave_ >= kRecordSaveInterval) {
    lastRecordSave_ = now;
    SaveRecordLocked();
  }
}

void DownloadRun::MarkEndOfUnsizedPiece(std::size_t piece) {
  std::lock_guard lock(mutex_);
  Piece& current = pieces_[piece];
  if (current.span.end >= 0 || roundEnd_ != RoundEnd::None) return;
  // The server never said how long the file is: it ends where the answer did.
  current.span.end = current.span.first + current.done;
  total_ = current.span.end;
}

void DownloadRun::EndRound(RoundEnd end) {
  std::lock_guard lock(mutex_);
  EndRoundLocked(end);
}

bool DownloadRun::EndRoundLocked(RoundEnd end) {
  if (roundEnd_ == RoundEnd::None) {
    roundEnd_ = end;
    for (Transfer* transfer : transfers_) transfer->Abort();
    stopSignal_.notify_all();
  }
  return false;
}

bool DownloadRun::PieceComplete(std::size_t piece) const {
  const Piece& current = pieces_[piece];
  return current.span.end >= 0 && current.done == current.span.Size();
}

bool DownloadRun::AllPiecesComplete() const {
  if (mode_ == Mode::Probing) return false;
  for (std::size_t piece = 0; piece < pieces_.size(); ++piece)
    if (!PieceComplete(piece)) return false;
  return true;
}

std::optional<std::size_t> DownloadRun::TakePiece() {
  std::lock_guard lock(mutex_);
  if (roundEnd_ != RoundEnd::None || waitingPieces_.empty()) return std::nullopt;
  const std::size_t piece = waitingPieces_.front();
  waitingPieces_.pop_front();
  return piece;
}

bool DownloadRun::WaitBeforeRetry(int stalled) {
  const auto wait = retries_.firstWait * (1 << std::clamp(stalled - 1, 0, 10));
  std::unique_lock lock(mutex_);
  return !stopSignal_.wait_for(lock, wait, [this] { return roundEnd_ != RoundEnd::None || stopped_; });
}

PartRecord DownloadRun::CurrentRecordLocked() const {
  std::vector<ByteSpan> done = haveBefore_;
  for (const Piece& piece : pieces_) done.push_back({piece.span.first, piece.span.first + piece.done});
  return PartRecord{total_, validator_, JoinSpans(std::move(done))};
}

bool DownloadRun::ResumableLocked() const { return !validator_.empty() && total_ >= 0 && mode_ != Mode::Whole; }

void DownloadRun::SaveRecordLocked() {
  if (ResumableLocked() && !stopped_) SavePartRecord(partPath_, CurrentRecordLocked());
}

bool DownloadRun::Finish() {
  std::int64_t total;
  {
    std::lock_guard lock(mutex_);
    total = total_;
  }
  if (const std::int64_t size = FileSize(partPath_); size != total) {
    NoteFailure("the file came with " + std::to_string(size) + " bytes of " + std::to_string(total));
    return false;
  }
  if (!MoveReplacing(partPath_, task_.SavePath)) {
    NoteFileFailure("move into place", partPath_);
    return false;
  }
  RemovePartRecord(partPath_);
  return true;
}

std::string DownloadRun::FailureReason() const {
  if (stopped_) return "";
  std::lock_guard lock(mutex_);
  if (!failure_.empty()) return failure_;
  return FileExists(task_.SavePath) ? "" : "the download did not complete";
}

void DownloadRun::NoteFailure(const std::string& reason) {
  std::lock_guard lock(mutex_);
  NoteFailureLocked(reason);
}

void DownloadRun::NoteFailureLocked(const std::string& reason) {
  if (failure_.empty()) failure_ = reason;
}

void DownloadRun::NoteFileFailure(const char* action, const std::string& path) {
  NoteFailure(std::string("could not ") + action + " " + path + ": " + FileErrorText(LastFileError()));
}

void DownloadRun::KeepPartForResume() {
  bool resumable;
  {
    std::lock_guard lock(mutex_);
    resumable = ResumableLocked();
    SaveRecordLocked();
  }
  if (!resumable) DiscardPart();
}

void DownloadRun::DiscardPart() {
  RemovePartRecord(partPath_);
  if (FileExists(partPath_)) RemoveFile(partPath_);
}
