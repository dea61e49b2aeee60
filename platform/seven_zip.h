#pragma once
#include <memory>
#include <string>

// Inflates one compressed chunk with 7-Zip's command-line program.
class ChunkInflater {
 public:
  virtual ~ChunkInflater() = default;
  // The folder that holds the chunk's side files while it is inflated.
  virtual std::string SideFolder() const = 0;
  // Runs 7-Zip on `packedFile` and waits for it; the content it unpacks ends
  // up in `contentFile` (nothing there when 7-Zip fails).
  virtual void Inflate(const std::string& packedFile, const std::string& contentFile) = 0;
};

// The 7-Zip program for this run, or null when it is missing or is not the
// program expected.
std::unique_ptr<ChunkInflater> FindSevenZip(const std::string& runDirectory);
