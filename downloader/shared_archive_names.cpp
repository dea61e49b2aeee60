#include "downloader/shared_archive_names.h"

#include <utility>

SharedArchiveNames::SharedArchiveNames() : current_(std::make_shared<const ArchiveNames>()) {}

std::shared_ptr<const ArchiveNames> SharedArchiveNames::Snapshot() const {
  std::lock_guard lock(mutex_);
  return current_;
}

void SharedArchiveNames::Replace(ArchiveNames names) {
  auto next = std::make_shared<const ArchiveNames>(std::move(names));
  std::shared_ptr<const ArchiveNames> previous;
  {
    std::lock_guard lock(mutex_);
    previous = std::exchange(current_, std::move(next));
  }
  // The lists replaced are freed here, outside the lock, unless a reader
  // still holds them.
}
