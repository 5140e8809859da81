// Replacing a small file so that a failure can never leave it damaged: the new contents are
// written beside the old file, made durable, and renamed over it.
#include "files/files.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

// a link is followed, so that the file it names is the one replaced
static std::string resolvelink(const char *path)
{
  struct stat info;
  char target[PATH_MAX];
  if (lstat(path, &info) == 0 && S_ISLNK(info.st_mode) && realpath(path, target))
    return target;
  return path;
}

static std::string directoryof(const std::string &path)
{
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// a rename is durable only once the directory that holds it is
static void syncdirectory(const std::string &directory)
{
  int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    fsync(fd);
    close(fd);
  }
}

// writes all of bytes through fp and makes them durable; 0 or an errno value
static int writeall(const unsigned char *bytes, size_t count)
{
  errno = 0;
  if (fwrite(bytes, 1, count, fp) != count || fflush(fp) != 0 || fsync(fileno(fp)) != 0)
    return errno ? errno : EIO;
  return 0;
}

static int closefp(int error)
{
  errno = 0;
  if (fclose(fp) != 0 && !error)
    error = errno ? errno : EIO;
  fp = nullptr;
  return error;
}

static int writebeside(const std::string &target, const unsigned char *bytes, size_t count,
                       mode_t mode)
{
  std::string temporary = target + ".XXXXXX";
  int fd = mkstemp(temporary.data());
  if (fd < 0)
    return errno;
  fp = fdopen(fd, "wb");
  if (!fp) {
    int error = errno;
    close(fd);
    unlink(temporary.c_str());
    return error;
  }
  int error = fchmod(fd, mode) != 0 ? errno : writeall(bytes, count);
  error = closefp(error);
  if (!error && rename(temporary.c_str(), target.c_str()) != 0)
    error = errno;
  if (error)
    unlink(temporary.c_str());
  else
    syncdirectory(directoryof(target));
  return error;
}

// the last resort when the directory cannot take a new file but the file itself is writable
static int writeinplace(const std::string &target, const unsigned char *bytes, size_t count)
{
  fp = fopen(target.c_str(), "r+b");
  if (!fp)
    return errno;
  int error = writeall(bytes, count);
  if (!error && ftruncate(fileno(fp), off_t(count)) != 0)
    error = errno;
  return closefp(error);
}

int replacefile(const char *path, const unsigned char *bytes, size_t count)
{
  const std::string target = resolvelink(path);
  struct stat info;
  const bool exists = stat(target.c_str(), &info) == 0;
  if (exists && S_ISDIR(info.st_mode))
    return EISDIR;
  if (exists && access(target.c_str(), W_OK) != 0)
    return errno;  // a read-only file stays as it is
  mode_t mode;
  if (exists) {
    mode = info.st_mode & 07777;
  } else {
    mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }
  int error = writebeside(target, bytes, count, mode);
  if (error == EACCES && exists && S_ISREG(info.st_mode))
    error = writeinplace(target, bytes, count);
  return error;
}
