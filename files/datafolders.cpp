// The folders searched for the engine's own data files after the working directory: the caller's,
// then the data folder of each install prefix the program lies in, then the program's own folder,
// then the data folder of the prefix the engine was configured for.
#include "files/files.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
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

// path with every link resolved; empty when nothing is there
static std::string realfolder(const std::string &path)
{
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) ? resolved : "";
}

static std::string parentfolder(const std::string &folder)
{
  const size_t slash = folder.rfind('/');
  return slash == 0 || slash == std::string::npos ? "/" : folder.substr(0, slash);
}

static std::string joinpath(const std::string &folder, const char *name)
{
  return folder == "/" ? folder + name : folder + "/" + name;
}

// the folders above the program's real folder, nearest first, whose bin folder leads to it through
// any links: a prefix installed with `--prefix /` on a system whose /bin links to usr/bin is found
// as /, not as /usr; with an absolute bin or data folder the prefix has no say
static std::vector<std::string> installprefixes(const std::string &program)
{
  std::vector<std::string> prefixes;
  if (TAVREL_INSTALL_BINDIR[0] == '/' || TAVREL_INSTALL_DATADIR[0] == '/')
    return prefixes;
  for (std::string folder = program;; folder = parentfolder(folder)) {
    if (realfolder(joinpath(folder, TAVREL_INSTALL_BINDIR)) == program)
      prefixes.push_back(folder);
    if (folder == "/")
      return prefixes;
  }
}

static void addonce(std::vector<std::string> &folders, const std::string &folder)
{
  if (std::find(folders.begin(), folders.end(), folder) == folders.end())
    folders.push_back(folder);
}

std::vector<std::string> datasearchpath()
{
  const int count = std::clamp(int(numofdatafolders), 0, maxdatafolders);
  std::vector<std::string> folders(datafolder, datafolder + count);
  const std::string program = programfolder();
  if (!program.empty()) {
    for (const std::string &prefix : installprefixes(program))
      addonce(folders, joinpath(prefix, TAVREL_INSTALL_DATADIR));
    addonce(folders, program);
  }
  addonce(folders, TAVREL_CONFIGURED_DATADIR);
  return folders;
}

std::string finddatafile(const char *name)
{
  if (!name)
    return "";
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
