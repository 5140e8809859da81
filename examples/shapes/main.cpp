// shapes: a rectangle, a turned sprite and a line of text in the 2-D screen, on the Tavrel engine.
#include <tavrel/engine.h>

#include <cstdio>
#include <cstdlib>

constexpr int squareslot = 1;
constexpr int squareside = 64;

// a texture of pure blue made in memory: the slot takes the malloc'd pixels and frees them
static bool makebluesquare()
{
  auto *pixels = static_cast<unsigned char *>(malloc(texturebytes(squareside, squareside, 0)));
  if (!pixels)
    return false;
  for (int i = 0; i < squareside * squareside; ++i) {
    const unsigned char blue[4] = {0, 0, 255, 255};  // red, green, blue, alpha
    for (int c = 0; c < 4; ++c)
      pixels[i * 4 + c] = blue[c];
  }
  settexture(squareslot, squareside, squareside, 0, pixels);
  uploadloadedtexture(squareslot);
  return true;
}

int main()
{
  if (!setupgame("Shapes")) {  // without hwconfig.cfg: 640x480, windowed
    fprintf(stderr, "shapes: %s\n", setupfailure());
    return 1;
  }
  if (!makebluesquare()) {
    shutdownengine();
    return 1;
  }
  while (!windowinfo.quit && !keyboard[key_escape]) {
    if (!beginframe())
      continue;
    clearscreen(0, 0, 0);
    setupscreen2d();
    drawrectangle(40, 40, 160, 80, 1, 0, 0, 1);  // from (40, 40) to (200, 120)
    // the whole square, centred on (480, 360), twice its size, turned 45 degrees, untinted
    drawsprite(squareslot, 0, 0, squareside, squareside, 480, 360, 2, 45, 1, 1, 1, 1);
    drawtext("2-D", 40, 200, 16, 1, 1, 1, 1);
    endframe(0);  // no pointer: the frame shown as drawn
  }
  shutdownengine();
  return 0;
}
