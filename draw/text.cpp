// Formatted 2-D text and the mouse pointer: the "/" escapes into the two fixed buffers, the
// placement flags and the measure of a text, the quads cut from the font in slot 511 for each
// UTF-8 character, and the GL state they rely on.
#include "draw/draw.h"

#include "draw/screen2d.h"
#include "platform/platform.h"
#include "texture/texture.h"

#include <GL/gl.h>
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>

char textstring2[textbuffersize];
char textstring3[textbuffersize];
int screen2dpixels;

static constexpr float halftexel = 1.0f / 512.0f;  // keeps every sample inside its cell

void setuptextdisplay()
{
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDisable(GL_DEPTH_TEST);
  glViewport(0, 0, windowinfo.width, windowinfo.height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glFrustum(-1.0, 1.0, -0.75, 0.75, 1.0, 1000.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  screen2dpixels = 0;
}

// the "I" escape: commas between groups of three digits; the millions group is never split
static void formatgrouped(int v)
{
  if (v > 999999)
    snprintf(textstring3, textbuffersize, "%d,%.3d,%.3d", v / 1000000, v / 1000 % 1000, v % 1000);
  else if (v > 999)
    snprintf(textstring3, textbuffersize, "%d,%.3d", v / 1000, v % 1000);
  else
    snprintf(textstring3, textbuffersize, "%d", v);
}

// "/" then '-' (pad on the right), '0' (pad with zeros), a field width and ".precision", as
// printf takes them, before i, u, x, f or s; each number is held to what the buffers hold, so
// that no padding or precision can run past them
struct conversionform {
  bool left = false, zeros = false;
  int width = 0, precision = -1;  // -1: none, as printf's own default
};

static const char *readnumber(const char *at, int &value)
{
  value = 0;
  for (; *at >= '0' && *at <= '9'; ++at)
    value = std::min(value * 10 + (*at - '0'), textbuffersize - 1);
  return at;
}

// the form after "/", and the characters it takes: 0 without a digit or a ".", since until
// this form "/-" was an unknown escape
static int readform(const char *escape, conversionform &form)
{
  const char *at = escape;
  form.left = *at == '-';
  at += form.left;
  form.zeros = *at == '0';
  const char *digits = at;
  at = readnumber(at, form.width);
  if (*at == '.')
    at = readnumber(at + 1, form.precision);
  else if (at == digits)
    return 0;
  return int(at - escape);
}

// printf's conversion for a value escape; null for any other letter
static const char *specifier(char letter)
{
  switch (letter) {
  case 'i': return "d";
  case 'u': return "u";
  case 'x': return "X";
  case 'f': return "f";
  case 's': return "s";  // printed by convertstring
  default: return nullptr;
  }
}

// a string by its form into textstring3, its width and precision counted in characters (as
// printf counts bytes); read no further than the buffer holds, and cut between characters there
static void convertstring(const char *s, const conversionform &form)
{
  size_t bytes = s ? strnlen(s, textbuffersize - 1) : 0;
  if (bytes == textbuffersize - 1)
    bytes = wholecharacters(s, bytes);  // the string may go on
  if (form.precision >= 0)
    bytes = charactersbytes(s, bytes, form.precision);
  const int characters = countcharacters(s, bytes);
  const size_t padding =
      std::min(size_t(std::max(form.width - characters, 0)), textbuffersize - 1 - bytes);
  char *text = textstring3 + (form.left ? 0 : padding);
  memset(form.left ? textstring3 + bytes : textstring3, ' ', padding);
  if (bytes)
    memcpy(text, s, bytes);
  textstring3[bytes + padding] = '\0';
}

// prints a value conversion by its form into textstring3; false when letter is no such conversion
static bool convertvalue(char letter, const conversionform &form, va_list *args)
{
  if (!specifier(letter))
    return false;
  if (letter == 's') {
    convertstring(va_arg(*args, const char *), form);
    return true;
  }
  char format[16];
  snprintf(format, sizeof format, "%%%s%s*.*%s", form.left ? "-" : "", form.zeros ? "0" : "",
           specifier(letter));
  const int width = form.width, precision = form.precision;
  char *out = textstring3;
  switch (letter) {
  case 'i': snprintf(out, textbuffersize, format, width, precision, va_arg(*args, int)); break;
  case 'f': snprintf(out, textbuffersize, format, width, precision, va_arg(*args, double)); break;
  default: snprintf(out, textbuffersize, format, width, precision, va_arg(*args, unsigned));
  }
  return true;
}

// prints the escape that follows a "/" into textstring3; the characters it takes after the "/",
// 0 when it is no escape
static int convert(const char *escape, va_list *args)
{
  conversionform form;
  const int formlength = readform(escape, form);
  const char letter = escape[formlength];
  if (formlength == 0) {
    switch (letter) {
    case '/': snprintf(textstring3, textbuffersize, "/"); return 1;
    case 'I': formatgrouped(va_arg(*args, int)); return 1;
    case 'c':  // a code whose low 8 bits are 0 ends the string at once: nothing is appended
      textstring3[0] = char(va_arg(*args, int));
      textstring3[1] = '\0';
      return 1;
    }
  }
  return convertvalue(letter, form, args) ? formlength + 1 : 0;
}

// appends textstring3 at n, as many of its characters as textstring2 still has room for; the
// new length
static int appendconversion(int n)
{
  const size_t room = size_t(textbuffersize - 1 - n);
  size_t length = strnlen(textstring3, textbuffersize);
  if (length > room)
    length = wholecharacters(textstring3, room);
  memcpy(textstring2 + n, textstring3, length);
  return n + int(length);
}

int formattext(const char *text, va_list args)
{
  va_list pending;
  va_copy(pending, args);  // a copy whose address the conversions can share
  int n = 0;
  for (size_t i = 0; text && text[i] != '\0' && n < textoutputlimit;) {
    if (text[i] != '/') {  // a whole character, which the buffer has room for past the limit
      int length;
      decodeutf8(text + i, 4, &length);
      memcpy(textstring2 + n, text + i, size_t(length));
      n += length;
      i += size_t(length);
    } else if (const int taken = convert(text + i + 1, &pending)) {
      n = appendconversion(n);
      i += 1 + size_t(taken);
    } else {
      i += 1;  // an unknown escape or a "/" at the very end: only the "/" is dropped
    }
  }
  va_end(pending);
  textstring2[n] = '\0';
  return n;
}

int aligncoordinate(int value, int count, int size)
{
  // the flags stay in the value while it is adjusted; 64 bits, so that no product overflows
  int64_t v = value;
  const int64_t extent = int64_t(count) * size;
  if (uint64_t(v) & aligncentre)
    v -= extent / 2;
  if (uint64_t(v) & alignend)
    v -= extent;
  return int(uint64_t(v) & 0xFFFF);
}

// a square of the font texture from (s0, t0) to (s1, t1) on a virtual square, one quad, the colour
// given before every vertex
static void fontquad(double left, double top, double side, float s0, float t0, float s1, float t1,
                     const float *rgba)
{
  const double corner[4][2] = {{left, top}, {left + side, top}, {left + side, top + side},
                               {left, top + side}};
  const float texel[4][2] = {{s0, t0}, {s1, t0}, {s1, t1}, {s0, t1}};
  glBegin(GL_QUADS);
  for (int i = 0; i < 4; ++i) {
    glColor4fv(rgba);
    glTexCoord2f(texel[i][0], texel[i][1]);
    virtualvertex(corner[i][0], corner[i][1]);
  }
  glEnd();
}

int fontcellof(int character)
{
  const bool ascii = character >= 0 && character < 128;
  return ascii || (character >= 0xA0 && character <= 0xFF) ? character : replacementcell;
}

// one font cell as its own quad
static void drawglyph(int cell, double left, double top, double size, const float *rgba)
{
  const int column = cell & 15, row = cell >> 4;
  const float s0 = float(fontcell * column) / fontwidth + halftexel;
  const float s1 = float(fontcell * column + fontcell) / fontwidth - halftexel;
  const float t0 = float(fontcell * row) / fontheight + halftexel;
  const float t1 = float(fontcell * row + fontcell) / fontheight - halftexel;
  fontquad(left, top, size, s0, t0, s1, t1, rgba);
}

// the signature is fixed by its callers: va_start only needs to know where the named arguments
// end, which a float as the last of them does not change on any ABI the engine builds for
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wvarargs"
#endif
void drawtext(const char *text, int x, int y, int size, float red, float green, float blue,
              float alpha, ...)
{
  va_list args;
  va_start(args, alpha);
  const int n = formattext(text, args);
  va_end(args);
  x = aligncoordinate(x, countcharacters(textstring2, size_t(n)), size);
  y = aligncoordinate(y, 1, size);
  const float rgba[4] = {red, green, blue, alpha};
  glBindTexture(GL_TEXTURE_2D, texture[fontslot].glname);
  for (int at = 0, k = 0; at < n; ++k) {
    int length;
    const int character = decodeutf8(textstring2 + at, size_t(n - at), &length);
    drawglyph(fontcellof(character), x + double(k) * size, y, size, rgba);
    at += length;
  }
}
#if defined(__clang__)
#pragma clang diagnostic pop
#endif

int measuretext(int *width, int *height, const char *text, int size, ...)
{
  va_list args;
  va_start(args, size);
  const int n = formattext(text, args);
  va_end(args);
  // drawtext advances by size for every character, newlines and replacement glyphs alike, on
  // one row
  const int characters = countcharacters(textstring2, size_t(n));
  if (width)
    *width = int(std::clamp<int64_t>(int64_t(characters) * size, INT_MIN, INT_MAX));
  if (height)
    *height = n ? size : 0;
  return characters;
}

void drawmousecursor(float red, float green, float blue, float alpha)
{
  // the 32x32 texels of the top-left block, half a texel inside on every side
  const float lo = halftexel, hi = 32.0f / fontwidth - halftexel;
  const float rgba[4] = {red, green, blue, alpha};
  glBindTexture(GL_TEXTURE_2D, texture[fontslot].glname);
  fontquad(double(mouse.x) - 16, double(mouse.y) - 16, 32, lo, lo, hi, hi, rgba);
}
