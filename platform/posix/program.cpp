#include "platform/program.h"

#include <unistd.h>

#include <cerrno>
#include <climits>

#include "platform/posix/native_text.h"

std::string RunDirectory() {
  char path[PATH_MAX];
  ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return ".";
  std::string exe(path, static_cast<std::size_t>(length));
  std::size_t slash = exe.rfind('/');
  return TextFromUtf8(slash == 0 ? "/" : exe.substr(0, slash));
}

std::string SystemDirectoryForBarePaths() {
  std::vector<char> path(PATH_MAX);
  while (getcwd(path.data(), path.size()) == nullptr) {
    if (errno != ERANGE) return ".";
    path.resize(path.size() * 2);
  }
  return TextFromUtf8(path.data());
}

std::vector<std::string> ProgramArguments(int argc, char** argv, CommandLineSplitter) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(TextFromUtf8(argv[i]));
  return arguments;
}
