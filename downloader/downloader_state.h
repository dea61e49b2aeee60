#pragma once
// The program-wide state of the second page's handlers.
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "downloader/shared_archive_names.h"

// A text that one thread writes while another may read it: a region is
// reloaded on the download engine's thread after its list file was
// refreshed, while the window's thread may start a download from it.
class SharedText {
 public:
  std::string Get() const {
    std::lock_guard<std::mutex> hold(mutex_);
    return text_;
  }
  // Replaces the text; its memory goes with it.
  void Set(std::string text) {
    std::lock_guard<std::mutex> hold(mutex_);
    text_.swap(text);
  }

 private:
  mutable std::mutex mutex_;
  std::string text_;
};

struct DownloaderState {
  std::string RunDirectory;              // the folder of the program, for File_Cfg.ini and the list files
  std::vector<std::string> RegionNames;  // the regions of the configuration file, in its order
  SharedText RegionBaseUrl;              // the base address of the region chosen last
  // The archive names of the region chosen last, folder by folder.
  SharedArchiveNames ArchiveNames;
};
