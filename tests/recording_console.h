#pragma once
#include <string>
#include <vector>

#include "unpacker/console_sink.h"

// Keeps what Ferrule writes (standard output and standard error apart), the
// titles it sets and the pauses it asks for.
class RecordingConsole final : public ConsoleSink {
 public:
  void Write(std::string_view text) override { output += text; }
  void WriteError(std::string_view text) override { errors += text; }
  void SetTitle(std::string_view title) override { titles.emplace_back(title); }
  void Pause(int milliseconds) override { pauses.push_back(milliseconds); }

  std::string output;
  std::string errors;
  std::vector<std::string> titles;
  std::vector<int> pauses;
};
