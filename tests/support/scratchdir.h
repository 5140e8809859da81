// A fresh temporary working directory for one test: entered when made, left and removed with
// everything in it when destroyed.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <ftw.h>
#include <stdexcept>
#include <string>
#include <unistd.h>

struct scratchdir {
  std::string path;
  std::string previous;

  scratchdir()
  {
    char pattern[] = "/tmp/tavrel-XXXXXX";
    char *cwd = getcwd(nullptr, 0);
    previous = cwd ? cwd : "/";
    free(cwd);
    if (!mkdtemp(pattern) || chdir(pattern) != 0)
      throw std::runtime_error("cannot make a scratch directory");
    path = pattern;
  }
  ~scratchdir()
  {
    if (chdir(previous.c_str()) == 0)
      nftw(path.c_str(), removeentry, 16, FTW_DEPTH | FTW_PHYS);
  }
  scratchdir(const scratchdir &) = delete;
  scratchdir &operator=(const scratchdir &) = delete;

private:
  static int removeentry(const char *entry, const struct stat *, int, struct FTW *)
  {
    remove(entry);
    return 0;
  }
};
