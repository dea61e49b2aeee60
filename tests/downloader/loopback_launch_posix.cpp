// Starts the loopback servers as a child that lives as long as this test
// program: its standard input is a pipe that closes when the program ends,
// however it ends, and then the servers stop.
#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/files.h"
#include "tests/downloader/loopback_servers.h"

extern char** environ;

std::string LaunchServers() {
  char folder[] = "/tmp/dnf-loopback-XXXXXX";
  if (mkdtemp(folder) == nullptr) return "";
  const std::string ready = std::string(folder) + "/ready";
  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) return "";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[0], 0);
  std::string python = SYSTEM_PYTHON;
  std::string script = LOOPBACK_SERVERS_SCRIPT;
  std::string option = "--ready-file";
  std::string readyArgument = ready;
  char* arguments[] = {python.data(), script.data(), option.data(), readyArgument.data(), nullptr};
  pid_t child = 0;
  const int failed = posix_spawn(&child, python.c_str(), &actions, nullptr, arguments, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[0]);
  if (failed != 0) return "";
  // pipeEnds[1] stays open on purpose until this program ends.
  for (int waited = 0; waited < 300; ++waited) {
    if (FileExists(ready)) return ready;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return "";
}

std::string ServerSidePath(const std::string& path) { return path; }
