#include "cleaner/patch_scan.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <thread>

#include "cleaner/digest_pipeline.h"
#include "platform/files.h"
#include "platform/utf8_text.h"

std::string VerdictText(Verdict verdict) {
  switch (verdict) {
    case Verdict::Unofficial: return TextFromUtf8Source(u8"非官方文件");
    case Verdict::SizeDiffers: return TextFromUtf8Source(u8"文件大小错误");
    case Verdict::DigestDiffers: return TextFromUtf8Source(u8"哈希校验码错误");
    case Verdict::Passes: break;
  }
  return {};
}

std::int32_t TableSize(const std::string& path) {
  std::int64_t size = FileSize(path);
  return size < 0 ? -1 : static_cast<std::int32_t>(static_cast<std::uint32_t>(size));
}

OfficialTable::OfficialTable(OfficialFiles files, const std::string& folderPath, const std::vector<std::string>& skipNames)
    : files_(std::move(files)), skipEntry_(files_.names.size(), false) {
  for (const std::string& name : skipNames) {
    if (files_.names.empty()) break;
    const std::size_t at = files_.names.size() - 1;
    files_.names.insert(files_.names.begin() + at, name);
    files_.sizes.insert(files_.sizes.begin() + at, TableSize(JoinPath(folderPath, name)));
    files_.digests.insert(files_.digests.begin() + at, std::string());  // never compared, see IsSkipEntry
    skipEntry_.insert(skipEntry_.begin() + at, true);
  }
  firstEntry_.reserve(files_.names.size());
  for (std::size_t i = 0; i < files_.names.size(); ++i) firstEntry_.try_emplace(files_.names[i], i);
}

long long OfficialTable::Find(const std::string& name) const {
  auto found = firstEntry_.find(name);
  return found == firstEntry_.end() ? -1 : static_cast<long long>(found->second);
}

std::vector<std::string> FoundNames(const std::string& folderPath) { return ListFileNames(folderPath); }

int DefaultHashWorkers() {
  unsigned cores = std::thread::hardware_concurrency();
  return static_cast<int>(std::clamp(cores, 1u, 4u));
}

namespace {
bool SameDigest(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

// What is known of a found file before its content is read.
struct Judgement {
  Verdict verdict = Verdict::Passes;
  long long entry = -1;
  bool needsDigest = false;
};

Judgement JudgeWithoutContent(const std::string& path, const std::string& name, const OfficialTable& table,
                              const ScanOptions& options) {
  Judgement judgement;
  judgement.entry = table.Find(name);
  if (judgement.entry < 0) {
    judgement.verdict = Verdict::Unofficial;
  } else if (!table.IsSkipEntry(judgement.entry)) {
    if (options.compareSizes && table.Files().sizes[judgement.entry] != TableSize(path))
      judgement.verdict = Verdict::SizeDiffers;
    else
      judgement.needsDigest = options.compareDigests;
  }
  return judgement;
}

class Ticker {
 public:
  Ticker(ScanEvents& events, std::chrono::milliseconds interval) : events_(events), interval_(interval) {}
  // Lets the caller's Waiting run when its interval has passed.
  void Tick() {
    auto now = std::chrono::steady_clock::now();
    if (now - last_ < interval_) return;
    last_ = now;
    events_.Waiting();
  }
  void Now() {
    last_ = std::chrono::steady_clock::now();
    events_.Waiting();
  }

 private:
  ScanEvents& events_;
  std::chrono::milliseconds interval_;
  std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};
}  // namespace

ScanEnd JudgeFiles(const std::string& folderPath, const std::vector<std::string>& foundNames,
                   const OfficialTable& table, const ScanOptions& options, ScanEvents& events) {
  std::vector<Judgement> judgements;
  std::vector<std::string> toHash;
  judgements.reserve(foundNames.size());
  for (const std::string& name : foundNames) {
    const std::string path = JoinPath(folderPath, name);
    judgements.push_back(JudgeWithoutContent(path, name, table, options));
    if (judgements.back().needsDigest) toHash.push_back(path);
  }
  // Only the files whose digest can still change the verdict are read.
  std::unique_ptr<DigestPipeline> digests =
      toHash.empty() ? nullptr : std::make_unique<DigestPipeline>(std::move(toHash), options.hashWorkers);
  if (digests && !digests->Running()) return ScanEnd::HashingNotStarted;

  Ticker ticker(events, options.waitingInterval);
  std::size_t hashed = 0;
  for (std::size_t i = 0; i < foundNames.size(); ++i) {
    Judgement& judgement = judgements[i];
    FileError readError = FileError::None;
    if (judgement.needsDigest) {
      std::optional<FileDigest> digest;
      while (!(digest = digests->Result(hashed, options.waitingInterval))) {
        ticker.Now();
        if (events.Stopped()) return ScanEnd::Stopped;
      }
      ++hashed;
      readError = digest->readError;
      if (readError != FileError::None || !SameDigest(digest->text, table.Files().digests[judgement.entry]))
        judgement.verdict = Verdict::DigestDiffers;
    }
    events.Judged(foundNames[i], judgement.verdict, readError);
    ticker.Tick();
    if (events.Stopped()) return ScanEnd::Stopped;
  }
  return ScanEnd::Finished;
}
