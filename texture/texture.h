// Textures: the table of 512 slots, each keeping its RGBA pixels (and mipmap chain) in memory
// beside its GL texture, so that every loaded slot can be uploaded again at any time.
#pragma once

#include "../files/files.h"

#include <cstddef>
#include <cstdint>

constexpr int maxtextures = 512;
constexpr int fontslot = 511;         // the font and the pointer glyph; no other loader uses it
constexpr int maxtextureside = 16384; // the largest side a loader accepts

struct textureslot {
  int32_t width;        // level-0 width; 0 means the slot holds nothing
  int32_t height;       // level-0 height
  int32_t mipmap;       // the buffer carries a generated mipmap chain
  unsigned char *data;  // RGBA pixels, rows top first, owned by the slot
  uint32_t glname;      // GL texture name, made once at start-up
  // the picture's sides at full texture detail, the units drawsprite's source rectangle is named
  // in: width and height, unless the picture came from the low-detail set and its full-detail
  // twin was found, whose sides they then are
  int32_t fullwidth;
  int32_t fullheight;
};
extern textureslot texture[maxtextures];
// 1 while a GL context takes the table's textures: loads and frees then reach for GL, else they
// only fill and empty the slots. The platform keeps it with windowinfo.graphics
extern int32_t textureuploads;

// empties a slot of 0 to 510: its pixels are freed and, while textureuploads is on, its GL image and
// every mipmap level dropped (the slot gets a fresh GL name); the font's slot 511 is left alone
void freetexture(int slot);
// 0 to 511: an index of the table; every call given a slot does nothing with any other
bool istextureslot(int slot);
// bytes a slot's buffer needs: level 0, or twice that to hold the mipmap chain too
size_t texturebytes(int width, int height, int mipmap);
// installs a filled buffer in a slot, freeing the one it held unless that is the same buffer
void settexture(int slot, int width, int height, int mipmap, unsigned char *data);

// one fresh GL texture name for every slot, slot 0 first
void setuptexturenames();
// binds the slot, sets its wrap and filters, uploads level 0 and, for mipmapped slots, the chain
void uploadtexture(int slot, int wrap, int magfilter, int minfilter);
// uploads a slot the way the image loaders leave it: repeat, linear, mipmapped when it has a chain
void uploadloadedtexture(int slot);
// uploads every loaded slot again, as after the window regains the input focus
void restoretextures();

// builds levels 1 and up of a slot from level 0, in its own buffer, and uploads each to the bound
// texture; each level halves both sides down to 1, so a chain ends at 1x1 for any size. A slot
// whose buffer has no room for a chain (mipmap 0) is left alone
void generatemipmap(int slot);
// one level of a chain: its number (0 is the image), sides and first pixel in the buffer
struct mipmaplevel {
  int number;
  int width;
  int height;
  size_t offset;
};
// makes the level after the given one right behind it in data and moves level on to it; false,
// with nothing made, once level is 1x1
bool nextmipmaplevel(unsigned char *data, mipmaplevel &level);
// the whole chain of a width x height image in data, as generatemipmap makes it, without GL
void buildmipmaps(unsigned char *data, int width, int height);
// the box filter of one level: each output pixel is the truncated mean of a 2x2 block of the
// level above (a side of 1 is averaged along the other side only)
void halvelevel(const unsigned char *src, int width, int height, unsigned char *dst);

// [SECTION] image loaders
// Each reads its file a piece at a time straight into the slot's pixels, or decodes bytes in
// memory. A file that is missing or not accepted leaves the slot as it was, but one cut short
// while it is read into the slot's own pixels (same size as before) empties the slot; either way
// the slot is uploaded (again) while textureuploads is on.
constexpr const char *texturefolder = "texture";        // where the loaders find their images
constexpr const char *lowtexturefolder = "texturelow";  // the low-detail set of images
// 0 (the default): BMPs and PNGs are read from "texture", TGAs from where their low argument
// says; 1 (a game whose player chose low texture detail): every image is read from "texturelow"
// when it is there, else from "texture"
extern int32_t lowtexturedetail;
constexpr int dimmedbmpslot = 16;  // BMPs loaded into this slot get alpha 128 instead of 255
extern unsigned char bmpheader[54];  // the file and info headers of the last BMP decoded

// an uncompressed 24-bit BMP, rows bottom-up or top-down, into slot; 1 when it was accepted
int loadtexturebmpbytes(int slot, const unsigned char *bytes, size_t count, int mipmap);
// path inside the "texture" folder (or as given when there is no such folder), then as above
void loadtexturebmp(int slot, const char *path, int mipmap);
// a 24- or 32-bit true-colour TGA, plain or run-length encoded, any pixel order; 1 when accepted
int loadtexturetgabytes(int slot, const unsigned char *bytes, size_t count, int mipmap);
// path inside "texture", or "texturelow" when low is set (or as given without it), then as above
void loadtexturetga(int slot, const char *path, int mipmap, int low);
// a PNG of any colour type and bit depth, interlaced or not, as RGBA; 1 when it was accepted
int loadtexturepngbytes(int slot, const unsigned char *bytes, size_t count, int mipmap);
// path inside the "texture" folder (or as given when there is no such folder), then as above
void loadtexturepng(int slot, const char *path, int mipmap);
// why the last BMP, TGA or PNG load was refused, in a few lower-case words ("cannot open the file",
// "file too short for its pixels"); null once a load has been accepted
const char *textureloaderror();
// what the last accepted image load read ("24-bit BMP, bottom-up", "32-bit run-length TGA,
// origin top left"); null after a refused one
const char *textureloadformat();

// [SECTION] BMP files
// The one reader of BMP headers (the loader's and the font's) and the one writer (screenshots and
// the artwork tool): uncompressed 24-bit pixels of three bytes, blue, green, red, each row padded
// to a multiple of four bytes.
constexpr int bmpheaderbytes = 54;  // the file header and the 40-byte info header

struct bmplayout {
  int width;
  int height;
  bool bottomup;     // the file's first row is the image's bottom row
  int planes;        // 1 in every well-made file; the loader does not look
  size_t offset;     // where the pixels start
  size_t rowstride;  // bytes from one row to the next
};

// bytes a stored row of width pixels takes, padding included
size_t bmprowbytes(int width);
// reads the headers field by field; null when they describe 24-bit uncompressed rows of sides 1
// to maxtextureside starting inside the count bytes, else why not. Whether every row is there
// is the caller's business
const char *readbmpheader(const unsigned char *bytes, size_t count, bmplayout &layout);
// the headers of a bottom-up 24-bit image, with a resolution of pixelspermetre both ways
bytewriter bmpfileheader(int width, int height, uint32_t pixelspermetre);
// one stored row made from width pixels of red, green and blue bytes (and, with 4 bytes a pixel, a
// fourth that is dropped): blue, green, red and zero padding; dst may be src or lie before it
void packbmprow(const unsigned char *src, int bytesperpixel, int width, unsigned char *dst);
