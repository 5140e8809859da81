// Whole-file reading through the shared handle, the loaders' look into their folders, and the float
// bit conversions of the binary formats.
#include "files/files.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

FILE *fp = nullptr;

// the bytes of a file of size bytes that a limit lets a reader take: all of them for a negative
// limit; never more than this machine's memory can address, a 32-bit one's included
static size_t boundedsize(uint64_t size, int64_t limit)
{
  if (limit >= 0)
    size = std::min(size, uint64_t(limit));
  return size_t(std::min(size, uint64_t(SIZE_MAX)));
}

// opens a regular file for reading; a FIFO or device is refused without waiting on it; -1 when
// it cannot be opened
static int openregularfd(const char *path, uint64_t &size)
{
  int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0)
    return -1;
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return -1;
  }
  size = uint64_t(info.st_size);
  return fd;
}

// the same as a stream
static FILE *openregular(const char *path, uint64_t &size)
{
  int fd = openregularfd(path, size);
  if (fd < 0)
    return nullptr;
  FILE *file = fdopen(fd, "rb");
  if (!file)
    close(fd);
  return file;
}

filebytes::~filebytes()
{
  free(data);
}

int readfilebytes(const char *path, filebytes &file, int64_t limit)
{
  free(file.data);
  file.data = nullptr;
  file.size = 0;
  uint64_t filesize = 0;
  fp = openregular(path, filesize);
  if (!fp)
    return 0;
  // a regular file's size is known, so reads straight into the block fetch all of it that is
  // wanted, without the stream's own buffer and the calls that set it up
  const size_t size = boundedsize(filesize, limit);
  file.data = static_cast<unsigned char *>(malloc(std::max(size, size_t(1))));
  int ok = file.data != nullptr;
  while (ok && file.size < size) {
    const ssize_t got = read(fileno(fp), file.data + file.size, size - file.size);
    if (got > 0)
      file.size += size_t(got);
    else if (got == 0)
      break;  // the file was shorter than it said
    else
      ok = errno == EINTR;
  }
  fclose(fp);
  fp = nullptr;
  return ok;
}

static bool isdirectory(const char *path)
{
  struct stat info;
  return stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

// folder/path, built on the stack as a loader opens many small files; false when it is longer
// than the system opens
static bool joinpath(const char *folder, const char *path, char (&joined)[PATH_MAX])
{
  const size_t folderlength = strlen(folder), pathlength = strlen(path);
  if (folderlength + 1 + pathlength >= sizeof joined)
    return false;
  memcpy(joined, folder, folderlength);
  joined[folderlength] = '/';
  memcpy(joined + folderlength + 1, path, pathlength + 1);
  return true;
}

// opens the relative path inside folder through open(fullpath): in the working directory, else,
// when asked, path as given where the working directory has no such folder, else in the same
// folder of the first data folder that has it. The folder is looked at before anything is
// opened: a stat costs half a failed open, and a game may load hundreds of files either way
template <typename opener>
static int openinfolders(const char *folder, const char *path, bool orasgiven, opener open)
{
  char joined[PATH_MAX];
  if (!joinpath(folder, path, joined))
    return 0;
  if (isdirectory(folder) ? open(joined) : orasgiven && open(path))
    return 1;
  for (const std::string &data : datasearchpath())
    if (open((data + "/" + joined).c_str()))
      return 1;
  return 0;
}

// the same, path as given included (and alone when it is absolute)
template <typename opener>
static int openinfolder(const char *folder, const char *path, opener open)
{
  if (!folder || !path)
    return 0;
  return path[0] == '/' ? open(path) : openinfolders(folder, path, true, open);
}

int findfolderfile(const char *folder, const char *path)
{
  return folder && path && path[0] != '/' && openinfolders(folder, path, false, [](const char *at) {
           struct stat info;
           return stat(at, &info) == 0 && S_ISREG(info.st_mode);
         });
}

int readfolderfile(const char *folder, const char *path, filebytes &file, int64_t limit)
{
  return openinfolder(folder, path, [&](const char *at) { return readfilebytes(at, file, limit); });
}

bytesource::~bytesource()
{
  if (fd >= 0)
    close(fd);
}

// up to count bytes of the file from offset into dst: how many, fewer where it ends early or
// cannot be read
static size_t readfile(int fd, size_t offset, unsigned char *dst, size_t count)
{
  size_t done = 0;
  while (done < count) {
    const ssize_t got = pread(fd, dst + done, count - done, off_t(offset + done));
    if (got > 0)
      done += size_t(got);
    else if (got == 0 || errno != EINTR)
      break;
  }
  return done;
}

bool bytesource::readat(size_t offset, unsigned char *dst, size_t count)
{
  if (failed || offset > size || count > size - offset)
    return false;
  if (bytes) {
    memcpy(dst, bytes + offset, count);
    return true;
  }
  if (offset + count > sizeof head) {
    failed = readfile(fd, offset, dst, count) < count;  // ended early or could not be read
    return !failed;
  }
  if (!headread) {
    headsize = readfile(fd, 0, head, std::min(size, sizeof head));
    headread = true;
  }
  failed = offset + count > headsize;
  if (!failed)
    memcpy(dst, head + offset, count);
  return !failed;
}

// opens path as a source of at most limit bytes
static int opensource(const char *path, bytesource &source, int64_t limit)
{
  uint64_t size = 0;
  source.fd = openregularfd(path, size);
  source.size = boundedsize(size, limit);
  return source.fd >= 0;
}

int openfolderfile(const char *folder, const char *path, bytesource &source, int64_t limit)
{
  return openinfolder(folder, path, [&](const char *at) { return opensource(at, source, limit); });
}

int readwholefile(const char *path, std::vector<unsigned char> &bytes, int64_t limit)
{
  filebytes file;
  int ok = readfilebytes(path, file, limit);
  bytes.assign(file.data, file.data + file.size);
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
