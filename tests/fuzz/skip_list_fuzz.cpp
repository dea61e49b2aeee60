// Reads every section of arbitrary skip-list text; each name must be a piece
// of the input.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "cleaner/skip_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const char* section : {"ImagePacks2", "SoundPacks"}) {
    std::vector<std::string> names;
    ParseSkipList(text, section, names);
    for (const std::string& name : names)
      if (name.empty() || text.find(name) == std::string_view::npos) std::abort();
  }
  return 0;
}
