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

// The start of the name the output is written under until it is verified,
// in the same folder (so that putting it in place is a rename): the output
// name cut to at most 64 bytes between characters, so that with ".part" and
// a number it fits any file system's limit however long the output name is.
std::string PartFileStem(const std::string& outputName);
