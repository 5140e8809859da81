// Writes the programs' artwork, "font.bmp", "tvr.bmp", "floor.bmp", "ambient.wav", "gem.wav" and
// the icon theme's files under "icons", into the first directory it is given, and the example
// game's sprites and sounds into the second; or, with --arena-music, the example's music as a WAV
// file for tools/arena-music.sh to encode.
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

// writes each file under the directory; false, with the reason on standard error, at the first
// that cannot be written
static bool writeall(const std::filesystem::path &directory,
                     const std::vector<std::pair<std::string, std::vector<unsigned char>>> &files)
{
  for (const auto &[name, bytes] : files)
    if (!writefile(directory / name, bytes)) {
      perror((directory / name).c_str());
      return false;
    }
  return true;
}

int main(int argc, char **argv)
{
  if (argc != 3) {
    fprintf(stderr, "usage: %s DATA_DIRECTORY ARENA_DATA_DIRECTORY | --arena-music FILE.wav\n",
            argv[0]);
    return 2;
  }
  try {
    if (std::string(argv[1]) == "--arena-music")
      return writeall(".", {{argv[2], arenamusicwav()}}) ? 0 : 1;
    return writeall(argv[1], artwork()) && writeall(argv[2], arenaartwork()) ? 0 : 1;
  } catch (const std::exception &error) {
    fprintf(stderr, "artwork: %s\n", error.what());
    return 1;
  }
}
