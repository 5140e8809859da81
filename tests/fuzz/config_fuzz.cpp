// Fuzz target: any bytes as an "hwconfig.cfg" image, read over the defaults as loadconfig does.
#include "engine.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
  decodeconfig(data, size);
  return 0;
}
