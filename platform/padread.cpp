// Reading a pad through its layout: each named control from its first source the pad has, the
// buttons pressed past half way, the triggers from 0 to 1 and the sticks from -1 to 1, each past
// its dead zone.
#include "platform/padlayout.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float axisfull = 32767;

bool present(const padsource &source, const gamepadstate &pad)
{
  switch (source.kind) {
  case padnosource:
    return false;
  case padbuttonsource:
    return source.index < pad.numofbuttons;
  case padhatsource:
    return source.index < pad.numofhats;
  default:
    return source.index < pad.numofaxes;
  }
}

// the first source of a control that the pad has; null when it has none
const padsource *firstpresent(const padsource (&sources)[padsourcesper], const gamepadstate &pad)
{
  for (const padsource &source : sources)
    if (present(source, pad))
      return &source;
  return nullptr;
}

// an axis as read, or turned round (~ keeps -32768..32767 within its range)
float axisvalue(const padsource &source, const gamepadstate &pad)
{
  const int32_t value = pad.axis[source.index];
  return float(source.inverted ? ~value : value);
}

// how far a control is pressed, from 0 to 1
float pressed(const padsource (&sources)[padsourcesper], const gamepadstate &pad, uint32_t moved)
{
  const padsource *source = firstpresent(sources, pad);
  if (!source)
    return 0;
  switch (source->kind) {
  case padbuttonsource:
    return pad.button[source->index] ? 1 : 0;
  case padhatsource:
    return (pad.hat[source->index] & source->hatbit) ? 1 : 0;
  case padpositivesource:
    return std::clamp(axisvalue(*source, pad) / axisfull, 0.0f, 1.0f);
  case padnegativesource:
    return std::clamp(-axisvalue(*source, pad) / axisfull, 0.0f, 1.0f);
  default:  // a whole axis, released at its lowest
    if (!(moved >> source->index & 1))
      return 0;
    return std::clamp((axisvalue(*source, pad) + 32768) / 65535, 0.0f, 1.0f);
  }
}

float stickaxis(const padsource (&sources)[padsourcesper], const gamepadstate &pad)
{
  const padsource *source = firstpresent(sources, pad);
  return source ? std::clamp(axisvalue(*source, pad) / axisfull, -1.0f, 1.0f) : 0;
}

// 0 up to the zone's edge, then rising to 1 at full
float pastzone(float amount, float zone)
{
  return amount <= zone ? 0 : std::min(1.0f, (amount - zone) / (1 - zone));
}

// the zone round the stick's centre, so that a diagonal keeps its direction
void stickdeadzone(float &x, float &y)
{
  const float length = std::hypot(x, y);
  const float kept = pastzone(length, padstickdeadzone);
  x = kept > 0 ? x * kept / length : 0;
  y = kept > 0 ? y * kept / length : 0;
}

}  // namespace

int padlayoutfits(const padlayout &layout, const gamepadstate &pad)
{
  for (const auto &sources : layout.source)
    if (sources[0].kind != padnosource && !firstpresent(sources, pad))
      return 0;
  return 1;
}

void readnamedpad(const padlayout &layout, const gamepadstate &pad, uint32_t movedaxes,
                  namedpadstate &out)
{
  for (int button = 0; button < namedpadbuttons; ++button)
    out.button[button] = pressed(layout.source[button], pad, movedaxes) >= 0.5f;
  for (int x : {padleftx, padrightx}) {
    out.axis[x] = stickaxis(layout.source[namedpadbuttons + x], pad);
    out.axis[x + 1] = stickaxis(layout.source[namedpadbuttons + x + 1], pad);
    stickdeadzone(out.axis[x], out.axis[x + 1]);
  }
  for (int trigger : {padlefttrigger, padrighttrigger})
    out.axis[trigger] =
        pastzone(pressed(layout.source[namedpadbuttons + trigger], pad, movedaxes),
                 padtriggerdeadzone);
}
