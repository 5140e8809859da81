// Files: whole-file reading, bounded little-endian byte reading and writing, directory listing,
// and the folders where the engine finds its own data files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// the one shared file handle: every file is opened into it, worked on and closed before the next
extern FILE *fp;

// the most readwholefile reads of a file unless asked for less
constexpr int64_t maxfilebytes = int64_t(1) << 30;

// a file's bytes in one heap block of their own size, which it frees
struct filebytes {
  unsigned char *data = nullptr;
  size_t size = 0;

  filebytes() = default;
  filebytes(const filebytes &) = delete;
  filebytes &operator=(const filebytes &) = delete;
  ~filebytes();
};

// reads at most limit bytes of the regular file path into file, straight into a block that is
// not cleared first; 0 when it cannot be opened or read (a FIFO, device or directory is not
// opened at all)
int readfilebytes(const char *path, filebytes &file, int64_t limit = maxfilebytes);
// reads path inside folder, looked into rather than entered so that the working directory never
// changes: folder in the working directory; else path as given, when the working directory has
// no such folder (or path is absolute); else folder in the data folders (datasearchpath). The
// loaders' way of finding their files ("texture", "sound")
int readfolderfile(const char *folder, const char *path, filebytes &file, int64_t limit = maxfilebytes);
// 1 when the relative path is a regular file inside folder, in the working directory or a data
// folder, as readfolderfile looks (without taking path as given)
int findfolderfile(const char *folder, const char *path);
// a file, or bytes already in memory, read from any offset: a file's bytes go straight to the
// caller's memory, so a loader reads them in pieces rather than through a copy of the whole file.
// The file's first bytes are read once, by the first read that lies inside them, so that the
// header fields a loader reads one by one cost one read of the file between them
struct bytesource {
  const unsigned char *bytes = nullptr;  // the bytes, when they are in memory
  int fd = -1;                           // else the open file
  size_t size = 0;                       // the bytes there are: the file's size when opened
  bool failed = false;                   // a read error, or a file that shrank while it was read
  bool headread = false;                 // the file's first bytes have been read into head
  size_t headsize = 0;                   // how many of them the file gave
  unsigned char head[512];               // the file's first bytes

  bytesource() = default;
  bytesource(const unsigned char *data, size_t count) : bytes(data), size(count) {}
  bytesource(const bytesource &) = delete;
  bytesource &operator=(const bytesource &) = delete;
  ~bytesource();
  // copies count bytes from offset into dst; false when they lie past size, or (failed set) the
  // file could not give them
  bool readat(size_t offset, unsigned char *dst, size_t count);
};
// opens path inside folder as readfolderfile finds it, its size counted as at most limit bytes;
// 0 when it cannot be opened
int openfolderfile(const char *folder, const char *path, bytesource &source, int64_t limit);
// the same into a vector
int readwholefile(const char *path, std::vector<unsigned char> &bytes, int64_t limit = maxfilebytes);
// replaces path (or the file a link at path names, created when it does not exist yet) with bytes,
// written beside it, made durable and renamed over it, so that a failure leaves the old file whole;
// keeps its permissions and refuses a read-only file; where the folder takes no new file but the
// file is writable, rewrites it in place instead; 0 or an errno value
int replacefile(const char *path, const unsigned char *bytes, size_t count);

// reads little-endian values from a block of bytes; past the end it yields zeros and notes the
// overrun, so a truncated file can never make a parser read outside its buffer
struct bytereader {
  const unsigned char *data;
  size_t size;
  size_t pos = 0;
  bool overrun = false;

  bytereader(const unsigned char *bytes, size_t count) : data(bytes), size(count) {}
  size_t remaining() const { return pos < size ? size - pos : 0; }
  uint8_t u8() {
    if (pos >= size) { overrun = true; return 0; }
    return data[pos++];
  }
  uint16_t u16() { uint16_t lo = u8(); return uint16_t(lo | u8() << 8); }
  uint32_t u32() { uint32_t lo = u16(); return lo | uint32_t(u16()) << 16; }
  void skip(size_t count) {
    if (count > remaining()) { overrun = true; pos = size; } else { pos += count; }
  }
  // overwrites only the low bytes of bits that the data still holds, as a short read into the
  // field's memory would: a file that ends inside a field changes just the bytes it has
  void partial32(uint32_t &bits) {
    for (int shift = 0; shift < 32 && pos < size; shift += 8)
      bits = (bits & ~(0xFFu << shift)) | uint32_t(data[pos++]) << shift;
  }
};

// appends little-endian values to a byte vector, for files written field by field
struct bytewriter {
  std::vector<unsigned char> bytes;

  void u8(uint8_t v) { bytes.push_back(v); }
  void u16(uint16_t v) { u8(uint8_t(v)); u8(uint8_t(v >> 8)); }
  void u32(uint32_t v) { u16(uint16_t(v)); u16(uint16_t(v >> 16)); }
};

// float <-> its IEEE 754 bit pattern, for the binary formats
uint32_t floatbits(float value);
float bitsfloat(uint32_t bits);

// [SECTION] directory listing
constexpr int filenamesize = 32;  // a name slot: at most 31 characters and the terminating zero
typedef char filenameslot[filenamesize];

// a caller's own test of a name, beside the spec: true keeps it
using namefilter = bool (*)(const char *name);

