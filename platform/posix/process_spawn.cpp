#include "platform/posix/process_spawn.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>

#include "platform/posix/stopped_on_interruption.h"

extern char** environ;

namespace {
struct FileActions {
  posix_spawn_file_actions_t actions;
  FileActions() { posix_spawn_file_actions_init(&actions); }
  ~FileActions() { posix_spawn_file_actions_destroy(&actions); }
};

// The child starts with the default actions for a broken pipe and for the
// interruptions, and with no signal blocked, whatever this program chose
// for itself.
struct DefaultSignals {
  posix_spawnattr_t attributes;
  DefaultSignals() {
    posix_spawnattr_init(&attributes);
    sigset_t signals;
    sigemptyset(&signals);
    for (int signalNumber : {SIGPIPE, SIGINT, SIGTERM, SIGHUP}) sigaddset(&signals, signalNumber);
    posix_spawnattr_setsigdefault(&attributes, &signals);
    sigset_t noneBlocked;
    sigemptyset(&noneBlocked);
    posix_spawnattr_setsigmask(&attributes, &noneBlocked);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
  }
  ~DefaultSignals() { posix_spawnattr_destroy(&attributes); }
};

void RedirectTo(FileActions& files, int fd, const std::string& path) {
  if (!path.empty()) posix_spawn_file_actions_addopen(&files.actions, fd, path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
}
}  // namespace

bool IsExecutableFile(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

pid_t StartProcess(const std::vector<std::string>& arguments, const ProcessSetup& setup) {
  if (arguments.empty()) return -1;
  FileActions files;
  posix_spawn_file_actions_addopen(&files.actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  RedirectTo(files, STDOUT_FILENO, setup.outputFile);
  RedirectTo(files, STDERR_FILENO, setup.errorFile);
  if (!setup.workingDirectory.empty())
    posix_spawn_file_actions_addchdir_np(&files.actions, setup.workingDirectory.c_str());

  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  DefaultSignals signals;
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], &files.actions, &signals.attributes, argv.data(), environ) != 0) return -1;
  return pid;
}

int WaitForProcess(pid_t pid) {
  if (pid <= 0) return kNotStarted;
  siginfo_t end{};
  {
    StoppedOnInterruption stopped(pid);
    // The child is left unreaped here, so its number cannot pass to another
    // process while an interruption may still stop it.
    while (waitid(P_PID, static_cast<id_t>(pid), &end, WEXITED | WNOWAIT) != 0 && errno == EINTR) {
    }
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0)
    if (errno != EINTR) return kNotStarted;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

int SpawnAndWait(const std::vector<std::string>& arguments, const ProcessSetup& setup) {
  return WaitForProcess(StartProcess(arguments, setup));
}

int SpawnAndWait(const std::vector<std::string>& arguments, const std::string& workingDirectory,
                 const std::string& outputFile) {
  return SpawnAndWait(arguments, ProcessSetup{workingDirectory, outputFile, {}});
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
