// The texture table and the ownership of its pixel buffers.
#include "texture/texture.h"

#include "texture/imageload.h"

#include <GL/gl.h>
#include <cstdlib>

textureslot texture[maxtextures];
int32_t textureuploads;

size_t texturebytes(int width, int height, int mipmap)
{
  return size_t(width) * size_t(height) * (mipmap ? 8 : 4);
}

bool istextureslot(int slot)
{
  return slot >= 0 && slot < maxtextures;
}

void settexture(int slot, int width, int height, int mipmap, unsigned char *data)
{
  if (!istextureslot(slot))
    return;
  textureslot &t = texture[slot];
  if (t.data != data)
    free(t.data);
  t.width = t.fullwidth = width;
  t.height = t.fullheight = height;
  t.mipmap = mipmap;
  t.data = data;
}

void freetexture(int slot)
{
  if (!loadableslot(slot))
    return;
  settexture(slot, 0, 0, 0, nullptr);
  if (!textureuploads)
    return;
  // a fresh name is the one way to drop every level that GL still keeps of the old image
  GLuint name = texture[slot].glname;
  glDeleteTextures(1, &name);
  glGenTextures(1, &name);
  texture[slot].glname = name;
}

void setuptexturenames()
{
  for (textureslot &t : texture) {
    GLuint name = 0;
    glGenTextures(1, &name);
    t.glname = name;
  }
}