// lists the working directory's files (directories 0) or its subdirectories (non-zero; hidden
// ones left out) whose names match spec, in byte order, into a table of capacity slots, and
// marks the end with a slot that starts with a zero byte. A table too small for every match
// keeps the names that sort first; names too long for a slot and names starting with '<' are
// left out, as are entries that cannot be examined (a dangling link). Returns the number of
// matches, more than the table holds when it was too small
int listfiles(const char *spec, filenameslot *items, int directories, int capacity);
// the same for a folder other than the working directory, which is looked into, not entered;
// keep, when given, picks among the matches before the table's capacity counts
int listfolder(const char *folder, const char *spec, filenameslot *items, int directories,
               int capacity, namefilter keep = nullptr);
// the same for a table declared as an array, whose length is the capacity
template <size_t capacity>
int listfiles(const char *spec, filenameslot (&items)[capacity], int directories)
{
  return listfiles(spec, items, directories, int(capacity));
}
// 1 when name matches spec in one forward scan: '*' swallows name characters up to the first
// that equals the spec character after it; either string running out counts as a match
int checkfilespec(const char *spec, const char *name);
// byte-wise order of two name slots, for qsort
int comparestrings(const void *a, const void *b);

// [SECTION] data folders
// Data files are taken from the working directory when it holds them, so that a game folder (or
// a player's) can carry its own, else from the first of these that does: the caller's data
// folders in the order they were added; the game's installed data, PREFIX/share/games/NAME then
// PREFIX/share/NAME for a program in PREFIX/bin or PREFIX/games; the engine's installed data
// folder as seen from the running program (PREFIX/share/tavrel, or share/games/tavrel, even when
// bin is a link); the program's own folder; the data folder of the prefix the engine was
// configured for; /usr/share/games/NAME. NAME is the game's name, "tavrel" for the engine's own
// programs. The engine's files ("font.bmp", "tvr.bmp") are looked for by name, the loaders'
// ("texture/wall.png", "sound/shot.wav") inside their folder. Looking never changes the working
// directory.
constexpr int maxdatafolders = 4;
constexpr int datafoldersize = 4096;  // bytes of a folder's path, terminator included
extern char datafolder[maxdatafolders][datafoldersize];
extern int32_t numofdatafolders;
constexpr int gamenamesize = 64;
// the name of the game's data and player folders, "tavrel" unless the game names itself
extern char gamename[gamenamesize];

// appends a folder to search; 0 when the path is empty or too long, or the table is full
int adddatafolder(const char *path);
// names the game's folders (readgamearguments does it); 0, leaving the name as it was, for a name
// that is empty, too long, holds a '/' or is "." or ".."
int setgamename(const char *name);
// the folders looked into after the working directory, in order
const std::vector<std::string> &datasearchpath();
// where the data file name is read from: name itself when the working directory holds it as a
// regular file, else its path in the first folder of the search path that does; empty when none
std::string finddatafile(const char *name);
// the folder of the running program's executable; empty when the system cannot say
std::string programfolder();

// [SECTION] a game's own options
// A game keeps its own settings (a player's name, a difficulty, a mute flag, key bindings) in a
// small text file of its choosing in its folder: a line "name = value" an option, replaced as
// hwconfig.cfg is (replacefile), so that a failed save never damages the file. A whole number is
// written in decimal, a number with enough digits to read back the same float, a text in double
// quotes with a backslash, a quote and control characters escaped (\\, \", \xHH) and every
// other byte, UTF-8 included, as it is
constexpr int64_t maxoptionsfilebytes = int64_t(64) << 10;  // a larger file is not read

// one option: its name in the file (letters, digits, '_', '-' and '.') and the one variable it
// is kept in, made by the calls below
struct gameoption {
  const char *name;
  int32_t *integer;
  float *number;
  char *text;       // textsize bytes, its terminating zero included
  size_t textsize;
};
gameoption integeroption(const char *name, int32_t *variable);
gameoption numberoption(const char *name, float *variable);
gameoption textoption(const char *name, char *text, size_t size);
template <size_t size>
gameoption textoption(const char *name, char (&text)[size])
{
  return textoption(name, text, size);
}
// writes the count options' values to path; 0, or an errno value, writing nothing: EINVAL for an
// option with a bad name, not exactly one variable or a number that is not finite, EFBIG for a
// file larger than maxoptionsfilebytes, which no load would read
int savegameoptions(const char *path, const gameoption *options, int count);
// reads path into the options' variables: the number of options taken, -1 when the file cannot
// be read (a first start has none) or is larger than maxoptionsfilebytes. Blank lines and lines
// starting with '#' are passed over; a line that names no option, or whose value is not of the
// option's kind or does not fit its text, is skipped, its variable untouched, and named in a
// message line ("options.txt: line 3 skipped: no such option"), at most 8 of them and a count
int loadgameoptions(const char *path, const gameoption *options, int count);
// the same from count bytes in memory, named name in the messages
int loadgameoptionsbytes(const unsigned char *bytes, size_t size, const gameoption *options,
                         int count, const char *name);
// the same for a table declared as an array
template <int count>
int savegameoptions(const char *path, const gameoption (&options)[count])
{
  return savegameoptions(path, options, count);
}
template <int count>
int loadgameoptions(const char *path, const gameoption (&options)[count])
{
  return loadgameoptions(path, options, count);
}

// [SECTION] messages
// what the engine has to tell the player (a missing font, no sound device, a stored size no
// window can have, a folder it cannot enter) goes, one line at a time, to a callback
using messagecallback = void (*)(const char *line);

// sends every later message line, without its newline, to callback instead of standard error;
// null puts standard error back
void setmessagecallback(messagecallback callback);
