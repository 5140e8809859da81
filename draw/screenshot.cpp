// Screenshots: the back buffer saved as an uncompressed 24-bit BMP under the first free name
// from "scsht000.bmp" to "scsht999.bmp" in the working directory. The rows are read back and
// written a band at a time, so the buffer stays small and a window of any size can be saved.
#include "draw/draw.h"

#include "files/files.h"
#include "platform/platform.h"
#include "texture/pixelstore.h"
#include "texture/texture.h"

#include <GL/gl.h>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

unsigned char screenshotbuffer[screenshotbufferbytes];
char screenshotname[16];

namespace {

constexpr int lastscreenshot = 999;

// rows read back and written at a time. GL gives them as red, green, blue and alpha, the order
// every driver reads back fastest (Mesa's software renderer takes twice as long to give the
// file's blue, green, red), and they are packed into the file's rows in the buffer
int bandrows(int width)
{
  return int(sizeof screenshotbuffer / (size_t(width) * 4));
}

// reads rows y to y + count - 1 of the window into the buffer, turned into the file's rows;
// false when GL refused the read (a pack buffer bound, say), which leaves the buffer stale
bool readband(int width, int y, int count)
{
  glReadPixels(0, y, width, count, GL_RGBA, GL_UNSIGNED_BYTE, screenshotbuffer);
  if (glGetError() != GL_NO_ERROR)
    return false;
  for (int row = 0; row < count; ++row)
    packbmprow(screenshotbuffer + size_t(width) * 4 * row, 4, width,
               screenshotbuffer + bmprowbytes(width) * row);
  return true;
}

// sdl12-compat draws the program's frames into a framebuffer object of its own and shows it at the
// swap; that has no back buffer to name, and reads from where the frame was drawn. A context
// without framebuffer objects refuses the question, which the caller's error sweep clears
bool drawingintoframebufferobject()
{
  constexpr GLenum framebufferbinding = 0x8CA6;  // GL_FRAMEBUFFER_BINDING, past GL 1.1's header
  GLint framebuffer = 0;
  glGetIntegerv(framebufferbinding, &framebuffer);
  return framebuffer != 0;
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

// writes the header and every band through fp, reading each band after the first (which is
// already in the buffer), and closes it; false on any read or write error
bool writescreenshot(int width, int height, int firstband)
{
  const bytewriter header = bmpfileheader(width, height, 0);
  bool written = fwrite(header.bytes.data(), 1, header.bytes.size(), fp) == header.bytes.size();
  for (int y = 0, count = firstband; written && y < height;) {
    const size_t bandbytes = bmprowbytes(width) * count;
    written = fwrite(screenshotbuffer, 1, bandbytes, fp) == bandbytes;
    y += count;
    count = std::min(bandrows(width), height - y);
    if (written && count > 0)
      written = readband(width, y, count);
  }
  return fclose(fp) == 0 && written;
}

// the first band is read before any file is touched, so that a read-back GL refuses leaves none
int savescreenshot(int width, int height)
{
  const int firstband = std::min(bandrows(width), height);
  if (!readband(width, 0, firstband))
    return 0;
  char name[] = "scsht000.bmp";
  static_assert(sizeof name <= sizeof screenshotname, "the name must fit where it is kept");
  int fd = createscreenshotfile(name);
  if (fd < 0)
    return 0;
  fp = fdopen(fd, "wb");
  if (!fp) {
    close(fd);
    unlink(name);
    return 0;
  }
  bool written = writescreenshot(width, height, firstband);
  fp = nullptr;
  if (!written)
    unlink(name);  // a short file would pass for a screenshot
  else
    memcpy(screenshotname, name, sizeof name);
  return written;
}

}  // namespace

int screenshot()
{
  screenshotname[0] = '\0';
  const int width = windowinfo.width, height = windowinfo.height;
  // a row read back as RGBA must fit the buffer, and the file's size fields are 32 bits wide
  if (width <= 0 || height <= 0 || size_t(width) * 4 > sizeof screenshotbuffer ||
      bmpheaderbytes + bmprowbytes(width) * uint64_t(height) > UINT32_MAX)
    return 0;
  const bool ownframebuffer = drawingintoframebufferobject();
  // errors the caller left unread would otherwise pass for ours
  for (int stale = 0; stale < 16 && glGetError() != GL_NO_ERROR; ++stale) {
  }
  // the caller's row length, skips or alignment would spread the rows past the buffer
  const tightpixelstore tight(true);
  // OpenGL ES 2.0 reads from where it draws, and has no glReadBuffer to name another
  if (!ownframebuffer && !glonlyes2())
    glReadBuffer(GL_BACK);
  return savescreenshot(width, height);
}
