// The texture table and the ownership of its pixel buffers.
#include "texture/texture.h"

#include <GL/gl.h>
#include <cstdlib>

textureslot texture[maxtextures];

size_t texturebytes(int width, int height, int mipmap)
{
  return size_t(width) * size_t(height) * (mipmap ? 8 : 4);
}

void settexture(int slot, int width, int height, int mipmap, unsigned char *data)
{
  textureslot &t = texture[slot];
  if (t.data != data)
    free(t.data);
  t.width = width;
  t.height = height;
  t.mipmap = mipmap;
  t.data = data;
}

void setuptexturenames()
{
  for (textureslot &t : texture) {
    GLuint name = 0;
    glGenTextures(1, &name);
    t.glname = name;
  }
}
