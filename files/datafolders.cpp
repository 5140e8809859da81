// The folders searched for the engine's own data files after the working directory: the caller's,
// then where the engine's installed data lies as seen from the program, then the program's own.
#include "files/files.h"

#include <algorithm>
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

std::vector<std::string> datasearchpath()
{
  const int count = std::clamp(int(numofdatafolders), 0, maxdatafolders);
  std::vector<std::string> folders(datafolder, datafolder + count);
  const std::string program = programfolder();
  if (!program.empty()) {
    folders.push_back(program + "/" + TAVREL_PROGRAM_TO_DATA);
    folders.push_back(program);
  }
  return folders;
}

std::string finddatafile(const char *name)
{
  if (isregularfile(name))
    return name;
  for (const std::string &folder : datasearchpath()) {
    std::string path = folder + "/" + name;
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
