// libFuzzer target: see harness.h.
#include <cstddef>
#include <cstdint>

#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  pelodyn::fuzz::Analyse(data, size);
  return 0;
}
