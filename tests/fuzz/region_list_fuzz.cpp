// Reads arbitrary bytes as a region list file, then filters the names it
// found with a keyword taken from the input, checking the fast search
// against the plain walk. Every name is a piece of the input and every entry
// takes bytes of it, so a count or length trusted beyond the input shows up.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "downloader/keyword_search.h"
#include "downloader/region_list.h"
#include "tests/downloader/keyword_reference.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const ArchiveNames names = ReadRegionList({data, size});
  const KeywordMatcher matcher(input.substr(0, 3));
  for (const auto* list : {&names.SoundPackNames, &names.ImagePackNames, &names.MusicNames}) {
    if (list->size() > size) std::abort();
    for (const std::string& name : *list) {
      if (std::search(input.begin(), input.end(), name.begin(), name.end()) == input.end()) std::abort();
      if (matcher.FoundIn(name) != ReferenceContains(name, input.substr(0, 3))) std::abort();
    }
  }
  return 0;
}
