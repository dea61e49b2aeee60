// Under Wine the servers run on the Linux side, started around this program
// by servers/loopback_servers.py --run, which names its ready file in
// DNF_LOOPBACK_SERVERS. Linux paths are reached through Wine's drive Z:.
#include <cstdlib>
#include <string>

#include "tests/downloader/loopback_servers.h"

std::string LaunchServers() {
  const char* ready = std::getenv("DNF_LOOPBACK_SERVERS");
  return ready ? ServerSidePath(ready) : "";
}

std::string ServerSidePath(const std::string& path) {
  std::string windows = "Z:" + path;
  for (char& c : windows)
    if (c == '/') c = '\\';
  return windows;
}
