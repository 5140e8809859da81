// The font: "font.bmp", a 24-bit BMP of 16x16 glyph cells with the pointer in its top-left 32x32
// block, 256x256 for codes 0 to 255 or 256x128 for 0 to 127 alone, becomes the alpha of texture
// slot 511, whose colour is white throughout.
#include "draw/draw.h"

#include "files/files.h"
#include "files/messages.h"
#include "platform/platform.h"
#include "texture/texture.h"

#include <GL/gl.h>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

static constexpr int64_t fontfilelimit = int64_t(1) << 22;  // far more than any 256x256 BMP needs

// white and fully transparent, so that filtered glyph edges keep the drawing colour
static void cleartexels(unsigned char *texels)
{
  for (int i = 0; i < fontwidth * fontheight; ++i) {
    texels[i * 4 + 0] = texels[i * 4 + 1] = texels[i * 4 + 2] = 255;
    texels[i * 4 + 3] = 0;
  }
}

// the byte at pos; a file that ends early reads as 255, so missing texels are opaque white
static uint8_t byteat(const unsigned char *bytes, size_t count, uint64_t pos)
{
  return pos < count ? bytes[pos] : 255;
}

int decodefont(const unsigned char *bytes, size_t count, unsigned char *texels)
{
  bmplayout layout;
  if (readbmpheader(bytes, count, layout) || layout.planes != 1 ||
      layout.width != fontimagewidth ||
      (layout.height != fontimageheight && layout.height != fontheight))
    return 0;
  // rows the file does not hold are read as 255 below, not refused as the loaders refuse them
  for (int filerow = 0; filerow < layout.height; ++filerow) {
    const int row = layout.bottomup ? layout.height - 1 - filerow : filerow;
    const uint64_t start = layout.offset + uint64_t(filerow) * layout.rowstride;
    for (int column = 0; column < fontimagewidth; ++column) {
      unsigned char *texel = texels + (size_t(row) * fontwidth + column) * 4;
      texel[0] = texel[1] = texel[2] = 255;
      texel[3] = byteat(bytes, count, start + uint64_t(column) * 3 + 2);  // blue, green, red
    }
  }
  return 1;
}

// without a font nothing on the screen can be read, so a player is told why in one line
static void reportfontproblem(const std::string &path)
{
  const char *consequence = "no text or pointer will be drawn";
  if (!path.empty()) {
    reportmessage("%s: cannot read %s as a 256x256 or 256x128 24-bit BMP; %s",
                  program_invocation_short_name, path.c_str(), consequence);
    return;
  }
  const std::vector<std::string> folders = datasearchpath();
  std::string places = "the working directory";
  for (size_t i = 0; i < folders.size(); ++i)
    places += (i + 1 == folders.size() ? " or " : ", ") + folders[i];
  reportmessage("%s: cannot find %s in %s; %s", program_invocation_short_name, fontfilename,
                places.c_str(), consequence);
}

int loadfont()
{
  unsigned char *texels = static_cast<unsigned char *>(malloc(texturebytes(fontwidth, fontheight, 0)));
  if (!texels)
    return 0;
  cleartexels(texels);
  const std::string path = finddatafile(fontfilename);
  std::vector<unsigned char> bytes;
  const int found = !path.empty() && readwholefile(path.c_str(), bytes, fontfilelimit) &&
                    decodefont(bytes.data(), bytes.size(), texels);
  if (!found)
    reportfontproblem(path);
  settexture(fontslot, fontwidth, fontheight, 0, texels);
  if (textureuploads)
    uploadtexture(fontslot, GL_CLAMP, GL_LINEAR, GL_LINEAR);
  return found;
}
