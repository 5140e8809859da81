// shapes: a rectangle, a turned sprite and a line of text in the 2-D screen, and a menu for the
// mouse, the keys or a gamepad, on the Tavrel engine.
#include <tavrel/engine.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

constexpr int squareslot = 1;
constexpr int squareside = 64;

int32_t spinning;      // the menu's toggle: the square turns while it is set
int32_t squarecolour;  // the menu's radio items: 0 blue, 1 green, 2 red
const float tint[3][3] = {{0, 0, 1}, {0, 1, 0}, {1, 0, 0}};
bool quitasked;

// a texture of pure white made in memory, tinted as it is drawn: the slot takes the malloc'd
// pixels and frees them
static bool makewhitesquare()
{
  const size_t bytes = texturebytes(squareside, squareside, 0);
  auto *pixels = static_cast<unsigned char *>(malloc(bytes));
  if (!pixels)
    return false;
  memset(pixels, 255, bytes);  // red, green, blue and alpha
  settexture(squareslot, squareside, squareside, 0, pixels);
  uploadloadedtexture(squareslot);
  return true;
}

// the items, made anew before each frame's beginframe: menuclicked answers for the last frame
static void buildmenu()
{
  numofmenuitems = 0;
  createmenuitem("Spin", 72, 296, 16, 1, 1, 1);
  setmenutoggle(&spinning);
  const char *const colours[] = {"Blue", "Green", "Red"};
  for (int c = 0; c < 3; ++c) {
    createmenuitem(colours[c], 72 + 120 * c, 328, 16, 1, 1, 1);
    setmenuradio(&squarecolour, c);
  }
  createmenuitem("Quit", 72, 376, 16, 1, 1, 1);
  setmenuback();  // Escape and the pad's east button choose it too
  if (menuclicked())
    quitasked = true;
}

int main()
{
  if (!setupgame("Shapes")) {  // without hwconfig.cfg: 640x480, windowed
    fprintf(stderr, "shapes: %s\n", setupfailure());
    return 1;
  }
  if (!makewhitesquare()) {
    shutdownengine();
    return 1;
  }
  menunavigation = navigatekeys | navigatepad;  // a focus that Tab, the arrows and the pad move
  menustatemarks = 1;  // a box before the toggle, a diamond before each colour
  float turn = 45;
  while (!windowinfo.quit && !quitasked) {
    buildmenu();
    if (!beginframe())
      continue;
    if (spinning)
      turn += 90 * frametime;  // degrees a second
    clearscreen(0, 0, 0);
    setupscreen2d();
    drawrectangle(40, 40, 160, 80, 1, 0, 0, 1);  // from (40, 40) to (200, 120)
    // the whole square, centred on (480, 360), twice its size, turned, in the chosen colour
    const float *colour = tint[squarecolour];
    drawsprite(squareslot, 0, 0, squareside, squareside, 480, 360, 2, turn, colour[0], colour[1],
               colour[2], 1);
    drawtext("2-D", 40, 200, 16, 1, 1, 1, 1);
    endframe(1);  // the items over the drawing, and the pointer over them
  }
  shutdownengine();
  return 0;
}
