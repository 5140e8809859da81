// Whole-file reading through the shared handle, and the float bit conversions of the binary formats.
#include "files/files.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

FILE *fp = nullptr;

// opens a regular file for reading; a FIFO or device is refused without waiting on it
static FILE *openregular(const char *path, size_t &size)
{
  int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0)
    return nullptr;
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return nullptr;
  }
  size = size_t(info.st_size);
  FILE *file = fdopen(fd, "rb");
  if (!file)
    close(fd);
  return file;
}

int readwholefile(const char *path, std::vector<unsigned char> &bytes, long limit)
{
  bytes.clear();
  size_t expected = 0;
  fp = openregular(path, expected);
  if (!fp)
    return 0;
  const size_t cap = size_t(limit);
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
