#pragma once
#include <memory>
#include <string>

// How one run of 7-Zip ended.
struct InflateStatus {
  bool started = false;
  int exitCode = 0;  // when started; a run ended by a signal counts as 128 + its number
  bool Succeeded() const { return started && exitCode == 0; }
};

// Inflates one compressed chunk with 7-Zip's command-line program.
class ChunkInflater {
 public:
  virtual ~ChunkInflater() = default;
  // The private folder of this run that holds the chunk's side files while
  // it is inflated; 7-Zip runs in it, so whatever it writes stays there.
  virtual std::string SideFolder() const = 0;
  // Runs 7-Zip on `packedFile` and waits for it; the content it unpacks ends
  // up in `contentFile` (nothing there when 7-Zip fails).
  virtual InflateStatus Inflate(const std::string& packedFile, const std::string& contentFile) = 0;
};

// The 7-Zip program for this run, or null when it is missing, is not the
// program expected, or no private folder can be made for it.
std::unique_ptr<ChunkInflater> FindSevenZip(const std::string& runDirectory);
