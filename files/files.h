// Files: whole-file reading, bounded little-endian byte reading and writing, and directory listing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

// the one shared file handle: every file is opened into it, worked on and closed before the next
extern FILE *fp;

// largest file readwholefile takes; anything bigger is refused rather than allocated
constexpr long maxfilebytes = 1L << 30;

// reads at most limit bytes of path into bytes; 0 when the file cannot be opened or read
int readwholefile(const char *path, std::vector<unsigned char> &bytes, long limit = maxfilebytes);

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
