#include "platform/posix/process_spawn.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>

extern char** environ;

namespace {
struct FileActions {
  posix_spawn_file_actions_t actions;
  FileActions() { posix_spawn_file_actions_init(&actions); }
  ~FileActions() { posix_spawn_file_actions_destroy(&actions); }
};

// The child starts with the default action for a broken pipe, whatever
// this program chose for itself.
struct DefaultSignals {
  posix_spawnattr_t attributes;
  DefaultSignals() {
    posix_spawnattr_init(&attributes);
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &signals);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
  }
  ~DefaultSignals() { posix_spawnattr_destroy(&attributes); }
};
}  // namespace

bool IsExecutableFile(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

int SpawnAndWait(const std::vector<std::string>& arguments, const std::string& workingDirectory,
                 const std::string& outputFile) {
  if (arguments.empty()) return -1;
  FileActions files;
  posix_spawn_file_actions_addopen(&files.actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  if (!outputFile.empty())
    posix_spawn_file_actions_addopen(&files.actions, STDOUT_FILENO, outputFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (!workingDirectory.empty()) posix_spawn_file_actions_addchdir_np(&files.actions, workingDirectory.c_str());

  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  DefaultSignals signals;
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], &files.actions, &signals.attributes, argv.data(), environ) != 0) return -1;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0)
    if (errno != EINTR) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string FindInPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string folders = path ? path : "/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= folders.size()) {
    std::size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    std::string candidate = folders.substr(start, end - start) + "/" + name;
    if (end > start && IsExecutableFile(candidate)) return candidate;
    start = end + 1;
  }
  return {};
}
