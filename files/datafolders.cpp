// The folders searched for data files after the working directory: the caller's, the game's own
// installed data, the data folder of each install prefix the program lies in, the program's own
// folder, the data folder of the prefix the engine was configured for, and the distribution's
// folder of the game's data.
#include "files/files.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

char datafolder[maxdatafolders][datafoldersize];
int32_t numofdatafolders;
char gamename[gamenamesize] = "tavrel";

// the search path as the folders added and the game's name make it, worked out again only when
// either changes (through the calls or written straight into the table), since every load that
// the working directory cannot serve walks it
static std::vector<std::string> searchpath;
static std::string searchpathmadeof = std::string(1, '\0');  // what it was made of; none yet

int adddatafolder(const char *path)
{
  if (!path || !path[0] || strlen(path) >= size_t(datafoldersize) ||
      numofdatafolders >= maxdatafolders)
    return 0;
  strcpy(datafolder[numofdatafolders++], path);
  return 1;
}

int setgamename(const char *name)
{
  if (!name || !name[0] || strlen(name) >= sizeof gamename || strchr(name, '/') ||
      strcmp(name, ".") == 0 || strcmp(name, "..") == 0)
    return 0;
  strcpy(gamename, name);
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

// the running program's folder, and the engine's data folders that its place gives: they do not
// change while it runs, so they are looked up once, as a game that keeps its data installed looks
// for every file it loads
struct programplace {
  std::string folder;
  std::vector<std::string> enginedata;
};
static const programplace &runningprogram()
{
  static const programplace place = [] {
    programplace found{programfolder(), {}};
    if (found.folder.empty())
      return found;
    for (const std::string &prefix : installprefixes(found.folder))
      found.enginedata.push_back(joinpath(prefix, TAVREL_INSTALL_DATADIR));
    found.enginedata.push_back(found.folder);
    return found;
  }();
  return place;
}

static std::vector<std::string> buildsearchpath()
{
  const int count = std::clamp(int(numofdatafolders), 0, maxdatafolders);
  std::vector<std::string> folders(datafolder, datafolder + count);
  const programplace &program = runningprogram();
  if (!program.folder.empty()) {  // the game's own data below the prefix it lies in
    const std::string share = joinpath(parentfolder(program.folder), "share");
    addonce(folders, joinpath(joinpath(share, "games"), gamename));
    addonce(folders, joinpath(share, gamename));
  }
  for (const std::string &folder : program.enginedata)
    addonce(folders, folder);
  addonce(folders, TAVREL_CONFIGURED_DATADIR);
  addonce(folders, joinpath("/usr/share/games", gamename));
  return folders;
}

const std::vector<std::string> &datasearchpath()
{
  std::string madeof(gamename, strnlen(gamename, sizeof gamename));
  for (int i = 0; i < std::clamp(int(numofdatafolders), 0, maxdatafolders); ++i)
    madeof.append(1, '\n').append(datafolder[i], strnlen(datafolder[i], datafoldersize));
  if (madeof != searchpathmadeof) {
    searchpath = buildsearchpath();
    searchpathmadeof = madeof;
  }
  return searchpath;
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
