#pragma once
// A fresh folder for one test, removed with everything in it afterwards.
#include <cstdint>
#include <string>
#include <vector>

class TestFolder {
 public:
  TestFolder();
  ~TestFolder();
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const;
  void Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const;
  void Write(const std::string& name, const std::string& text) const;
  std::vector<std::uint8_t> Read(const std::string& name) const;
  bool Has(const std::string& name) const;

 private:
  std::string path_;
};
