// Reads arbitrary configuration text. The first byte chooses how many of
// the following bytes name the section. Every key listed is a piece of the
// text, and every key whose value is found is also listed, with a value that
// is a piece of the text.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "downloader/config_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::size_t nameSize = std::min<std::size_t>(data[0] % 16, input.size());
  const std::string_view section = input.substr(0, nameSize), text = input.substr(nameSize);

  std::vector<std::string> keys = ParseConfigKeys(text, section);
  for (const std::string& key : keys) {
    if (text.find(key) == std::string_view::npos) std::abort();
    std::optional<std::string> value = FindConfigValue(text, section, key);
    if (value && text.find(*value) == std::string_view::npos) std::abort();
  }
  for (std::string_view key : {std::string_view("file"), std::string_view("lst"), std::string_view()}) {
    std::optional<std::string> value = FindConfigValue(text, section, key);
    if (value && std::find(keys.begin(), keys.end(), key) == keys.end()) std::abort();
  }
  return 0;
}
