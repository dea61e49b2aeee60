#pragma once
// The program-wide state of the second page's handlers.
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "downloader/download_controller.h"
#include "downloader/download_engine.h"
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

  // The download that runs or ran last. The window's thread writes these
  // while the busy caption reads idle, before the task goes to the engine;
  // the engine's thread reads them while the task ends, and sets the
  // caption back to idle only when it is done with them.
  std::int32_t DownloadPurpose = 0;  // 1: an archive, 2: the region's list file; 0: none yet
  std::string DownloadRegion;
  std::string DownloadArchiveName;
  std::string DownloadUrl;
  std::string DownloadFileName;
  std::string DownloadTargetPath;
  // Written on the engine's thread while the timer reads it on the window's.
  std::atomic<double> DownloadTotalSize = 0;
  // Held from start-up until shut-down releases it.
  std::optional<::DownloadTask> DownloadTask;
  // The one engine; none when the program runs without one.
  std::unique_ptr<::DownloadEngine> DownloadEngine;
  // Starts the unpacker beside the program on a downloaded SPK file.
  UnpackerRun RunUnpacker;
  // The pauses around a region list refresh, for the file system to settle.
  int SettleMilliseconds = 1000;
};
