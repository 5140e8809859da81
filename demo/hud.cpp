// The text over the world, in the interface colour the player chose in the set-up utility and only
// while the interface is on: the score, a message that shows for a few seconds, the frame rate
// when asked for, and the keys.
#include "demo.h"

#include <algorithm>
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

void drawline(const char *text, int x, int y, int size)
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
  char line[32];
  snprintf(line, sizeof line, "Score %d of %d", int(score), numofgems);
  drawline(line, 8, 8, 16);
  if (messageleft > 0)
    drawline(message, 320 | aligncentre, 40, messagesize());
  if (showframerate) {
    snprintf(line, sizeof line, "%.0f fps", double(framerate));
    drawline(line, 632 | alignend, 8, 16);
  }
  if (!paused)  // the pause menu names its own keys there
    drawline(mouselocked ? heldmousekeys : freemousekeys, 320 | aligncentre, 464, 8);
}
