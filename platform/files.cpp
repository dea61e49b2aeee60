// The parts of the file services that are the same on every system.
#include "platform/files.h"

#include <cstdint>
#include <string>

File::~File() { Close(); }
File::File(File&& other) noexcept : handle_(other.handle_) { other.handle_ = -1; }
File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = other.handle_;
    other.handle_ = -1;
  }
  return *this;
}

bool File::IsOpen() const { return handle_ != -1; }

File CreateFileBeside(const std::string& path, const std::string& suffix, std::string& created) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    created = path;
    if (attempt > 0) created.append(".").append(std::to_string(attempt));
    created.append(suffix);
    File file = File::Open(created, File::Mode::CreateNew);
    if (file.IsOpen()) return file;
    if (!FileExists(created)) break;  // not a name clash: the folder refuses new files
  }
  created.clear();
  return File();
}

std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
  std::vector<std::uint8_t> bytes;
  File file = File::Open(path, File::Mode::ReadShared);
  std::int64_t size = file.Size();
  if (size <= 0 || static_cast<std::uint64_t>(size) > SIZE_MAX) return bytes;
  bytes.resize(static_cast<std::size_t>(size));
  bytes.resize(file.Read(bytes.data(), bytes.size()));
  return bytes;
}

bool WriteWholeFile(const std::string& path, const void* data, std::size_t size) {
  File file = File::Open(path, File::Mode::CreateOrEmpty);
  return file.Write(data, size);
}
