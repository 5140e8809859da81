// 3-D drawing set-up: perspective and orthographic viewports placed on a rectangle of the
// virtual 640x480 screen, and the camera and object transforms of the modelview matrix.
#include "draw/draw.h"

#include "platform/platform.h"

#include <GL/gl.h>
#include <cstdint>

namespace {

constexpr int64_t virtualwidth = 640;
constexpr int64_t virtualheight = 480;

struct pixelsize {
  int width, height;
};

// a virtual length in window pixels: the product first, then the truncating division; 64 bits
// so that no rectangle, however far off screen, can overflow
int scaled(int64_t value, int window, int64_t virtualsize)
{
  return int(value * window / virtualsize);
}

// sets the GL viewport for a virtual rectangle (origin top left, y down) and returns its size
pixelsize setupviewportrect(int x, int y, int width, int height)
{
  int64_t bottom = virtualheight - (int64_t(y) + height);
  pixelsize size = {scaled(width, windowinfo.width, virtualwidth),
                    scaled(height, windowinfo.height, virtualheight)};
  glViewport(scaled(x, windowinfo.width, virtualwidth),
             scaled(bottom, windowinfo.height, virtualheight), size.width, size.height);
  return size;
}

// the texture matrix back to identity, then the modelview one, which stays current
void resetviewmatrices()
{
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

}  // namespace

void setupperspectiveviewport(int x, int y, int width, int height, float znear, float zfar)
{
  pixelsize size = setupviewportrect(x, y, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  // a viewport of no width shows nothing; its projection stays identity rather than NaN
  if (size.width != 0) {
    float aspect = float(size.height) / float(size.width);
    glFrustum(-znear, znear, -aspect * znear, aspect * znear, znear, zfar);
  }
  resetviewmatrices();
}

void setuporthoviewport(int x, int y, int width, int height, float halfwidth, float halfheight,
                        float halfdepth)
{
  setupviewportrect(x, y, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-halfwidth, halfwidth, -halfheight, halfheight, -halfdepth, halfdepth);
  resetviewmatrices();
}

void setupviewpoint(const float *position, const float *orientation)
{
  glMatrixMode(GL_MODELVIEW);
  if (orientation) {
    // the transpose of the axes, which undoes their rotation when they are orthonormal
    const float *o = orientation;
    const float inverse[16] = {o[0], o[3], o[6], 0, o[1], o[4], o[7], 0,
                               o[2], o[5], o[8], 0, 0,    0,    0,    1};
    glMultMatrixf(inverse);
  }
  if (position)
    glTranslatef(-position[0], -position[1], -position[2]);
}

void setupobjectrender(const float *position, const float *orientation)
{
  glMatrixMode(GL_MODELVIEW);
  if (position)
    glTranslatef(position[0], position[1], position[2]);
  if (orientation) {
    // the three axes as the matrix's first three columns
    const float *o = orientation;
    const float axes[16] = {o[0], o[1], o[2], 0, o[3], o[4], o[5], 0,
                            o[6], o[7], o[8], 0, 0,    0,    0,    1};
    glMultMatrixf(axes);
  }
}
