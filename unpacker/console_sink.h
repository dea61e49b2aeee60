#pragma once
#include <string_view>

// Where Ferrule's texts, title and pauses go: the real console in the
// program, a recorder in the tests (so no test waits out a real pause).
// Write goes to standard output, WriteError to standard error.
class ConsoleSink {
 public:
  virtual ~ConsoleSink() = default;
  virtual void Write(std::string_view text) = 0;
  virtual void WriteError(std::string_view text) = 0;
  virtual void SetTitle(std::string_view title) = 0;
  virtual void Pause(int milliseconds) = 0;
};

class SystemConsole final : public ConsoleSink {
 public:
  void Write(std::string_view text) override;
  void WriteError(std::string_view text) override;
  void SetTitle(std::string_view title) override;
  void Pause(int milliseconds) override;
};
