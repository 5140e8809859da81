// The interface over the world, in the colour the player chose in the set-up utility and only
// while the interface is on: the score on a dark panel, a map of the floor with the gems left and
// the player, a message that shows for a few seconds, the frame rate when asked for, and the keys.
#include "demo.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

constexpr float messageseconds = 4;
constexpr float frameratespan = 0.5f;  // seconds of frames the frame rate is averaged over
// the keys; without a held mouse the arrows are the way to look about
constexpr const char *heldmousekeys =
    "W A S D: walk   mouse: look   Tab: menu   P: screenshot   Escape: quit";
constexpr const char *freemousekeys =
    "W A S D: walk   Left, Right: turn   Tab: menu   P: screenshot   Escape: quit";

char message[96];
float messageleft;  // seconds it still shows

float framerate;
int framesmeasured;
float secondsmeasured;

constexpr float panelalpha = 0.5f;  // of the dark panels behind the score and the map
constexpr float mapleft = 536, maptop = 352, mapside = 96;  // the map, above the keys' line
constexpr float mapscale = mapside / (2 * floorhalf);        // virtual pixels a floor unit
constexpr float gemdot = 4;
constexpr float playermark = 24;  // the pointer glyph's cell, shrunk to this side

void drawhudline(const char *text, int x, int y, int size)
{
  drawtext("/s", x, y, size, config.textred, config.textgreen, config.textblue, 1.0f, text);
}

// a long message (a long name in it) in smaller cells, so that it stays on the screen
int messagesize()
{
  const int length = std::max(1, int(strlen(message)));
  return std::clamp(624 / length, 8, 16);
}

void measureframerate()
{
  ++framesmeasured;
  secondsmeasured += frametime;
  if (secondsmeasured >= frameratespan) {
    framerate = float(framesmeasured) / secondsmeasured;
    framesmeasured = 0;
    secondsmeasured = 0;
  }
}

void drawscore()
{
  char line[32];
  const int length = snprintf(line, sizeof line, "Score %d of %d", int(score), numofgems);
  drawrectangle(4, 4, float(length * 16 + 8), 24, 0, 0, 0, panelalpha);
  drawhudline(line, 8, 8, 16);
}

// the floor seen from above, -z (the way the player starts looking) up
void drawmap()
{
  const auto mapx = [](float x) { return mapleft + (x + floorhalf) * mapscale; };
  const auto mapy = [](float z) { return maptop + (z + floorhalf) * mapscale; };
  drawrectangle(mapleft, maptop, mapside, mapside, 0, 0, 0, panelalpha);
  drawrectangleoutline(mapleft, maptop, mapside, mapside, 1, config.textred, config.textgreen,
                       config.textblue, 1);
  for (const gemrecord &g : gem)
    if (!g.collected)
      drawrectangle(mapx(g.x) - gemdot / 2, mapy(g.z) - gemdot / 2, gemdot, gemdot, g.red,
                    g.green, g.blue, 1);
  // the pointer glyph's tip is its cell's centre, where the player stands, and the arrow leans a
  // sixteenth of a turn left of up: turned that much more, it points where the player looks
  const float degrees = 22.5f - player.heading * float(180 / M_PI);
  drawsprite(fontslot, 0, 0, 32, 32, mapx(player.x), mapy(player.z), playermark / 32, degrees,
             config.textred, config.textgreen, config.textblue, 1);
}

}  // namespace

void showmessage(const char *format, ...)
{
  va_list args;
  va_start(args, format);
  vsnprintf(message, sizeof message, format, args);
  va_end(args);
  messageleft = messageseconds;
}

void drawhud()
{
  messageleft -= frametime;
  measureframerate();
  if (!config.interface)
    return;  // the player chose to see the world alone
  drawscore();
  drawmap();
  if (messageleft > 0)
    drawhudline(message, 320 | aligncentre, 40, messagesize());
  if (showframerate) {
    char line[32];
    snprintf(line, sizeof line, "%.0f fps", double(framerate));
    drawhudline(line, 632 | alignend, 8, 16);
  }
  if (!paused)  // the pause menu names its own keys there
    drawhudline(mouselocked ? heldmousekeys : freemousekeys, 320 | aligncentre, 464, 8);
}
