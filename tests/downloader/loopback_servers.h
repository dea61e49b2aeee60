#pragma once
// The servers the download tests fetch from, on 127.0.0.1 only: nginx, an
// FTP server and our own faulty HTTP server, all serving one folder
// (servers/loopback_servers.py). A test program starts them on first use,
// or, where it can't (under Wine), finds them started for it.
#include <cstdint>
#include <string>
#include <vector>

struct LoopbackServers {
  int httpPort = 0;
  int ftpPort = 0;
  int faultyPort = 0;
  std::string root;  // the folder served, as this program names it
  std::string nginxLog;
  std::string faultyLog;

  std::string NginxUrl(const std::string& path) const;   // "/files/a.spk"
  std::string FaultyUrl(const std::string& path) const;  // "/cut/1/a.spk"
  std::string FtpUrl(const std::string& name) const;
  // Puts a file where all three servers serve it.
  void Serve(const std::string& name, const std::string& bytes) const;

  // One answer of a server's log.
  struct Answer {
    std::string path;
    std::string range;  // the Range header asked for; "-" for none
    int status = 0;
    std::int64_t bytes = 0;  // body bytes sent
  };
  std::vector<Answer> NginxAnswers(const std::string& pathPrefix) const;
  std::vector<Answer> FaultyAnswers(const std::string& pathPrefix) const;
};

// The running servers; fails the test (and returns null) when they can't be had.
const LoopbackServers* TestServers();

// What each platform does (loopback_launch_*.cpp): the path of the servers'
// ready file, once they answer; empty when they could not be started.
std::string LaunchServers();
// A path the server side wrote, as this program names it.
std::string ServerSidePath(const std::string& path);
