// Screenshots: the back buffer saved as an uncompressed 24-bit BMP under the first free name
// from "scsht000.bmp" to "scsht999.bmp" in the working directory.
#include "draw/draw.h"

#include "files/files.h"
#include "platform/platform.h"
#include "texture/texture.h"

#include <GL/gl.h>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <unistd.h>

unsigned char screenshotbuffer[screenshotmaxpixels * 4];

namespace {

constexpr int lastscreenshot = 999;

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

// turns the RGBA read-back into the file's rows in place; a stored row is never longer than a
// read-back one, so each byte lands at or before the bytes still to be read
size_t packbmprows(unsigned char *pixels, int width, int height)
{
  for (int y = 0; y < height; ++y)
    packbmprow(pixels + size_t(y) * width * 4, 4, width, pixels + bmprowbytes(width) * y);
  return bmprowbytes(width) * size_t(height);
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
  bool written = writescreenshot(bmpfileheader(width, height, 0), pixelbytes);
  fp = nullptr;
  if (!written)
    unlink(name);  // a short file would pass for a screenshot
  return written;
}
