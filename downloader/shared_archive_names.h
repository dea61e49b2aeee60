#pragma once
// The program's archive names of the region chosen last. The window's thread
// shows and searches them while the download engine's thread may load them
// anew after refreshing a region's list file, so a reader takes a snapshot
// that never changes, and a load builds its lists whole before it puts them
// in place: no reader ever sees a list half filled.
#include <memory>
#include <mutex>

#include "downloader/region_list.h"

class SharedArchiveNames {
 public:
  SharedArchiveNames();

  std::shared_ptr<const ArchiveNames> Snapshot() const;
  void Replace(ArchiveNames names);

 private:
  mutable std::mutex mutex_;
  std::shared_ptr<const ArchiveNames> current_;
};
