// The folders searched for the engine's own data files after the working directory.
#include "files/files.h"

#include <climits>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

char datafolder[maxdatafolders][datafoldersize];
int32_t numofdatafolders;

int adddatafolder(const char *path)
{
  if (!path || !path[0] || strlen(path) >= size_t(datafoldersize) ||
      numofdatafolders >= maxdatafolders)
    return 0;
  strcpy(datafolder[numofdatafolders++], path);
  return 1;
}

static bool isregularfile(const std::string &path)
{
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string finddatafile(const char *name)
{
  if (isregularfile(name))
    return name;
  for (int i = 0; i < numofdatafolders && i < maxdatafolders; ++i) {
    std::string path = std::string(datafolder[i]) + "/" + name;
    if (isregularfile(path))
      return path;
  }
  return "";
}

std::string programfolder()
{
  char path[PATH_MAX];
  ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0)
    return "";
  path[length] = '\0';
  char *slash = strrchr(path, '/');
  if (!slash)
    return "";
  *slash = '\0';
  return slash == path ? "/" : path;
}
