// The input queue: key and button changes drained from the platform, each key's press with what
// it carried, handed out to the polls so that no press falls between two frames, and the wheel's
// notches and the mouse's motion counted beside them.
#include "platform/platform.h"

#include <chrono>
#include <cstring>

static struct {
  int16_t code;
  uint8_t held;
  keypressrecord press;  // what a key's press carried
} waitinginput[maxwaitinginput];
static int numofwaitinginput;
static uint16_t waitingchanges[inputcodes];  // per code, its changes still in the queue
static uint8_t shown[inputcodes];            // per code, what the polls read last
static keypressrecord handedout[keycount];   // per key, its press in the last hand-out
static uint8_t pressedinhandout[keycount];   // per key, 1 when the last hand-out pressed it

constexpr int wheelup = 4, wheeldown = 5;  // the wheel's buttons
static int turnednotches[2];               // drained since the last hand-out, up then down
static int notchesshown;                   // handed out in the last hand-out, up positive
static mousemotionstate motion;            // the mouse's own motion drained since the last poll
static int droppedmotionframes;            // hand-outs of motion still to drop
static std::chrono::steady_clock::time_point motionsettles;  // and none before this

static int wheelindex(int code)
{
  return code == buttoncode(wheelup) ? 0 : code == buttoncode(wheeldown) ? 1 : -1;
}

void queueinput(int code, int held, keypressrecord press)
{
  if (code <= 0 || code >= inputcodes)
    return;  // an unknown code
  if (const int wheel = wheelindex(code); wheel >= 0) {
    turnednotches[wheel] += held != 0;  // the platform's release of a notch says nothing more
    return;
  }
  if (numofwaitinginput == maxwaitinginput)
    return;  // a full queue: the polled state stands
  waitinginput[numofwaitinginput++] = {int16_t(code), uint8_t(held != 0), press};
  ++waitingchanges[code];
}

// a wheel button shows a press in a frame with notches and a release in the next, so a reader
// of presses sees the notches of one frame as one, and the count says how many
static void handoutnotches()
{
  notchesshown = turnednotches[0] - turnednotches[1];
  for (int wheel = 0; wheel < 2; ++wheel) {
    uint8_t &state = shown[buttoncode(wheel == 0 ? wheelup : wheeldown)];
    state = !state && turnednotches[wheel] > 0;
    turnednotches[wheel] = 0;
  }
}

void handoutinput()
{
  uint8_t changed[inputcodes] = {};  // changed in this hand-out
  uint8_t heldback[inputcodes] = {}; // has a change waiting for a later frame
  bool waiting = false;
  int kept = 0;
  memset(pressedinhandout, 0, sizeof pressedinhandout);
  for (int taken = 0; taken < numofwaitinginput; ++taken) {
    const auto change = waitinginput[taken];
    const bool changes = shown[change.code] != change.held;
    // a press would vanish or two merge into one, the order of presses or the modifiers around
    // a key would change
    if (heldback[change.code] || (changes && changed[change.code]) ||
        (waiting && (change.held || ismodifierkey(change.code)))) {
      heldback[change.code] = 1;
      waiting = true;
      waitinginput[kept++] = change;
      continue;
    }
    changed[change.code] |= changes;
    shown[change.code] = change.held;
    --waitingchanges[change.code];
    if (change.held && change.code < keycount) {
      handedout[change.code] = change.press;
      pressedinhandout[change.code] = 1;
    }
  }
  numofwaitinginput = kept;
  handoutnotches();
}

const keypressrecord *handedoutpress(int key)
{
  return key >= 0 && key < keycount && pressedinhandout[key] ? &handedout[key] : nullptr;
}

int inputstate(int code, int polled)
{
  if (code < 0 || code >= inputcodes)
    return polled != 0;
  if (!waitingchanges[code] && wheelindex(code) < 0)
    shown[code] = polled != 0;
  return shown[code];
}

int wheelnotches()
{
  return notchesshown;
}

void queuemotion(int x, int y)
{
  motion.x += x;
  motion.y += y;
}

mousemotionstate handoutmotion()
{
  const bool settling =
      droppedmotionframes > 0 || std::chrono::steady_clock::now() < motionsettles;
  const mousemotionstate since = settling ? mousemotionstate{0, 0} : motion;
  droppedmotionframes -= droppedmotionframes > 0;
  motion = {0, 0};
  return since;
}

// the platform delivers the grab's warp when it gets to it, which on a busy machine is later than
// a frame or two: the drop also lasts a settling time
void dropmotion(int frames)
{
  droppedmotionframes = frames;
  if (frames > 0)
    motionsettles = std::chrono::steady_clock::now() +
                    std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                        std::chrono::duration<double>(grabsettlingseconds));
}
