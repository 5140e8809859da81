// Fuzz target: any bytes as a BMP file, into the dimmed slot with mipmap room and into a plain one.
#include "engine.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
  loadtexturebmpbytes(dimmedbmpslot, data, size, 1);
  loadtexturebmpbytes(1, data, size, 0);
  return 0;
}
