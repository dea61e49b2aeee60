#include "tests/downloader/loopback_servers.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <sstream>

#include "platform/files.h"

namespace {
std::string TextOf(const std::string& path) {
  const std::vector<std::uint8_t> bytes = ReadWholeFile(path);
  return std::string(bytes.begin(), bytes.end());
}

std::unique_ptr<LoopbackServers> ReadReadyFile(const std::string& path) {
  std::map<std::string, std::string> values;
  std::istringstream lines(TextOf(path));
  for (std::string line; std::getline(lines, line);) {
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos) values[line.substr(0, equals)] = line.substr(equals + 1);
  }
  auto servers = std::make_unique<LoopbackServers>();
  servers->httpPort = std::atoi(values["http_port"].c_str());
  servers->ftpPort = std::atoi(values["ftp_port"].c_str());
  servers->faultyPort = std::atoi(values["faulty_port"].c_str());
  servers->root = ServerSidePath(values["root"]);
  servers->nginxLog = ServerSidePath(values["nginx_log"]);
  servers->faultyLog = ServerSidePath(values["faulty_log"]);
  if (servers->httpPort == 0 || servers->ftpPort == 0 || servers->faultyPort == 0) return nullptr;
  return servers;
}

// Log lines: PATH RANGE STATUS BYTES; nginx puts the range in quotes.
std::vector<LoopbackServers::Answer> AnswersIn(const std::string& log, const std::string& prefix) {
  std::vector<LoopbackServers::Answer> answers;
  std::istringstream lines(TextOf(log));
  for (std::string line; std::getline(lines, line);) {
    std::istringstream fields(line);
    LoopbackServers::Answer answer;
    std::string range1, range2;
    fields >> answer.path >> range1;
    if (range1.size() > 1 && range1.front() == '"' && range1.back() != '"') {
      fields >> range2;  // "bytes=0-" never holds a blank, but be safe
      range1 += " " + range2;
    }
    if (range1.size() >= 2 && range1.front() == '"') range1 = range1.substr(1, range1.size() - 2);
    answer.range = range1;
    fields >> answer.status >> answer.bytes;
    if (answer.path.rfind(prefix, 0) == 0) answers.push_back(answer);
  }
  return answers;
}
}  // namespace

std::string LoopbackServers::NginxUrl(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(httpPort) + path;
}

std::string LoopbackServers::FaultyUrl(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(faultyPort) + path;
}

std::string LoopbackServers::FtpUrl(const std::string& name) const {
  return "ftp://127.0.0.1:" + std::to_string(ftpPort) + "/" + name;
}

void LoopbackServers::Serve(const std::string& name, const std::string& bytes) const {
  ASSERT_TRUE(WriteWholeFile(JoinPath(root, name), bytes.data(), bytes.size())) << name;
}

std::vector<LoopbackServers::Answer> LoopbackServers::NginxAnswers(const std::string& pathPrefix) const {
  return AnswersIn(nginxLog, pathPrefix);
}

std::vector<LoopbackServers::Answer> LoopbackServers::FaultyAnswers(const std::string& pathPrefix) const {
  return AnswersIn(faultyLog, pathPrefix);
}

const LoopbackServers* TestServers() {
  static const std::unique_ptr<LoopbackServers> servers = [] {
    const std::string ready = LaunchServers();
    return ready.empty() ? nullptr : ReadReadyFile(ready);
  }();
  EXPECT_NE(servers, nullptr) << "the loopback servers did not start";
  return servers.get();
}
