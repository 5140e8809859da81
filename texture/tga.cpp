// The TGA loader: 24- and 32-bit true-colour images, plain or run-length encoded, in any of the
// four pixel orders.
#include "texture/imageload.h"
#include "texture/texture.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr uint8_t truecolour = 2;
constexpr uint8_t truecolourruns = 10;
constexpr int largestrun = 128;  // pixels one run-length packet can stand for
constexpr size_t tgaheaderbytes = 18;
// the longest file a header can describe: the longest ID, the largest colour map (65535 entries
// of up to 32 bytes) and the largest image in one-pixel packets of 1 + 4 bytes
constexpr int64_t largesttgafile = int64_t(tgaheaderbytes) + 255 + int64_t(65535) * 32 +
                                   int64_t(maxtextureside) * maxtextureside * (1 + 4);

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

// reads the header field by field from the first headcount bytes of a file of filesize bytes;
// null when this loader takes the file, else why not
const char *readtgaheader(const unsigned char *head, size_t headcount, size_t filesize,
                          tgalayout &layout)
{
  bytereader in(head, headcount);
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
  const size_t offset = in.pos + idlength + size_t(maplength) * ((mapentrybits + 7) / 8);
  if (in.overrun || offset > filesize)
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
  layout.offset = offset;
  return enoughdata(layout, filesize - offset) ? nullptr : tooshort;
}

// the pixel size, the packing and the corner of the first pixel, as a texture artist names them;
// put together without formatting, as a game may load hundreds of small files
struct tgadescription {
  char text[48];
};
tgadescription describe(const tgalayout &layout)
{
  tgadescription format;
  char *end = stpcpy(format.text, layout.bytesperpixel == 4 ? "32-bit" : "24-bit");
  end = stpcpy(end, layout.runs ? " run-length TGA, origin " : " TGA, origin ");
  end = stpcpy(end, layout.bottomup ? "bottom " : "top ");
  stpcpy(end, layout.righttoleft ? "right" : "left");
  return format;
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

// a packet's pixels into a file row: a literal packet's at once, a repeated one a whole pixel at a
// time
template <int bytesperpixel>
void putpixels(const unsigned char *src, bool repeated, int count, unsigned char *dst)
{
  if (!repeated) {
    memcpy(dst, src, size_t(count) * bytesperpixel);
    return;
  }
  for (int i = 0; i < count; ++i)
    memcpy(dst + i * bytesperpixel, src, bytesperpixel);
}

// expands run-length packets one file row at a time; a run may carry on into the next row, and
// what would lie past the last row is dropped; false when the data ends early
template <int bytesperpixel>
bool unpackruns(imagereader &in, const tgalayout &layout, unsigned char *pixels)
{
  std::vector<unsigned char> row(size_t(layout.width) * bytesperpixel);
  int filled = 0;  // pixels of the row
  for (int filerow = 0; filerow < layout.height;) {
    const unsigned char *packet = in.take(1);
    const int length = packet ? (*packet & 0x7F) + 1 : 0;
    const bool repeated = packet && *packet & 0x80;
    const unsigned char *src = packet ? in.take(repeated ? bytesperpixel : length * bytesperpixel)
                                      : nullptr;
    if (!src)
      return false;
    for (int done = 0; done < length && filerow < layout.height;) {
      const int count = std::min(length - done, layout.width - filled);
      putpixels<bytesperpixel>(repeated ? src : src + done * bytesperpixel, repeated, count,
                               &row[size_t(filled) * bytesperpixel]);
      done += count;
      filled += count;
      if (filled == layout.width) {
        convertfilerow(row.data(), layout, filerow++, pixels);
        filled = 0;
      }
    }
  }
  return true;
}

// a plain file's rows as many at a time as a piece holds; false when the file fails under the
// reader
bool decodeplain(imagereader &in, const tgalayout &layout, unsigned char *pixels)
{
  const size_t filerowbytes = size_t(layout.width) * layout.bytesperpixel;
  const int rowsapiece = int(std::min(largestpiece / filerowbytes, size_t(layout.height)));
  in.pos = layout.offset;
  for (int filerow = 0; filerow < layout.height;) {
    const int rows = std::min(rowsapiece, layout.height - filerow);
    const unsigned char *src = in.take(filerowbytes * size_t(rows));
    if (!src)
      return false;
    for (int row = 0; row < rows; ++row)
      convertfilerow(src + filerowbytes * size_t(row), layout, filerow++, pixels);
  }
  return true;
}

// runs can still end early, so they are unpacked into a new buffer and the slot's is kept until
// they have filled it
int loadruns(int slot, imagereader &in, const tgalayout &layout, int mipmap)
{
  unsigned char *pixels = newimagebuffer(layout.width, layout.height, mipmap);
  if (!pixels)
    return refuseimage(slot, nomemory);
  in.pos = layout.offset;
  const bool unpacked = layout.bytesperpixel == 3 ? unpackruns<3>(in, layout, pixels)
                                                  : unpackruns<4>(in, layout, pixels);
  if (!unpacked)
    return refusedecoded(slot, pixels, shortreason(in, "run-length packets end before the image"));
  return installimage(slot, layout.width, layout.height, mipmap, pixels,
                      describe(layout).text);
}

// the TGA loader on its bytes, from a file or memory
int decodetgafile(int slot, imagereader &in, int mipmap)
{
  if (!loadableslot(slot))
    return failload(notaslot);
  const size_t headcount = std::min(in.source.size, tgaheaderbytes);
  const unsigned char *head = in.take(headcount);
  tgalayout layout;
  if (!head)
    return refuseimage(slot, cutshort);
  if (const char *refusal = readtgaheader(head, headcount, in.source.size, layout))
    return refuseimage(slot, refusal);
  if (layout.runs)
    return loadruns(slot, in, layout, mipmap);
  unsigned char *pixels = imagebuffer(slot, layout.width, layout.height, mipmap);
  if (!pixels)
    return refuseimage(slot, nomemory);
  if (!decodeplain(in, layout, pixels))
    return refusedecoded(slot, pixels, shortreason(in, tooshort));
  return installimage(slot, layout.width, layout.height, mipmap, pixels,
                      describe(layout).text);
}

bool tgasides(imagereader &in, int &width, int &height)
{
  const size_t headcount = std::min(in.source.size, tgaheaderbytes);
  const unsigned char *head = in.take(headcount);
  tgalayout layout;
  if (!head || readtgaheader(head, headcount, in.source.size, layout))
    return false;
  width = layout.width;
  height = layout.height;
  return true;
}

constexpr imageformat tgaformat = {decodetgafile, tgasides, largesttgafile};

}  // namespace

size_t leastrunbytes(size_t pixels, int bytesperpixel)
{
  size_t packets = (pixels + largestrun - 1) / largestrun;
  return packets * (1 + bytesperpixel);
}

int loadtexturetgabytes(int slot, const unsigned char *bytes, size_t count, int mipmap)
{
  return loadimagebytes(slot, bytes, count, mipmap, decodetgafile);
}

void loadtexturetga(int slot, const char *path, int mipmap, int low)
{
  loadimagefile(slot, imagefolder(low, path), path, mipmap, tgaformat);
}
