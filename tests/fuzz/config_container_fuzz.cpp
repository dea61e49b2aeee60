// Opens arbitrary bytes as a sealed configuration. Iteration counts up to
// the reader's cap are legal, so the harness opens only inputs whose header
// asks for few of them, to keep the runs quick; every other header is still
// read, and refused, by the same code.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "downloader/config_container.h"
#include "downloader/config_password.h"

namespace {
std::uint32_t StoredIterations(const std::uint8_t* data, std::size_t size) {
  if (size < 12) return 0;
  return data[8] | (data[9] << 8) | (data[10] << 16) | (static_cast<std::uint32_t>(data[11]) << 24);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::uint32_t iterations = StoredIterations(data, size);
  if (iterations > 2 * kConfigMinIterations && iterations <= kConfigMaxIterations) return 0;
  std::optional<std::string> text = OpenConfigContainer(ByteView(data, size), kConfigPassword);
  if (text && text->size() > size) std::abort();  // a text never outgrows its file
  return 0;
}
