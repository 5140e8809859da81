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
  size_t size = 0;
  fp = openregular(path, size);
  if (!fp)
    return 0;
  // a regular file's size is known, so one read fetches all of it that is wanted
  bytes.resize(std::min(size, size_t(limit)));
  bytes.resize(fread(bytes.data(), 1, bytes.size(), fp));
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
