// Fuzz target: any bytes as a TGA file, with mipmap room and without.
#include "engine.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
  loadtexturetgabytes(2, data, size, 1);
  loadtexturetgabytes(3, data, size, 0);
  return 0;
}
