// The pixel-store settings that a tightly packed buffer needs while GL reads it (an upload) or
// writes it (a read-back), a caller's own settings put back afterwards. The engine's own, not a
// public header: the texture uploads and the screenshots share it.
#pragma once

#include <GL/gl.h>

constexpr int maxtightsettings = 6;  // the settings of either kind

// sets the tight values for its own lifetime, for GL's unpacking (uploads) or packing
// (read-backs), then puts back what the caller had. OpenGL ES 2.0, which WebGL 1 is, keeps only
// the alignment of these settings, and there that alone is set
class tightpixelstore {
public:
  explicit tightpixelstore(bool packing);
  ~tightpixelstore();
  tightpixelstore(const tightpixelstore &) = delete;
  tightpixelstore &operator=(const tightpixelstore &) = delete;

private:
  struct { GLenum name; GLint value; } callers[maxtightsettings];  // as the caller had them
  int numofcallers = 0;
};

// 1 where GL is OpenGL ES 2.0 (WebGL 1): it has no glReadBuffer and only the alignment of the
// pixel-store settings
int glonlyes2();
