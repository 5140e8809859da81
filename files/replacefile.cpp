// Replacing a small file so that a failure can never leave it damaged: the new contents are
// written beside the old file, made durable, and renamed over it.
#include "files/files.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

// the new contents go into "<name>.tmp-" and six letters or digits, beside the file
static const char temporarymark[] = ".tmp-";
constexpr size_t temporaryletters = 6;

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

// a name that mkstemp made from file's temporary pattern
static bool istemporaryof(const char *name, const std::string &file)
{
  const std::string marked = file + temporarymark;
  if (strncmp(name, marked.c_str(), marked.size()) != 0 ||
      strlen(name) != marked.size() + temporaryletters)
    return false;
  for (const char *letter = name + marked.size(); *letter; ++letter)
    if (!isalnum((unsigned char)*letter))
      return false;
  return true;
}

// a replacement that was killed before its rename leaves its temporary behind; a writer holds a
// lock on its own until the rename, so one that can be locked has no writer left
static void removestaletemporaries(const std::string &target)
{
  const std::string directory = directoryof(target);
  const size_t slash = target.rfind('/');
  const std::string file = slash == std::string::npos ? target : target.substr(slash + 1);
  DIR *listing = opendir(directory.c_str());
  if (!listing)
    return;
  while (const dirent *entry = readdir(listing)) {
    if (!istemporaryof(entry->d_name, file))
      continue;
    const std::string path = directory + "/" + entry->d_name;
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
      continue;
    struct stat info;
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0)
      unlink(path.c_str());
    close(fd);
  }
  closedir(listing);
}

static int writebeside(const std::string &target, const unsigned char *bytes, size_t count,
                       mode_t mode)
{
  std::string temporary = target + temporarymark + std::string(temporaryletters, 'X');
  int fd = mkstemp(temporary.data());
  if (fd < 0)
    return errno;
  // the lock shows that this temporary is in use; the copy keeps it past fclose, up to the rename
  const int lock = fcntl(fd, F_DUPFD_CLOEXEC, 0);
  if (lock >= 0)
    flock(lock, LOCK_EX);
  fp = fdopen(fd, "wb");
  int error = 0;
  if (!fp) {
    error = errno;
    close(fd);
  } else {
    error = fchmod(fd, mode) != 0 ? errno : writeall(bytes, count);
    error = closefp(error);
  }
  if (!error && rename(temporary.c_str(), target.c_str()) != 0)
    error = errno;
  if (error)
    unlink(temporary.c_str());
  else
    syncdirectory(directoryof(target));
  if (lock >= 0)
    close(lock);
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
  removestaletemporaries(target);
  int error = writebeside(target, bytes, count, mode);
  if (error == EACCES && exists && S_ISREG(info.st_mode))
    error = writeinplace(target, bytes, count);
  return error;
}
