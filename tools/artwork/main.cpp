// Writes the programs' artwork, "font.bmp", "tvr.bmp", "floor.bmp", "ambient.wav" and "gem.wav",
// into the directory it is given.
#include "artwork.h"

#include <cstdio>
#include <exception>
#include <string>

static bool writefile(const std::string &path, const std::vector<unsigned char> &bytes)
{
  FILE *file = fopen(path.c_str(), "wb");
  if (!file)
    return false;
  bool ok = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return fclose(file) == 0 && ok;
}

int main(int argc, char **argv)
{
  if (argc != 2) {
    fprintf(stderr, "usage: %s DIRECTORY\n", argv[0]);
    return 2;
  }
  const std::string dir = argv[1];
  try {
    if (!writefile(dir + "/font.bmp", fontbmp()) || !writefile(dir + "/tvr.bmp", iconbmp()) ||
        !writefile(dir + "/floor.bmp", floorbmp()) ||
        !writefile(dir + "/ambient.wav", ambientwav()) || !writefile(dir + "/gem.wav", gemwav())) {
      perror(dir.c_str());
      return 1;
    }
  } catch (const std::exception &error) {
    fprintf(stderr, "artwork: %s\n", error.what());
    return 1;
  }
  return 0;
}
