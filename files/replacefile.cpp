// Replacing a small file so that a failure can never leave it damaged: the new contents are
// written beside the old file, made durable, and renamed over it.
#include "files/files.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

// the new contents go into "<name>.tmp-" and six letters or digits, beside the file
static const char temporarymark[] = ".tmp-";
constexpr size_t temporaryletters = 6;

static std::string directoryof(const std::string &path)
{
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// a link is followed hop by hop, as a write through it would be, so that the file it names is
// the one replaced, or created when it does not exist yet; 0, or ELOOP for a loop of links
static int resolvelink(const char *path, std::string &at)
{
  constexpr int maxhops = 40;  // the system's own limit
  at = path;
  char target[PATH_MAX];
  for (int hop = 0; hop < maxhops; ++hop) {
    struct stat info;
    if (lstat(at.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
      return 0;
    const ssize_t length = readlink(at.c_str(), target, sizeof target - 1);
    if (length <= 0)
      return 0;
    target[length] = '\0';
    at = target[0] == '/' ? target : directoryof(at) + "/" + target;
  }
  return ELOOP;
}

// fd is still the file linked under path: no other writer's sweep has removed it
static bool stilllinked(int fd, const std::string &path)
{
  struct stat open, named;
  return fstat(fd, &open) == 0 && open.st_nlink > 0 && stat(path.c_str(), &named) == 0 &&
         open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

// calls again what a signal interrupted: a logout's SIGTERM during a save must not cost the save
template <typename Call> static int uninterrupted(Call call)
{
  int result;
  do
    result = call();
  while (result != 0 && errno == EINTR);
  return result;
}

// a rename is durable only once the directory that holds it is
static void syncdirectory(const std::string &directory)
{
  int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    uninterrupted([fd] { return fsync(fd); });
    close(fd);
  }
}

// writes all of bytes through fp and makes them durable; 0 or an errno value
static int writeall(const unsigned char *bytes, size_t count)
{
  errno = 0;
  if (fwrite(bytes, 1, count, fp) != count || fflush(fp) != 0 ||
      uninterrupted([] { return fsync(fileno(fp)); }) != 0)
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
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        stilllinked(fd, path))
      unlink(path.c_str());
    close(fd);
  }
  closedir(listing);
}

// locks a temporary just made; 0, EWOULDBLOCK or an errno value. Another writer's sweep holds
// such a lock for a moment only, so one not had within it belongs to a sweep that was stopped.
// The wait never blocks: neither a signal nor a stopped writer can hold a save up
static int locknewtemporary(int lock)
{
  constexpr int tries = 100;              // a millisecond apart
  constexpr timespec pause = {0, 1000000};
  for (int attempt = 0; attempt < tries; ++attempt) {
    if (flock(lock, LOCK_EX | LOCK_NB) == 0)
      return 0;
    if (errno != EWOULDBLOCK && errno != EINTR)
      return errno;
    nanosleep(&pause, nullptr);
  }
  return EWOULDBLOCK;
}

// a new temporary beside target, locked to show that it is in use; the lock is held through a
// copy of fd, so that it lasts past fclose up to the rename. Another writer's sweep can take a
// temporary in the moment between its creation and its lock and remove it, or be stopped while
// it holds the lock, so one that is no longer linked under its name once locked, or not locked
// in time, is given up to that sweep and another made. 0 or an errno value
static int createtemporary(const std::string &target, std::string &temporary, int &fd, int &lock)
{
  constexpr int attempts = 100;  // each loss needs another writer's sweep in that moment
  for (int attempt = 0; attempt < attempts; ++attempt) {
    temporary = target + temporarymark + std::string(temporaryletters, 'X');
    fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
      return errno;
    lock = fcntl(fd, F_DUPFD_CLOEXEC, 0);
    const int error = lock < 0 ? errno : locknewtemporary(lock);
    if (!error && stilllinked(fd, temporary))
      return 0;
    const bool lost = !error || error == EWOULDBLOCK;  // to another writer's sweep
    if (!lost)
      unlink(temporary.c_str());
    close(fd);
    if (lock >= 0)
      close(lock);
    if (!lost)
      return error;
  }
  return EAGAIN;
}

static int writebeside(const std::string &target, const unsigned char *bytes, size_t count,
                       mode_t mode)
{
  std::string temporary;
  int fd = -1, lock = -1;
  if (int error = createtemporary(target, temporary, fd, lock))
    return error;
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
  close(lock);
  return error;
}

// the last resort when the directory cannot take a new file but the file itself is writable. It
// cannot be atomic, but comes as close as it can: contents smaller than the stream's buffer (as
// hwconfig.cfg's are) go in one write at the start, are made durable, and only then is an old,
// longer tail cut off, so a reader of the first count bytes never sees the tail
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
  if (!path || (!bytes && count))
    return EINVAL;
  std::string target;
  if (int error = resolvelink(path, target))
    return error;
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
