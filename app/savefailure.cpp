// A failed save shown in the set-up window itself: a player who started it from a menu never sees
// standard error, and would otherwise take the closing window for choices stored.
#include "savefailure.h"

#include "engine.h"

#include <GL/gl.h>
#include <cstring>

namespace {

constexpr int waitingframerate = 30;  // the message changes only with the pointer
constexpr int linesize = 16;          // the font's own size: crisp at 640x480
constexpr int screenwidth = 640;      // the virtual screen that text is placed in
constexpr int screencolumns = screenwidth / linesize;

// a key or a click answers the message; F12 still minimises the window, and a modifier alone (the
// Alt of Alt+Tab) answers nothing
bool answered()
{
  if ((mouse.left && !prevmouse.left) || (mouse.right && !prevmouse.right))
    return true;
  for (int key = 1; key < keycount; ++key)
    if (key != key_f12 && !ismodifierkey(key) && keypressed(key))
      return true;
  return false;
}

// one white line centred across the screen; a reason too long for it gets smaller cells
void drawline(const char *text, int y)
{
  const int length = int(strlen(text));
  const int size = length > screencolumns ? screenwidth / length : linesize;
  // the reason comes from the system, so it goes through "/s": a "/" in it is no escape
  drawtext("/s", screenwidth / 2 | aligncentre, y, size, 1.0f, 1.0f, 1.0f, 1.0f, text);
}

void drawmessage(const char *reason)
{
  drawline("Cannot save hwconfig.cfg:", 144);
  drawline(reason, 168);
  drawline("Your choices were not stored.", 216);
  drawline("Check that the folder is writable and", 240);
  drawline("the disk has room, then try again.", 264);
  drawline("Press a key or click to close.", 312);
}

}  // namespace

void showsavefailure(const char *reason)
{
  if (quitbysignal())
    return;  // a logout waits for no one
  framecap = waitingframerate;
  windowinfo.quit = 0;  // the close button that ended the screen; pressed again, it ends this
  numofmenuitems = 0;   // the screen's items are gone: a key or a click only answers
  while (windowinfo.graphics && !windowinfo.quit) {
    if (!beginframe() || answered())
      return;
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    setuptextdisplay();
    drawmessage(reason);
    endframe(1);
  }
}
