// The BMP reader: uncompressed 24-bit images, rows bottom-up or top-down, any info-header version
// whose first 40 bytes are the common layout; and the loader that puts them in a slot.
#include "texture/imageload.h"
#include "texture/texture.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

unsigned char bmpheader[54];

namespace {

constexpr uint16_t bmpsignature = 0x4D42;  // "BM"
constexpr uint32_t fileheaderbytes = 14;
constexpr uint32_t shortestinfoheader = 40;
// the longest file a header can describe: the pixels at the farthest offset, the largest sides
constexpr int64_t largestbmpfile = int64_t(UINT32_MAX) + int64_t(maxtextureside) * maxtextureside * 3;

bool sidesaccepted(int32_t width, int32_t height)
{
  // checked without negating the height, which INT_MIN would overflow
  return width >= 1 && width <= maxtextureside && height != 0 && height >= -maxtextureside &&
         height <= maxtextureside;
}

// every row's pixels are in the file; the last row may end without its padding
bool rowsinside(const bmplayout &layout, size_t count)
{
  const size_t pixelbytes = layout.rowstride * (layout.height - 1) + size_t(layout.width) * 3;
  return count - layout.offset >= pixelbytes;
}

// the rows a piece at a time, the padding between them skipped; false when the file fails
bool decodebmp(imagereader &in, const bmplayout &layout, uint8_t alpha, unsigned char *pixels)
{
  const size_t slotrowbytes = size_t(layout.width) * 4;
  for (int row = 0; row < layout.height; ++row) {
    in.pos = layout.offset + layout.rowstride * row;
    const unsigned char *filerow = in.take(size_t(layout.width) * 3);
    if (!filerow)
      return false;
    int slotrow = layout.bottomup ? layout.height - 1 - row : row;
    convertrow(filerow, 3, layout.width, alpha, false, pixels + slotrowbytes * slotrow);
  }
  return true;
}

// the header fields from the first headcount bytes of a file of filesize bytes
const char *readbmpfields(const unsigned char *head, size_t headcount, size_t filesize,
                          bmplayout &layout)
{
  bytereader in(head, headcount);
  uint16_t signature = in.u16();
  in.skip(4);                          // bfSize: often wrong; the real byte count is checked
  in.skip(4);                          // bfReserved1, bfReserved2
  uint32_t offset = in.u32();          // the pixels follow the headers and any colour table
  uint32_t infosize = in.u32();        // 12 is the older header, whose fields lie elsewhere
  int32_t width = int32_t(in.u32());
  int32_t height = int32_t(in.u32());  // above 0 the rows are stored bottom-up
  uint16_t planes = in.u16();
  uint16_t bitcount = in.u16();
  uint32_t compression = in.u32();
  // biSizeImage, the resolution and the palette counts: not needed for 24-bit pixels
  if (in.overrun)
    return "file too short for its header";
  if (signature != bmpsignature)
    return "not a BMP file";
  if (infosize < shortestinfoheader)
    return "unsupported info header";
  if (bitcount != 24 || compression != 0)
    return "not a 24-bit uncompressed BMP";
  if (!sidesaccepted(width, height))
    return "image size outside 1 to 16384";
  if (offset < fileheaderbytes + uint64_t(infosize) || offset >= filesize)
    return "pixel offset outside the file";
  layout.width = width;
  layout.height = std::abs(height);
  layout.bottomup = height > 0;
  layout.planes = planes;
  layout.offset = offset;
  layout.rowstride = bmprowbytes(width);
  return nullptr;
}

// the BMP loader on its bytes, from a file or memory
int decodebmpfile(int slot, imagereader &in, int mipmap)
{
  if (!loadableslot(slot))
    return failload(notaslot);
  const size_t size = in.source.size;
  const unsigned char *head = in.take(std::min(size, sizeof bmpheader));
  if (!head)
    return refuseimage(slot, shortreason(in, tooshort));
  if (size)  // a short file replaces only the bytes it has, as a short read would
    memcpy(bmpheader, head, std::min(size, sizeof bmpheader));
  bmplayout layout;
  if (const char *refusal = readbmpfields(head, std::min(size, sizeof bmpheader), size, layout))
    return refuseimage(slot, refusal);
  if (!rowsinside(layout, size))
    return refuseimage(slot, tooshort);
  unsigned char *pixels = imagebuffer(slot, layout.width, layout.height, mipmap);
  if (!pixels)
    return refuseimage(slot, nomemory);
  if (!decodebmp(in, layout, slot == dimmedbmpslot ? 128 : 255, pixels))
    return refusedecoded(slot, pixels, shortreason(in, tooshort));
  const char *format = layout.bottomup ? "24-bit BMP, bottom-up" : "24-bit BMP, top-down";
  return installimage(slot, layout.width, layout.height, mipmap, pixels, format);
}

bool bmpsides(imagereader &in, int &width, int &height)
{
  const size_t headcount = std::min(in.source.size, sizeof bmpheader);
  const unsigned char *head = in.take(headcount);
  bmplayout layout;
  if (!head || readbmpfields(head, headcount, in.source.size, layout))
    return false;
  width = layout.width;
  height = layout.height;
  return true;
}

constexpr imageformat bmpformat = {decodebmpfile, bmpsides, largestbmpfile};

}  // namespace

const char *readbmpheader(const unsigned char *bytes, size_t count, bmplayout &layout)
{
  return readbmpfields(bytes, count, count, layout);
}

int loadtexturebmpbytes(int slot, const unsigned char *bytes, size_t count, int mipmap)
{
  return loadimagebytes(slot, bytes, count, mipmap, decodebmpfile);
}

void loadtexturebmp(int slot, const char *path, int mipmap)
{
  loadimagefile(slot, imagefolder(0, path), path, mipmap, bmpformat);
}
