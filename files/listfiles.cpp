// Directory listing: the files or subdirectories of a folder (the working directory unless told
// otherwise) that match a wildcard spec, sorted into the caller's table of fixed-width name slots.
#include "files/files.h"

#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>

int checkfilespec(const char *spec, const char *name)
{
  if (!spec || !name)
    return 1;  // a null string counts as an empty one, which matches
  for (; *spec && *name; ++name) {
    if (*spec == *name)
      ++spec;
    else if (*spec != '*')
      return 0;
    else if (spec[1] == *name)
      spec += 2;  // the first occurrence ends the star, with no going back for a later one
  }
  return 1;
}

int comparestrings(const void *a, const void *b)
{
  return strcmp(static_cast<const char *>(a), static_cast<const char *>(b));
}

namespace {

// the caller's table while it fills; once full, a new name displaces the one that sorts last
struct nametable {
  filenameslot *items;
  int room;  // names it holds besides the end mark
  int count;
  bool sorted;
};

// name is examined inside the listed folder, which is looked into rather than entered
bool listable(int folder, const char *spec, const char *name, int directories, namefilter keep)
{
  if (strlen(name) >= size_t(filenamesize))
    return false;  // a cut name would name an entry that does not exist
  if (name[0] == '<' || (directories && name[0] == '.') || !checkfilespec(spec, name))
    return false;
  if (keep && !keep(name))
    return false;
  struct stat info;
  if (fstatat(folder, name, &info, 0) != 0)
    return false;  // a dangling link, or removed meanwhile
  return S_ISDIR(info.st_mode) == (directories != 0);
}

void sortnames(nametable &table)
{
  qsort(table.items, size_t(table.count), sizeof(filenameslot), comparestrings);
  table.sorted = true;
}

void addname(nametable &table, const char *name)
{
  if (table.count < table.room) {
    strcpy(table.items[table.count++], name);
    return;
  }
  if (table.room == 0)
    return;
  if (!table.sorted)
    sortnames(table);
  filenameslot *items = table.items;
  int at = table.room - 1;
  if (strcmp(name, items[at]) >= 0)
    return;
  while (at > 0 && strcmp(name, items[at - 1]) < 0)
    --at;
  memmove(items + at + 1, items + at, size_t(table.room - 1 - at) * sizeof(filenameslot));
  strcpy(items[at], name);
}

}  // namespace

int listfolder(const char *folder, const char *spec, filenameslot *items, int directories,
               int capacity, namefilter keep)
{
  if (capacity <= 0 || !items)
    return 0;
  nametable table = {items, capacity - 1, 0, false};
  if (!folder)
    folder = "";  // no folder to open: the list is empty
  int matches = 0;
  if (DIR *dir = opendir(folder)) {
    while (dirent *entry = readdir(dir))
      if (listable(dirfd(dir), spec, entry->d_name, directories, keep)) {
        addname(table, entry->d_name);
        ++matches;
      }
    closedir(dir);
  }
  if (!table.sorted)
    sortnames(table);
  items[table.count][0] = '\0';
  return matches;
}

int listfiles(const char *spec, filenameslot *items, int directories, int capacity)
{
  return listfolder(".", spec, items, directories, capacity);
}
