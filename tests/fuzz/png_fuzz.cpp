// Fuzz target: any bytes as a PNG file, with mipmap room and without; the second time with every
// chunk's CRC made right, so that mutations reach the decoding instead of stopping at the check.
#include "engine.h"

#include <cstddef>
#include <cstdint>
#include <vector>
#include <zlib.h>

// the chunks after the signature given their true CRCs, as far as whole chunks go
static void fixcrcs(std::vector<uint8_t> &file)
{
  for (size_t at = 8; at + 12 <= file.size();) {
    const size_t length = size_t(file[at]) << 24 | file[at + 1] << 16 | file[at + 2] << 8 |
                          file[at + 3];
    if (length > file.size() - at - 12)
      return;
    const uLong crc = crc32(0, &file[at + 4], uInt(length + 4));
    for (int i = 0; i < 4; ++i)
      file[at + 8 + length + i] = uint8_t(crc >> (24 - 8 * i));
    at += 12 + length;
  }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
  loadtexturepngbytes(2, data, size, 1);
  std::vector<uint8_t> fixed(data, data + size);
  fixcrcs(fixed);
  loadtexturepngbytes(3, fixed.data(), fixed.size(), 0);
  return 0;
}
