// Files for tests: scratch folders, whole-file reads and writes, and little-endian fields, kept
// apart from the engine's own readers so that a test never checks the code with itself.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

using bytes = std::vector<unsigned char>;

// a fresh folder under /tmp, removed with everything in it when the object goes
struct scratchfolder {
  std::string path;
  scratchfolder();
  ~scratchfolder();
  scratchfolder(const scratchfolder &) = delete;
  scratchfolder &operator=(const scratchfolder &) = delete;
  std::string file(const std::string &name) const { return path + "/" + name; }
};

// a scratch folder that is the working directory while it lives, as the engine's file
// functions read and write relative to it
struct scratchworkdir : scratchfolder {
  std::string previous;
  scratchworkdir();
  ~scratchworkdir();
};

// the file's bytes; empty when it cannot be read
bytes readbytes(const std::string &path);
void writebytes(const std::string &path, const bytes &content);
// the file as text; empty when it cannot be read
std::string readtext(const std::string &path);
// creates or replaces the file with text; throws when it cannot
void writetext(const std::string &path, const std::string &text);
// the names in a folder, without . and ..
std::set<std::string> entries(const std::string &folder = ".");

// little-endian 32-bit fields: appended, read and overwritten
void appendle32(bytes &out, uint32_t value);
void appendfloat(bytes &out, float value);
uint32_t le32at(const bytes &in, size_t offset);
void putle32(bytes &out, size_t offset, uint32_t value);
void putfloat(bytes &out, size_t offset, float value);
