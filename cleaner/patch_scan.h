#pragma once
// Judging the files of one game folder against its official table. The
// window's scan and the console front end both run this, so they always give
// the same verdicts.
#include <chrono>
#include <string>
#include <unordered_map>
#include <vector>

#include "cleaner/package_list.h"
#include "platform/file_error.h"

enum class Verdict { Passes, Unofficial, SizeDiffers, DigestDiffers };

// The texts the result list shows for each verdict but Passes.
std::string VerdictText(Verdict verdict);

// A file's size as the official table compares it: the low 32 bits taken as
// a signed value, -1 when there is no such file.
std::int32_t TableSize(const std::string& path);

// The official table of a folder with the skip names entered into it. Skip
// names stand just before the folder's last official entry, in their order;
// a folder without official files takes none.
class OfficialTable {
 public:
  OfficialTable(OfficialFiles files, const std::string& folderPath, const std::vector<std::string>& skipNames);

  const OfficialFiles& Files() const { return files_; }
  // Hands the table's files over, for keeping after the scan.
  OfficialFiles TakeFiles() && { return std::move(files_); }
  std::size_t Size() const { return files_.names.size(); }
  // The first entry of that exact name (case counts), or -1.
  long long Find(const std::string& name) const;
  // A skip entry describes the very file found under its name, so it passes
  // every comparison without being read.
  bool IsSkipEntry(std::size_t entry) const { return skipEntry_[entry]; }

 private:
  OfficialFiles files_;
  std::vector<bool> skipEntry_;
  std::unordered_map<std::string, std::size_t> firstEntry_;
};

class ScanEvents {
 public:
  virtual ~ScanEvents() = default;
  // Called every few milliseconds while the scan works or waits for digests.
  virtual void Waiting() = 0;
  // Asked along with Waiting; true ends the scan early.
  virtual bool Stopped() { return false; }
  // Once for every found file, in the order found. `readError` tells why a
  // file could not be read for its digest (None otherwise); such a file's
  // verdict is DigestDiffers, as the window shows it.
  virtual void Judged(const std::string& name, Verdict verdict, FileError readError) = 0;
};

struct ScanOptions {
  // A file whose size differs is reported as such and never hashed.
  bool compareSizes = false;
  bool compareDigests = false;
  int hashWorkers = 2;  // at least 1; fewer run when the system gives fewer threads
  std::chrono::milliseconds waitingInterval{15};
};

// The names of the entries of a folder that are not folders; none for a
// folder that does not exist.
std::vector<std::string> FoundNames(const std::string& folderPath);

// The hashing workers a scan uses by default on this machine.
int DefaultHashWorkers();

enum class ScanEnd {
  Finished,
  Stopped,            // ScanEvents::Stopped asked for it
  HashingNotStarted,  // digests were needed and not one hashing thread could start; nothing was judged
};

ScanEnd JudgeFiles(const std::string& folderPath, const std::vector<std::string>& foundNames,
                   const OfficialTable& table, const ScanOptions& options, ScanEvents& events);
