// Fuzz target: any bytes as a PNG file, with mipmap room and without.
#include "engine.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
  loadtexturepngbytes(2, data, size, 1);
  loadtexturepngbytes(3, data, size, 0);
  return 0;
}
