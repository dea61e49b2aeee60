#pragma once
#include <string>

// A new, empty folder of this run's own below the system's folder for
// temporary files, removed with everything in it (sub-folders too) when
// the object goes.
class PrivateFolder {
 public:
  // `prefix` starts the folder's name; Path() is empty when no folder could
  // be made.
  explicit PrivateFolder(const std::string& prefix);
  ~PrivateFolder();
  PrivateFolder(const PrivateFolder&) = delete;
  PrivateFolder& operator=(const PrivateFolder&) = delete;

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};
