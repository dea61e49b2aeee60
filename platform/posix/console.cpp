#include "platform/console.h"

#include <langinfo.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <clocale>
#include <cstring>
#include <thread>

#include "platform/posix/native_text.h"

namespace {
// Only a terminal or pipe set up for GBK text gets the bytes unchanged;
// UTF-8 and the plain C locale (typical of pipes and CI) get UTF-8.
bool WantsGbkBytes() {
  static const bool wants = [] {
    std::setlocale(LC_CTYPE, "");
    const char* codeset = nl_langinfo(CODESET);
    return codeset && (std::strcmp(codeset, "GBK") == 0 || std::strcmp(codeset, "GB18030") == 0 ||
                       std::strcmp(codeset, "GB2312") == 0);
  }();
  return wants;
}

void WriteAll(int fd, const std::string& bytes) {
  // A reader that goes away early must not end the program half-way: the
  // write just fails and the work goes on.
  static const bool brokenPipeIgnored = [] { return std::signal(SIGPIPE, SIG_IGN) != SIG_ERR; }();
  (void)brokenPipeIgnored;
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t put = write(fd, bytes.data() + done, bytes.size() - done);
    if (put <= 0) return;
    done += static_cast<std::size_t>(put);
  }
}
}  // namespace

void WriteConsoleText(std::string_view text) {
  WriteAll(STDOUT_FILENO, WantsGbkBytes() ? std::string(text) : Utf8FromText(text));
}

void WriteErrorText(std::string_view text) {
  WriteAll(STDERR_FILENO, WantsGbkBytes() ? std::string(text) : Utf8FromText(text));
}

void SetConsoleTitleText(std::string_view title) {
  if (!isatty(STDOUT_FILENO)) return;
  WriteAll(STDOUT_FILENO, "\033]0;" + (WantsGbkBytes() ? std::string(title) : Utf8FromText(title)) + "\007");
}

void PauseMilliseconds(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

bool ErrorIsTerminal() { return isatty(STDERR_FILENO) == 1; }
