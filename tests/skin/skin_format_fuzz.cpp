// libFuzzer target: any bytes handed to the skin reader.
#include <cstddef>
#include <cstdint>

#include "skin/skin_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ReadSkin({data, size});
  return 0;
}
