#pragma once
#include <string>

// Where the unpacked file of an SPK path goes: the path less its last four
// bytes (the ".spk", whatever its case), split at the last separator, which
// is found walking double-byte characters whole.
struct OutputPlace {
  std::string directory;  // up to and including the last separator; may be empty
  std::string name;       // empty when the path names no file to write
};

OutputPlace DeriveOutputPlace(const std::string& spkPath, char separator);
