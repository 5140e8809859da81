// The PNG loader: every colour type and bit depth, interlaced or not, decoded by libpng into RGBA
// behind the engine's own checks of the header, the file's length and the slot.
#include "texture/imageload.h"
#include "texture/texture.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <png.h>

namespace {

constexpr unsigned char pngsignature[8] = {137, 'P', 'N', 'G', 13, 10, 26, 10};
// the signature and the image header chunk: length, "IHDR", 13 bytes of fields, CRC
constexpr size_t pngheadbytes = 8 + 4 + 4 + 13 + 4;
// the most deflate can shrink its data: 258 bytes in a match of two bits
constexpr size_t deflateratio = 1032;
// room for the largest image stored at 16 bits a channel without compression, twice over for the
// chunks and ancillary data around it
constexpr int64_t largestpngfile =
    2 * (int64_t(maxtextureside) * (1 + int64_t(maxtextureside) * 8));

struct pngheader {
  int width;
  int height;
  int depth;       // bits a channel (a palette index)
  int colourtype;  // 0 grey, 2 RGB, 3 palette, 4 grey and alpha, 6 RGBA
  bool interlaced;
};

// what libpng's callbacks share with the loader: the bytes, and why the load stopped
struct pngdecode {
  imagereader *in;
  const char *refusal;  // set by the reader or the error handler, first one kept
};
char pngmessage[96];  // libpng's own words for the last damaged file

uint32_t bigendian32(const unsigned char *p)
{
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

int channels(int colourtype)
{
  switch (colourtype) {
  case 2: return 3;
  case 4: return 2;
  case 6: return 4;
  default: return 1;  // grey, palette, and the types libpng refuses later
  }
}

// the fewest file bytes that can hold the image: its rows with their filter bytes, deflated as
// far as deflate goes, after the header
size_t leastpngbytes(const pngheader &header)
{
  const size_t rowbits = size_t(header.width) * channels(header.colourtype) * header.depth;
  return pngheadbytes + size_t(header.height) * (1 + (rowbits + 7) / 8) / deflateratio;
}

// the signature and the header fields; null when the sides are accepted and the file is long
// enough for the pixels, else why not. libpng checks the rest of the header itself
const char *readpngheader(const unsigned char *head, size_t headcount, size_t filesize,
                          pngheader &header)
{
  if (headcount < sizeof pngsignature || memcmp(head, pngsignature, sizeof pngsignature) != 0)
    return "not a PNG file";
  if (headcount < pngheadbytes)
    return "file too short for its header";
  if (bigendian32(head + 8) != 13 || memcmp(head + 12, "IHDR", 4) != 0)
    return "no image header first";
  const uint32_t width = bigendian32(head + 16), height = bigendian32(head + 20);
  if (width < 1 || width > uint32_t(maxtextureside) || height < 1 ||
      height > uint32_t(maxtextureside))
    return "image size outside 1 to 16384";
  header = {int(width), int(height), head[24], head[25], head[28] != 0};
  return filesize < leastpngbytes(header) ? tooshort : nullptr;
}

void pngfailed(png_structp png, png_const_charp message)
{
  pngdecode &state = *static_cast<pngdecode *>(png_get_error_ptr(png));
  if (!state.refusal) {
    snprintf(pngmessage, sizeof pngmessage, "damaged PNG: %s", message);
    state.refusal = pngmessage;
  }
  png_longjmp(png, 1);
}

// warnings are faults libpng reads past (a damaged chunk the loader skips, data after the last
// row, a transparency chunk that a picture with alpha has no use for): the image is still whole,
// and nothing is printed. The transparency chunk is the one ancillary chunk the pixels depend on:
// dropped for a wrong CRC, the picture would lose its alpha, so that refuses it
void pngwarned(png_structp png, png_const_charp message)
{
  if (png_get_io_chunk_type(png) == bigendian32(reinterpret_cast<const unsigned char *>("tRNS")) &&
      strstr(message, "CRC error"))
    pngfailed(png, message);
}

// libpng's reads, a piece at a time through the loader's reader
void pngread(png_structp png, png_bytep dst, size_t count)
{
  pngdecode &state = *static_cast<pngdecode *>(png_get_io_ptr(png));
  while (count) {
    const size_t piece = std::min(count, largestpiece);
    const unsigned char *src = state.in->take(piece);
    if (!src) {
      state.refusal = shortreason(*state.in, "file ends before its last chunk");
      png_error(png, state.refusal);
    }
    memcpy(dst, src, piece);
    dst += piece;
    count -= piece;
  }
}

// every kind to 8-bit RGBA: palettes looked up, grey spread to three channels, a tRNS chunk made
// alpha, 16-bit channels rounded to 8 and opaque alpha added where there is none
int settransforms(png_structp png)
{
  png_set_expand(png);
  png_set_scale_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  return png_set_interlace_handling(png);
}

// the pixels after the header into a new buffer; null when refused, the reason in state. An
// error jumps back to the setjmp, so nothing here has a destructor to miss
unsigned char *decodepixels(png_structp png, png_infop info, const pngheader &header, int mipmap,
                            pngdecode &state)
{
  unsigned char *volatile pixels = nullptr;
  if (setjmp(png_jmpbuf(png))) {
    free(pixels);
    return nullptr;
  }
  png_set_read_fn(png, &state, pngread);
  png_set_user_limits(png, maxtextureside, maxtextureside);
  // the ancillary chunks (text, colour profiles, gamma) are skipped unread but for their CRCs:
  // the pixels are the stored values, and nothing in them is decompressed or kept. One whose CRC
  // is wrong is dropped with a warning, as other readers do, where a critical one refuses the file
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
  png_set_crc_action(png, PNG_CRC_ERROR_QUIT, PNG_CRC_WARN_DISCARD);
  png_read_info(png, info);
  const int passes = settransforms(png);
  png_read_update_info(png, info);
  const size_t rowbytes = size_t(header.width) * 4;
  if (png_get_rowbytes(png, info) != rowbytes)
    png_error(png, "no RGBA rows from this kind");
  pixels = newimagebuffer(header.width, header.height, mipmap);
  if (!pixels) {
    state.refusal = nomemory;
    return nullptr;
  }
  for (int pass = 0; pass < passes; ++pass)
    for (int row = 0; row < header.height; ++row)
      png_read_row(png, pixels + rowbytes * row, nullptr);
  png_read_end(png, nullptr);
  return pixels;
}

// the bit depth, colour type and layout, as a texture artist names them
void describe(const pngheader &header, bool transparency, char *format, size_t size)
{
  static const char *const kinds[] = {"grey", "", "RGB", "palette", "grey and alpha", "", "RGBA"};
  snprintf(format, size, "%d-bit %s PNG%s%s", header.depth, kinds[header.colourtype],
           transparency ? " with alpha" : "", header.interlaced ? ", interlaced" : "");
}

// the PNG loader on its bytes, from a file or memory
int decodepngfile(int slot, imagereader &in, int mipmap)
{
  if (!loadableslot(slot))
    return failload(notaslot);
  const size_t headcount = std::min(in.source.size, pngheadbytes);
  const unsigned char *head = in.take(headcount);
  if (!head)
    return refuseimage(slot, cutshort);
  pngheader header;
  if (const char *refusal = readpngheader(head, headcount, in.source.size, header))
    return refuseimage(slot, refusal);
  in.pos = 0;
  pngdecode state = {&in, nullptr};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &state, pngfailed, pngwarned);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  unsigned char *pixels = info ? decodepixels(png, info, header, mipmap, state) : nullptr;
  char format[48];
  if (pixels)
    describe(header, png_get_valid(png, info, PNG_INFO_tRNS), format, sizeof format);
  png_destroy_read_struct(&png, &info, nullptr);
  if (!pixels)
    return refuseimage(slot, state.refusal ? state.refusal : nomemory);
  return installimage(slot, header.width, header.height, mipmap, pixels, format);
}

bool pngsides(imagereader &in, int &width, int &height)
{
  const size_t headcount = std::min(in.source.size, pngheadbytes);
  const unsigned char *head = in.take(headcount);
  pngheader header;
  if (!head || readpngheader(head, headcount, in.source.size, header))
    return false;
  width = header.width;
  height = header.height;
  return true;
}

constexpr imageformat pngformat = {decodepngfile, pngsides, largestpngfile};

}  // namespace

int loadtexturepngbytes(int slot, const unsigned char *bytes, size_t count, int mipmap)
{
  return loadimagebytes(slot, bytes, count, mipmap, decodepngfile);
}

void loadtexturepng(int slot, const char *path, int mipmap)
{
  loadimagefile(slot, imagefolder(0, path), path, mipmap, pngformat);
}
