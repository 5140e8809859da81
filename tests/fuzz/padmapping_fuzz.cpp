// Fuzz target: any bytes as gamepad mapping lines, each added or refused with a reason, and as one
// line's controls, which then read a pad that has every control, each pressed or at an end, within
// the named ranges.
#include "engine.h"
#include "platform/padlayout.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

static void quiet(const char *) {}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
  const std::string text(reinterpret_cast<const char *>(data), size);
  setmessagecallback(quiet);
  addpadmappings(text.c_str(), "fuzz");
  padlayout layout;
  if (parsepadcontrols(text.c_str(), layout))
    return 0;
  gamepadstate pad{gamepadaxes, gamepadbuttons, gamepadhats, {}, {1, 1, 1, 1}, {hatup | hatright}};
  for (int axis = 0; axis < gamepadaxes; ++axis)
    pad.axis[axis] = axis % 2 ? 32767 : -32768;
  namedpadstate named;
  readnamedpad(layout, pad, ~0u, named);
  for (int axis = 0; axis < namedpadaxes; ++axis)
    if (!(named.axis[axis] >= (axis < padlefttrigger ? -1 : 0) && named.axis[axis] <= 1))
      abort();
  return 0;
}
