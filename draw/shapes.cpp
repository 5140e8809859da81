// 2-D shapes and sprites in the virtual 640x480 screen: filled and outlined rectangles, wide
// lines, turned and tinted sprites cut from a texture slot, and the set-up under which a game's
// own GL vertices are virtual pixels. Each shape is one batch of quads, stacked in call order.
#include "draw/draw.h"

#include "draw/screen2d.h"
#include "texture/texture.h"

#include <GL/gl.h>
#include <algorithm>
#include <cmath>

void setupscreen2d()
{
  setuptextdisplay();
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, virtualscreenwidth, virtualscreenheight, 0, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  screen2dpixels = 1;
}

// untextured quads in one colour follow, until endflat turns texturing back on
static void beginflat(float red, float green, float blue, float alpha)
{
  glDisable(GL_TEXTURE_2D);
  glColor4f(red, green, blue, alpha);
  glBegin(GL_QUADS);
}

static void endflat()
{
  glEnd();
  glEnable(GL_TEXTURE_2D);
}

static void rectanglecorners(float left, float top, float right, float bottom)
{
  virtualvertex(left, top);
  virtualvertex(right, top);
  virtualvertex(right, bottom);
  virtualvertex(left, bottom);
}

void clearscreen(float red, float green, float blue)
{
  glClearColor(red, green, blue, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void drawrectangle(float x, float y, float width, float height, float red, float green,
                   float blue, float alpha)
{
  beginflat(red, green, blue, alpha);
  rectanglecorners(x, y, x + width, y + height);
  endflat();
}

void drawrectangleoutline(float x, float y, float width, float height, float linewidth,
                          float red, float green, float blue, float alpha)
{
  const float left = std::min(x, x + width), right = std::max(x, x + width);
  const float top = std::min(y, y + height), bottom = std::max(y, y + height);
  // the four strips never overlap, so a translucent outline is even all round
  const float w = std::min({linewidth, (right - left) / 2, (bottom - top) / 2});
  if (!(w > 0))
    return;
  beginflat(red, green, blue, alpha);
  rectanglecorners(left, top, right, top + w);
  rectanglecorners(left, bottom - w, right, bottom);
  rectanglecorners(left, top + w, left + w, bottom - w);
  rectanglecorners(right - w, top + w, right, bottom - w);
  endflat();
}

void drawline(float x0, float y0, float x1, float y1, float width, float red, float green,
              float blue, float alpha)
{
  const float dx = x1 - x0, dy = y1 - y0, length = std::hypot(dx, dy);
  if (!(length > 0) || !(width > 0))
    return;
  // half the width across the line, on either side of it
  const float nx = -dy / length * width / 2, ny = dx / length * width / 2;
  beginflat(red, green, blue, alpha);
  virtualvertex(x0 + nx, y0 + ny);
  virtualvertex(x1 + nx, y1 + ny);
  virtualvertex(x1 - nx, y1 - ny);
  virtualvertex(x0 - nx, y0 - ny);
  endflat();
}

void drawsprite(int slot, float sourcex, float sourcey, float sourcewidth, float sourceheight,
                float x, float y, float scale, float turn, float red, float green, float blue,
                float alpha)
{
  if (!istextureslot(slot) || texture[slot].width <= 0 || texture[slot].height <= 0)
    return;
  const textureslot &t = texture[slot];
  // in the full-detail picture's pixels, which the low-detail one covers at its own size
  const float width = float(t.fullwidth > 0 ? t.fullwidth : t.width);
  const float height = float(t.fullheight > 0 ? t.fullheight : t.height);
  const float s0 = sourcex / width, s1 = (sourcex + sourcewidth) / width;
  const float t0 = sourcey / height, t1 = (sourcey + sourceheight) / height;
  // the sprite's half axes, turned clockwise on the screen (y runs down)
  const float radians = turn * float(M_PI / 180), c = std::cos(radians), s = std::sin(radians);
  const float halfwidth = sourcewidth * scale / 2, halfheight = sourceheight * scale / 2;
  const float ax = halfwidth * c, ay = halfwidth * s, bx = -halfheight * s, by = halfheight * c;
  glBindTexture(GL_TEXTURE_2D, t.glname);
  glColor4f(red, green, blue, alpha);
  glBegin(GL_QUADS);
  glTexCoord2f(s0, t0);
  virtualvertex(x - ax - bx, y - ay - by);
  glTexCoord2f(s1, t0);
  virtualvertex(x + ax - bx, y + ay - by);
  glTexCoord2f(s1, t1);
  virtualvertex(x + ax + bx, y + ay + by);
  glTexCoord2f(s0, t1);
  virtualvertex(x - ax + bx, y - ay + by);
  glEnd();
}
