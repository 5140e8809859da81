// Mapping lines: the controls of a line ("south:b0,leftx:a0,dpadup:h0.1|-a7") read into a layout
// field by field, within the line's length; any bad field refuses the whole line with the reason.
#include "platform/padlayout.h"

#include <algorithm>
#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstring>

namespace {

// each named control's word in a line, in the order of a layout's controls
const char *const controlword[padcontrols] = {
    "south",     "east",       "west",   "north",    "leftshoulder", "rightshoulder", "back",
    "start",     "leftstick",  "rightstick", "dpadup", "dpaddown",   "dpadleft",      "dpadright",
    "leftx",     "lefty",      "rightx", "righty",   "lefttrigger",  "righttrigger"};
constexpr int shownbytes = 40;  // of a bad field, quoted in the reason

char reason[160];

const char *refuse(const char *format, ...) __attribute__((format(printf, 1, 2)));
const char *refuse(const char *format, ...)
{
  va_list args;
  va_start(args, format);
  vsnprintf(reason, sizeof reason, format, args);
  va_end(args);
  return reason;
}

int shown(const char *at, const char *end)
{
  return int(std::min<std::ptrdiff_t>(end - at, shownbytes));
}

// where c first stands between at and end, else end
const char *findbyte(const char *at, const char *end, char c)
{
  const void *found = memchr(at, c, size_t(end - at));
  return found ? static_cast<const char *>(found) : end;
}

int findcontrol(const char *at, const char *end)
{
  for (int control = 0; control < padcontrols; ++control)
    if (strlen(controlword[control]) == size_t(end - at) &&
        memcmp(controlword[control], at, size_t(end - at)) == 0)
      return control;
  return -1;
}

bool isstick(int control)
{
  return control >= namedpadbuttons + padleftx && control <= namedpadbuttons + padrighty;
}

// one or two digits naming one of count things
bool readindex(const char *&at, const char *end, int count, uint8_t &index)
{
  int value = 0, digits = 0;
  for (; at < end && *at >= '0' && *at <= '9' && digits < 3; ++at, ++digits)
    value = value * 10 + (*at - '0');
  index = uint8_t(value);
  return digits >= 1 && digits <= 2 && value < count;
}

bool readhat(const char *at, const char *end, padsource &source)
{
  uint8_t bit;
  if (!readindex(at, end, gamepadhats, source.index) || at == end || *at++ != '.' ||
      !readindex(at, end, hatleft + 1, bit) || at != end)
    return false;
  source.kind = padhatsource;
  source.hatbit = bit;
  return bit == hatup || bit == hatright || bit == hatdown || bit == hatleft;
}

// bN, hN.D, aN, +aN or -aN, the axes optionally followed by ~
bool readsource(const char *at, const char *end, padsource &source)
{
  source = {};
  const char sign = at < end && (*at == '+' || *at == '-') ? *at++ : 0;
  if (at == end)
    return false;
  const char kind = *at++;
  if (kind == 'b' && !sign) {
    source.kind = padbuttonsource;
    return readindex(at, end, gamepadbuttons, source.index) && at == end;
  }
  if (kind == 'h' && !sign)
    return readhat(at, end, source);
  if (kind != 'a' || !readindex(at, end, gamepadaxes, source.index))
    return false;
  source.kind = sign == '+' ? padpositivesource : sign == '-' ? padnegativesource : padaxissource;
  if (at < end && *at == '~') {
    source.inverted = 1;
    ++at;
  }
  return at == end;
}

// control:source or control:source|source
const char *readfield(const char *at, const char *end, padlayout &layout, bool *given)
{
  const char *colon = findbyte(at, end, ':');
  if (colon == end)
    return refuse("\"%.*s\" has no ':'", shown(at, end), at);
  const int control = findcontrol(at, colon);
  if (control < 0)
    return refuse("no such control \"%.*s\"", shown(at, colon), at);
  if (given[control])
    return refuse("%s given twice", controlword[control]);
  given[control] = true;
  padsource *source = layout.source[control];
  for (const char *from = colon + 1, *to = from;; from = to + 1) {
    to = findbyte(from, end, '|');
    if (source == layout.source[control] + padsourcesper)
      return refuse("%s has more than %d sources", controlword[control], padsourcesper);
    if (!readsource(from, to, *source++))
      return refuse("bad source \"%.*s\" for %s", shown(from, to), from, controlword[control]);
    if (to == end)
      break;
  }
  if (isstick(control) && (layout.source[control][0].kind != padaxissource ||
                           layout.source[control][1].kind != padnosource))
    return refuse("%s takes one whole axis", controlword[control]);
  return nullptr;
}

}  // namespace

const char *parsepadcontrols(const char *controls, padlayout &layout)
{
  layout = {};
  bool given[padcontrols] = {};
  const size_t length = strnlen(controls, maxpadmappinglength + 1);
  if (length > size_t(maxpadmappinglength))
    return refuse("longer than %d bytes", maxpadmappinglength);
  int mapped = 0;
  for (const char *at = controls, *end = controls + length; at < end;) {
    const char *comma = findbyte(at, end, ',');
    if (comma > at) {  // an empty field, as after a last comma, is passed over
      if (const char *why = readfield(at, comma, layout, given))
        return why;
      ++mapped;
    }
    at = comma < end ? comma + 1 : end;
  }
  return mapped ? nullptr : "maps no control";
}
