// The input queue: key and button changes drained from the platform's events, handed out to the
// polls so that no press falls between two frames.
#include "platform/platform.h"

#include <cstring>

static struct {
  int16_t code;
  uint8_t held;
} waitinginput[maxwaitinginput];
static int numofwaitinginput;
static uint16_t waitingchanges[inputcodes];  // per code, its changes still in the queue
static uint8_t shown[inputcodes];            // per code, what the polls read last

void queueinput(int code, int held)
{
  if (code <= 0 || code >= inputcodes || numofwaitinginput == maxwaitinginput)
    return;  // an unknown code, or a full queue: the polled state stands
  waitinginput[numofwaitinginput++] = {int16_t(code), uint8_t(held != 0)};
  ++waitingchanges[code];
}

void handoutinput()
{
  uint8_t changed[inputcodes] = {};
  int taken = 0;
  for (; taken < numofwaitinginput; ++taken) {
    const auto &change = waitinginput[taken];
    if (shown[change.code] != change.held) {
      if (changed[change.code])
        break;  // a press would vanish, or two would merge into one
      changed[change.code] = 1;
      shown[change.code] = change.held;
    }
    --waitingchanges[change.code];  // a repeat of what is shown changes nothing
  }
  numofwaitinginput -= taken;
  memmove(waitinginput, waitinginput + taken, size_t(numofwaitinginput) * sizeof *waitinginput);
}

int inputstate(int code, int polled)
{
  if (code < 0 || code >= inputcodes)
    return polled != 0;
  if (!waitingchanges[code])
    shown[code] = polled != 0;
  return shown[code];
}
