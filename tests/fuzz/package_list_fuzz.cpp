// Walks a whole package list the way Pellory does: the folder table, then
// every folder's records. Allocations are capped by the run's options, so a
// length or count trusted beyond the input shows up as a failure.
#include <cstdint>
#include <cstdlib>

#include "cleaner/package_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  MemorySource source({data, size});
  FolderTable table;
  if (ReadFolderTable(source, table) != ListMark::Valid) return 0;
  if (table.names.size() != table.offsets.size()) std::abort();
  for (std::int32_t offset : table.offsets) {
    OfficialFiles files;
    ReadFolderRecords(source, offset, files);
    if (files.names.size() != files.sizes.size() || files.names.size() != files.digests.size()) std::abort();
    if (files.names.size() > size) std::abort();  // every record takes bytes of the input
  }
  return 0;
}
