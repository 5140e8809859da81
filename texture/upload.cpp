// Handing a slot's pixels to GL: the loaders' upload and the restore after focus regain.
#include "texture/texture.h"

#include "texture/pixelstore.h"

#include <GL/gl.h>

void uploadtexture(int slot, int wrap, int magfilter, int minfilter)
{
  if (!istextureslot(slot))
    return;
  const textureslot &t = texture[slot];
  glBindTexture(GL_TEXTURE_2D, t.glname);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magfilter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minfilter);
  // the buffer is tightly packed: a caller's row length, skips or alignment would make GL read
  // other pixels, or past the buffer's end, so the defaults hold for the upload and the caller's
  // settings come back afterwards
  const tightpixelstore tight(false);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, t.width, t.height, 0, GL_RGBA, GL_UNSIGNED_BYTE, t.data);
  if (t.mipmap)
    generatemipmap(slot);
}

void uploadloadedtexture(int slot)
{
  if (istextureslot(slot))
    uploadtexture(slot, GL_REPEAT, GL_LINEAR,
                  texture[slot].mipmap ? GL_LINEAR_MIPMAP_NEAREST : GL_LINEAR);
}

// slots the game keeps pixel-sharp: both filters nearest, though their chain is still rebuilt
static bool nearestslot(int slot)
{
  return (slot >= 70 && slot <= 97) || (slot >= 400 && slot <= 419);
}

void restoretextures()
{
  for (int slot = 0; slot < maxtextures; ++slot) {
    if (texture[slot].width == 0)
      continue;
    if (nearestslot(slot))
      uploadtexture(slot, GL_REPEAT, GL_NEAREST, GL_NEAREST);
    else
      uploadloadedtexture(slot);
  }
}
