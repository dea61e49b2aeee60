#pragma once
#include <string>

// Every text Ferrule shows, as GB18030 texts.
struct FerruleTexts {
  std::string title;
  std::string banner;
  std::string usage;
  std::string sevenZipBroken;
  std::string unpacked;
  std::string notRecognised;
  std::string digestMismatch;
  std::string fileToUnpack;
  std::string defaultPath;
  std::string unpackedSize;
  std::string bytes;
  std::string storedDigest;
  std::string chunkCount;
  std::string chunkUnit;
  std::string progress;
};

const FerruleTexts& Texts();

inline constexpr char kLineEnd[] = "\r\n";
