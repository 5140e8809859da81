// Screenshots: the back buffer saved as an uncompressed 24-bit BMP under the first free name
// from "scsht000.bmp" to "scsht999.bmp" in the working directory.
#include "draw/draw.h"

#include "files/files.h"
#include "platform/platform.h"

#include <GL/gl.h>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <unistd.h>

unsigned char screenshotbuffer[screenshotmaxpixels * 4];

namespace {

constexpr uint32_t headerbytes = 54;
constexpr uint32_t infoheaderbytes = 40;
constexpr int lastscreenshot = 999;

// a stored row: three bytes a pixel, padded to a multiple of four as BMP readers expect
size_t bmprowbytes(int width)
{
  return (size_t(width) * 3 + 3) & ~size_t(3);
}

// the file header and the information header of a bottom-up 24-bit image
bytewriter bmpheader(int width, int height)
{
  const uint32_t imagebytes = uint32_t(bmprowbytes(width) * size_t(height));
  bytewriter header;
  header.u8('B');
  header.u8('M');
  header.u32(headerbytes + imagebytes);
  header.u16(0);  // reserved
  header.u16(0);  // reserved
  header.u32(headerbytes);
  header.u32(infoheaderbytes);
  header.u32(uint32_t(width));
  header.u32(uint32_t(height));  // positive: the bottom row comes first
  header.u16(1);                 // planes
  header.u16(24);                // bits per pixel
  header.u32(0);                 // no compression
  header.u32(imagebytes);
  for (int unused = 0; unused < 4; ++unused)
    header.u32(0);  // resolutions and colour counts
  return header;
}

// reads the window's bottom-left width x height pixels into the buffer as tight RGBA rows,
// whatever pack state the caller left, which could otherwise spread them past the buffer;
// false when GL refused the read (a pack buffer bound, say), which leaves the buffer stale
bool readwindow(int width, int height)
{
  // errors the caller left unread would otherwise pass for ours
  for (int stale = 0; stale < 16 && glGetError() != GL_NO_ERROR; ++stale) {
  }
  glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glPixelStorei(GL_PACK_ROW_LENGTH, 0);
  glPixelStorei(GL_PACK_SKIP_ROWS, 0);
  glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, screenshotbuffer);
  glPopClientAttrib();
  return glGetError() == GL_NO_ERROR;
}

// turns the RGBA read-back into padded BGR rows in place; a stored row is never longer than a
// read-back one, so each byte lands at or before the bytes still to be read
size_t packbmprows(unsigned char *pixels, int width, int height)
{
  const size_t rowbytes = bmprowbytes(width);
  const unsigned char *in = pixels;
  for (int y = 0; y < height; ++y) {
    unsigned char *row = pixels + size_t(y) * rowbytes;
    for (int x = 0; x < width; ++x, in += 4) {
      const unsigned char red = in[0], green = in[1], blue = in[2];
      row[3 * x] = blue;
      row[3 * x + 1] = green;
      row[3 * x + 2] = red;
    }
    for (size_t pad = size_t(width) * 3; pad < rowbytes; ++pad)
      row[pad] = 0;
  }
  return rowbytes * size_t(height);
}

// creates the first free name exclusively, so that nothing already there (a file, a directory,
// even a dangling link) is ever written through; -1 when all are taken or the directory refuses
int createscreenshotfile(char name[])
{
  for (int number = 0; number <= lastscreenshot; ++number) {
    name[5] = char('0' + number / 100);
    name[6] = char('0' + number / 10 % 10);
    name[7] = char('0' + number % 10);
    int fd = open(name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST)
      return fd;
  }
  return -1;
}

// writes the header and the packed rows through fp and closes it; false on any write error
bool writescreenshot(const bytewriter &header, size_t pixelbytes)
{
  bool written = fwrite(header.bytes.data(), 1, header.bytes.size(), fp) == header.bytes.size() &&
                 fwrite(screenshotbuffer, 1, pixelbytes, fp) == pixelbytes;
  return fclose(fp) == 0 && written;
}

}  // namespace

int screenshot()
{
  const int width = windowinfo.width, height = windowinfo.height;
  if (width <= 0 || height <= 0 || int64_t(width) * height > screenshotmaxpixels)
    return 0;
  if (!readwindow(width, height))
    return 0;
  const size_t pixelbytes = packbmprows(screenshotbuffer, width, height);

  char name[] = "scsht000.bmp";
  int fd = createscreenshotfile(name);
  if (fd < 0)
    return 0;
  fp = fdopen(fd, "wb");
  if (!fp) {
    close(fd);
    unlink(name);
    return 0;
  }
  bool written = writescreenshot(bmpheader(width, height), pixelbytes);
  fp = nullptr;
  if (!written)
    unlink(name);  // a short file would pass for a screenshot
  return written;
}
