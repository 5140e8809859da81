// Whole-file reading through the shared handle, and the float bit conversions of the binary formats.
#include "files/files.h"

#include <algorithm>
#include <cstring>
#include <sys/stat.h>

FILE *fp = nullptr;

// the file's size when it is a regular file, so that one read fetches it whole
static size_t expectedsize(FILE *file)
{
  struct stat info;
  if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode))
    return 0;
  return size_t(info.st_size);
}

int readwholefile(const char *path, std::vector<unsigned char> &bytes, long limit)
{
  bytes.clear();
  fp = fopen(path, "rb");
  if (!fp)
    return 0;
  const size_t cap = size_t(limit);
  const size_t expected = expectedsize(fp);
  while (bytes.size() < cap) {
    size_t have = bytes.size();
    size_t want = std::min(std::max(expected > have ? expected - have : 0, size_t(65536)), cap - have);
    bytes.resize(have + want);
    size_t got = fread(bytes.data() + have, 1, want, fp);
    bytes.resize(have + got);
    if (got < want)
      break;
  }
  int ok = !ferror(fp);
  fclose(fp);
  fp = nullptr;
  return ok;
}

uint32_t floatbits(float value)
{
  uint32_t bits;
  memcpy(&bits, &value, sizeof bits);
  return bits;
}

float bitsfloat(uint32_t bits)
{
  float value;
  memcpy(&value, &bits, sizeof value);
  return value;
}
