// Writes the programs' artwork, "font.bmp", "tvr.bmp", "floor.bmp", "ambient.wav", "gem.wav" and
// the icon theme's files under "icons", into the directory it is given.
#include "artwork.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <utility>

static bool writefile(const std::filesystem::path &path, const std::vector<unsigned char> &bytes)
{
  std::error_code error;
  std::filesystem::create_directories(path.parent_path(), error);
  FILE *file = fopen(path.c_str(), "wb");
  if (!file)
    return false;
  bool ok = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return fclose(file) == 0 && ok;
}

// every file the generator makes, by its name in the data folder
static std::vector<std::pair<std::string, std::vector<unsigned char>>> artwork()
{
  std::vector<std::pair<std::string, std::vector<unsigned char>>> files = {
    {"font.bmp", fontbmp()}, {"tvr.bmp", iconbmp()},      {"floor.bmp", floorbmp()},
    {"ambient.wav", ambientwav()}, {"gem.wav", gemwav()}};
  for (int side : iconsizes)
    files.push_back({iconfile(side), iconpng(side)});
  const std::string svg = iconsvg();
  files.push_back({iconfile(0), std::vector<unsigned char>(svg.begin(), svg.end())});
  return files;
}

int main(int argc, char **argv)
{
  if (argc != 2) {
    fprintf(stderr, "usage: %s DIRECTORY\n", argv[0]);
    return 2;
  }
  try {
    for (const auto &[name, bytes] : artwork()) {
      const std::filesystem::path path = std::filesystem::path(argv[1]) / name;
      if (!writefile(path, bytes)) {
        perror(path.c_str());
        return 1;
      }
    }
  } catch (const std::exception &error) {
    fprintf(stderr, "artwork: %s\n", error.what());
    return 1;
  }
  return 0;
}
