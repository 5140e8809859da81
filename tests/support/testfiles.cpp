// Scratch folders, whole files and little-endian fields for the tests.
#include "testfiles.h"

#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <unistd.h>

scratchfolder::scratchfolder()
{
  char name[] = "/tmp/tavrel-test-XXXXXX";
  if (!mkdtemp(name))
    throw std::runtime_error("cannot make a scratch folder");
  path = name;
}

scratchfolder::~scratchfolder()
{
  // permissions a test took away must not keep its files; a folder left behind fails no test
  [[maybe_unused]] const int status =
      std::system(("chmod -R u+rwx '" + path + "' 2>/dev/null; rm -rf '" + path + "'").c_str());
}

scratchworkdir::scratchworkdir()
{
  char *here = getcwd(nullptr, 0);
  previous = here ? here : "/";
  free(here);
  if (chdir(path.c_str()) != 0)
    throw std::runtime_error("cannot enter a scratch folder");
}

scratchworkdir::~scratchworkdir()
{
  if (chdir(previous.c_str()) != 0)
    std::abort();  // the scratch folder is about to go: staying in it would be worse
}

bytes readbytes(const std::string &path)
{
  std::ifstream file(path, std::ios::binary);
  return bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void writebytes(const std::string &path, const bytes &content)
{
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char *>(content.data()), std::streamsize(content.size()));
}

std::string readtext(const std::string &path)
{
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void writetext(const std::string &path, const std::string &text)
{
  std::ofstream file(path, std::ios::binary);
  if (!(file << text) || !file.flush())
    throw std::runtime_error("cannot write " + path);
}

std::set<std::string> entries(const std::string &folder)
{
  std::set<std::string> found;
  if (DIR *dir = opendir(folder.c_str())) {
    while (dirent *entry = readdir(dir))
      if (strcmp(entry->d_name, ".") != 0 && strcmp(entry->d_name, "..") != 0)
        found.insert(entry->d_name);
    closedir(dir);
  }
  return found;
}

void appendle32(bytes &out, uint32_t value)
{
  for (int i = 0; i < 4; ++i)
    out.push_back(uint8_t(value >> (8 * i)));
}

static uint32_t bitsof(float value)
{
  uint32_t bits;
  memcpy(&bits, &value, sizeof bits);
  return bits;
}

void appendfloat(bytes &out, float value)
{
  appendle32(out, bitsof(value));
}

uint32_t le32at(const bytes &in, size_t offset)
{
  return uint32_t(in.at(offset)) | uint32_t(in.at(offset + 1)) << 8 |
         uint32_t(in.at(offset + 2)) << 16 | uint32_t(in.at(offset + 3)) << 24;
}

void putle32(bytes &out, size_t offset, uint32_t value)
{
  for (int i = 0; i < 4; ++i)
    out.at(offset + i) = uint8_t(value >> (8 * i));
}

void putfloat(bytes &out, size_t offset, float value)
{
  putle32(out, offset, bitsof(value));
}
