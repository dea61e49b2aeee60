#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "unpacker/console_sink.h"
#include "platform/seven_zip.h"

using SevenZipFinder = std::function<std::unique_ptr<ChunkInflater>()>;

inline constexpr int kClosingPauseMs = 2000;

// Ferrule's main sequence: banner, argument check, 7-Zip check, unpack,
// report. Returns the exit code, which is 0 on every path.
int RunFerrule(const std::vector<std::string>& arguments, ConsoleSink& console, const SevenZipFinder& findSevenZip);
