// The TGA loader: 24- and 32-bit true-colour images, plain or run-length encoded, in any of the
// four pixel orders.
#include "texture/imageload.h"
#include "texture/texture.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr uint8_t truecolour = 2;
constexpr uint8_t truecolourruns = 10;
constexpr int largestrun = 128;  // pixels one run-length packet can stand for
// the longest file a header can describe: the longest ID, the largest colour map (65535 entries
// of up to 32 bytes) and the largest image in one-pixel packets of 1 + 4 bytes
constexpr long largesttgafile =
    18 + 255 + 65535L * 32 + long(maxtextureside) * maxtextureside * (1 + 4);

struct tgalayout {
  int width;
  int height;
  int bytesperpixel;  // 3: blue, green, red; 4: blue, green, red, alpha
  bool runs;          // run-length encoded
  bool bottomup;      // the file's first row is the image's bottom row
  bool righttoleft;   // each file row starts at the image's right edge
  size_t offset;      // where the pixels start
};

// the least the pixel data can take: all of it for plain files, one full run a packet for runs
bool enoughdata(const tgalayout &layout, size_t available)
{
  size_t pixels = size_t(layout.width) * layout.height;
  if (!layout.runs)
    return available >= pixels * layout.bytesperpixel;
  return available >= leastrunbytes(pixels, layout.bytesperpixel);
}

// reads the header field by field; null when this loader takes the file, else why not
const char *readtgaheader(const unsigned char *bytes, size_t count, tgalayout &layout)
{
  bytereader in(bytes, count);
  uint8_t idlength = in.u8();
  in.skip(1);  // colour map type: a map ahead of true-colour pixels is skipped over, used or not
  uint8_t imagetype = in.u8();
  in.skip(2);  // first colour map entry
  uint16_t maplength = in.u16();
  uint8_t mapentrybits = in.u8();
  in.skip(4);  // x and y origin: where a display would place the image
  uint16_t width = in.u16();
  uint16_t height = in.u16();
  uint8_t depth = in.u8();
  // the descriptor's alpha bit count (bits 0-3) is not trusted: a 32-bit pixel's fourth byte is
  // its alpha whatever the count says
  uint8_t descriptor = in.u8();
  in.skip(idlength + size_t(maplength) * ((mapentrybits + 7) / 8));
  if (in.overrun)
    return "file too short for its header";
  if (imagetype != truecolour && imagetype != truecolourruns)
    return "not a true-colour TGA";
  if (depth != 24 && depth != 32)
    return "not a 24- or 32-bit TGA";
  if (width < 1 || width > maxtextureside || height < 1 || height > maxtextureside)
    return "image size outside 1 to 16384";
  layout.width = width;
  layout.height = height;
  layout.bytesperpixel = depth / 8;
  layout.runs = imagetype == truecolourruns;
  layout.bottomup = !(descriptor & 0x20);
  layout.righttoleft = descriptor & 0x10;
  layout.offset = in.pos;
  return enoughdata(layout, in.remaining()) ? nullptr : tooshort;
}

// the pixel size, the packing and the corner of the first pixel, as a texture artist names them
std::string describe(const tgalayout &layout)
{
  return std::to_string(layout.bytesperpixel * 8) + (layout.runs ? "-bit run-length" : "-bit") +
         " TGA, origin " + (layout.bottomup ? "bottom " : "top ") +
         (layout.righttoleft ? "right" : "left");
}

// where the n-th row of the file goes in the slot
unsigned char *slotrow(unsigned char *pixels, const tgalayout &layout, int filerow)
{
  int row = layout.bottomup ? layout.height - 1 - filerow : filerow;
  return pixels + size_t(row) * layout.width * 4;
}

void convertfilerow(const unsigned char *src, const tgalayout &layout, int filerow,
                    unsigned char *pixels)
{
  convertrow(src, layout.bytesperpixel, layout.width, 255, layout.righttoleft,
             slotrow(pixels, layout, filerow));
}

// expands run-length packets one file row at a time; a run may carry on into the next row, and
// what would lie past the last row is dropped; false when the data ends early
bool unpackruns(bytereader &in, const tgalayout &layout, unsigned char *pixels)
{
  const size_t bytesperpixel = layout.bytesperpixel;
  std::vector<unsigned char> row(size_t(layout.width) * bytesperpixel);
  size_t filled = 0;
  for (int filerow = 0; filerow < layout.height;) {
    uint8_t packet = in.u8();
    const int length = (packet & 0x7F) + 1;
    const bool repeated = packet & 0x80;
    const size_t packetbytes = repeated ? bytesperpixel : length * bytesperpixel;
    if (in.overrun || in.remaining() < packetbytes)
      return false;
    const unsigned char *src = in.data + in.pos;
    in.skip(packetbytes);
    for (int i = 0; i < length && filerow < layout.height; ++i) {
      memcpy(&row[filled], repeated ? src : src + i * bytesperpixel, bytesperpixel);
      filled += bytesperpixel;
      if (filled == row.size()) {
        convertfilerow(row.data(), layout, filerow++, pixels);
        filled = 0;
      }
    }
  }
  return true;
}

// a plain file's rows, which are all there, straight into the slot's buffer
void decodeplain(const unsigned char *bytes, const tgalayout &layout, unsigned char *pixels)
{
  const size_t filerowbytes = size_t(layout.width) * layout.bytesperpixel;
  for (int filerow = 0; filerow < layout.height; ++filerow)
    convertfilerow(bytes + layout.offset + filerowbytes * filerow, layout, filerow, pixels);
}

// runs can still end early, so they are unpacked into a new buffer and the slot's is kept until
// they have filled it
int loadruns(int slot, const unsigned char *bytes, size_t count, const tgalayout &layout,
             int mipmap)
{
  unsigned char *pixels = newimagebuffer(layout.width, layout.height, mipmap);
  if (!pixels)
    return refuseimage(slot, nomemory);
  bytereader in(bytes, count);
  in.skip(layout.offset);
  if (!unpackruns(in, layout, pixels)) {
    free(pixels);
    return refuseimage(slot, "run-length packets end before the image");
  }
  return installimage(slot, layout.width, layout.height, mipmap, pixels,
                      describe(layout).c_str());
}

}  // namespace

size_t leastrunbytes(size_t pixels, int bytesperpixel)
{
  size_t packets = (pixels + largestrun - 1) / largestrun;
  return packets * (1 + bytesperpixel);
}

int loadtexturetgabytes(int slot, const unsigned char *bytes, size_t count, int mipmap)
{
  if (!loadableslot(slot))
    return failload(notaslot);
  tgalayout layout;
  if (const char *refusal = readtgaheader(bytes, count, layout))
    return refuseimage(slot, refusal);
  if (layout.runs)
    return loadruns(slot, bytes, count, layout, mipmap);
  unsigned char *pixels = imagebuffer(slot, layout.width, layout.height, mipmap);
  if (!pixels)
    return refuseimage(slot, nomemory);
  decodeplain(bytes, layout, pixels);
  return installimage(slot, layout.width, layout.height, mipmap, pixels,
                      describe(layout).c_str());
}

void loadtexturetga(int slot, const char *path, int mipmap, int low)
{
  loadimagefile(slot, imagefolder(low, path), path, largesttgafile, mipmap, loadtexturetgabytes);
}
