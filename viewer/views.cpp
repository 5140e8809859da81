// The two views of the picture: flat at 1:1 over a checkerboard, and on a floor turning slowly
// in perspective, whose far side shows the smaller mipmap levels.
#include "viewer.h"

#include <GL/gl.h>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>

void setupcheckerboard()
{
  const unsigned char dark = 96, light = 160;
  unsigned char *texels = static_cast<unsigned char *>(malloc(texturebytes(2, 2, 0)));
  if (!texels)
    return;
  for (int i = 0; i < 4; ++i) {
    const unsigned char grey = (i == 0 || i == 3) ? dark : light;
    texels[i * 4 + 0] = texels[i * 4 + 1] = texels[i * 4 + 2] = grey;
    texels[i * 4 + 3] = 255;
  }
  settexture(checkerboardslot, 2, 2, 0, texels);
  uploadtexture(checkerboardslot, GL_REPEAT, GL_NEAREST, GL_NEAREST);
}

// a textured rectangle in the current view, texture rows top first
static void drawquad(float left, float bottom, float right, float top, float repeats)
{
  glBegin(GL_QUADS);
  glTexCoord2f(0, repeats), glVertex3f(left, bottom, 0);
  glTexCoord2f(repeats, repeats), glVertex3f(right, bottom, 0);
  glTexCoord2f(repeats, 0), glVertex3f(right, top, 0);
  glTexCoord2f(0, 0), glVertex3f(left, top, 0);
  glEnd();
}

static void setupblendedtexturing(int slot)
{
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4f(1, 1, 1, 1);
  glBindTexture(GL_TEXTURE_2D, texture[slot].glname);
}

void drawflatview()
{
  // one unit of eye space is one virtual pixel, so the picture's texels land 1:1
  const float halfwidth = flatwidth / 2.0f, halfheight = flatheight / 2.0f;
  setuporthoviewport(flatx, flaty, flatwidth, flatheight, halfwidth, halfheight, 1);
  setupblendedtexturing(checkerboardslot);
  constexpr float checksize = 8;
  drawquad(-halfwidth, -halfheight, halfwidth, halfheight, flatwidth / (2 * checksize));
  const textureslot &picture = texture[pictureslotinuse()];
  if (picture.width == 0)
    return;
  const float scale = std::min({1.0f, flatwidth / float(picture.width),
                                flatheight / float(picture.height)});
  const float x = picture.width * scale / 2, y = picture.height * scale / 2;
  setupblendedtexturing(pictureslotinuse());
  drawquad(-x, -y, x, y, 1);
}

// radians the floor has turned since the first call: one turn a minute, whatever the frame rate
static float turnedangle()
{
  using clock = std::chrono::steady_clock;
  static const clock::time_point start = clock::now();
  const float seconds = std::chrono::duration<float>(clock::now() - start).count();
  return seconds * 2 * float(M_PI) / 60;
}

void drawturningview()
{
  const textureslot &picture = texture[pictureslotinuse()];
  if (picture.width == 0)
    return;
  setupperspectiveviewport(turningx, turningy, turningwidth, turningheight, 0.1f, 100);
  // the floor lies flat below the eye and turns about the upright axis through its centre
  const float angle = turnedangle(), c = std::cos(angle), s = std::sin(angle);
  const float position[3] = {0, -1, -9};
  const float axes[9] = {c, 0, -s, -s, 0, -c, 0, 1, 0};  // the picture's up runs away from the eye
  setupobjectrender(position, axes);
  setupblendedtexturing(pictureslotinuse());
  constexpr float half = 8, repeats = 8;
  drawquad(-half, -half, half, half, repeats);
}
