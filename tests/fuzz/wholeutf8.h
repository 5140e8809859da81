// For the text fuzz targets: true when every character of the first bytes of text is valid and
// whole UTF-8, a text no cut has split: each encodes back to the very bytes it was read from.
#pragma once

#include "engine.h"

#include <cstring>

inline bool wholeutf8(const char *text, size_t bytes)
{
  for (size_t at = 0; at < bytes;) {
    int length;
    char again[4];
    const int character = decodeutf8(text + at, bytes - at, &length);
    if (encodeutf8(character, again) != length || memcmp(again, text + at, size_t(length)) != 0)
      return false;
    at += size_t(length);
  }
  return true;
}
