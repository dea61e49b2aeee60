#include "tests/test_folder.h"

#include <atomic>
#include <chrono>
#include <filesystem>

#include "platform/files.h"

namespace {
std::atomic<int> counter{0};
}

TestFolder::TestFolder() {
  auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  std::filesystem::path path = std::filesystem::temp_directory_path() /
                               ("dnf-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
  std::filesystem::create_directories(path);
  path_ = path.string();
}

TestFolder::~TestFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TestFolder::File(const std::string& name) const { return JoinPath(path_, name); }

void TestFolder::Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
  WriteWholeFile(File(name), bytes.data(), bytes.size());
}

void TestFolder::Write(const std::string& name, const std::string& text) const {
  WriteWholeFile(File(name), text.data(), text.size());
}

std::vector<std::uint8_t> TestFolder::Read(const std::string& name) const { return ReadWholeFile(File(name)); }

bool TestFolder::Has(const std::string& name) const { return FileExists(File(name)); }
