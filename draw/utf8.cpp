// UTF-8, a character at a time: the decoder the text and the text field read with, the encoder
// typed characters go through, and the counts and cuts that never split a character.
#include "draw/draw.h"

// the bytes a sequence starting with lead takes; 0 for a byte none starts with: a continuation
// byte, C0 and C1 (which begin only longer forms of ASCII) and F5 to FF (past U+10FFFF)
static int sequencelength(unsigned char lead)
{
  if (lead < 0x80)
    return 1;
  return lead < 0xC2 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 0;
}

static bool continuation(unsigned char byte)
{
  return (byte & 0xC0) == 0x80;
}

// the valid ranges of the second byte after E0, ED, F0 and F4 keep out overlong forms, the
// surrogates and everything past U+10FFFF
static bool secondbyteallowed(unsigned char lead, unsigned char second)
{
  switch (lead) {
  case 0xE0: return second >= 0xA0;
  case 0xED: return second < 0xA0;
  case 0xF0: return second >= 0x90;
  case 0xF4: return second < 0x90;
  default: return true;
  }
}

int decodeutf8(const char *text, size_t room, int *length)
{
  if (length)
    *length = room > 0;
  if (room == 0)
    return 0;
  const auto *bytes = reinterpret_cast<const unsigned char *>(text);
  const int needed = sequencelength(bytes[0]);
  if (needed <= 1)
    return needed == 1 ? bytes[0] : replacementcharacter;
  // the longest valid start of a sequence is one invalid character; reading stops at the first
  // byte that does not continue it, so a terminator is never read past
  int taken = 1;
  while (taken < needed && size_t(taken) < room && continuation(bytes[taken]) &&
         (taken > 1 || secondbyteallowed(bytes[0], bytes[1])))
    ++taken;
  if (length)
    *length = taken;
  if (taken < needed)
    return replacementcharacter;
  int character = bytes[0] & (0x7F >> needed);
  for (int k = 1; k < needed; ++k)
    character = character << 6 | (bytes[k] & 0x3F);
  return character;
}

int encodeutf8(int character, char out[4])
{
  if (character < 0 || character > 0x10FFFF || (character >= 0xD800 && character < 0xE000))
    return 0;
  if (character < 0x80) {
    out[0] = char(character);
    return 1;
  }
  const int count = character < 0x800 ? 2 : character < 0x10000 ? 3 : 4;
  for (int k = count - 1; k > 0; --k, character >>= 6)
    out[k] = char(0x80 | (character & 0x3F));
  out[0] = char((0xF00 >> count) | character);  // the lead's marker bits, then the top bits
  return count;
}

int countcharacters(const char *text, size_t bytes)
{
  int count = 0;
  for (size_t at = 0; at < bytes; ++count) {
    int length;
    decodeutf8(text + at, bytes - at, &length);
    at += size_t(length);
  }
  return count;
}

size_t charactersbytes(const char *text, size_t bytes, int characters)
{
  size_t at = 0;
  for (int k = 0; k < characters && at < bytes; ++k) {
    int length;
    decodeutf8(text + at, bytes - at, &length);
    at += size_t(length);
  }
  return at;
}

size_t wholecharacters(const char *text, size_t bytes)
{
  size_t at = 0;
  while (at < bytes) {
    int length;
    decodeutf8(text + at, bytes - at, &length);
    // a sequence that is right so far but which the end cuts short
    const int needed = sequencelength(static_cast<unsigned char>(text[at]));
    if (at + size_t(length) == bytes && length < needed)
      break;
    at += size_t(length);
  }
  return at;
}
