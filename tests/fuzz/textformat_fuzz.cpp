// Fuzz target: any text with "/" escapes formatted into the two fixed buffers, its characters
// counted as drawtext and measuretext count them, and the placement of the result and of a menu
// caption by any flags, coordinates and cell size. Text and strings are any bytes, UTF-8 or not.
#include "engine.h"
#include "wholeutf8.h"

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#if !defined(__x86_64__)
#error "the arguments below rely on how x86-64 passes variadic arguments"
#endif

namespace {

// Every argument is a pointer to a terminated string. On x86-64 an escape that takes an int
// reads the low half of a pointer's slot and one that takes a double reads a slot of its own
// kind, so whatever the escapes ask for, each reads a real argument and "/s" a real string.
constexpr int maxescapes = 64;

void require(bool holds)
{
  if (!holds)
    abort();
}

int format(const char *text, ...)
{
  va_list args;
  va_start(args, text);
  const int n = formattext(text, args);
  va_end(args);
  return n;
}

template <size_t... i>
int formatwith(const char *text, const char *const *args, std::index_sequence<i...>)
{
  return format(text, args[i]...);
}

int32_t takeint(const uint8_t *&data)
{
  uint32_t v;
  memcpy(&v, data, 4);
  data += 4;
  return int32_t(v);
}

}  // namespace

// twelve bytes of x, y and size; then the text up to a zero byte, and the string "/s" shows
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
  if (size < 12)
    return 0;
  const uint8_t *end = data + size;
  const int x = takeint(data), y = takeint(data), cellsize = takeint(data);
  const uint8_t *zero = static_cast<const uint8_t *>(memchr(data, 0, size_t(end - data)));
  std::string text(data, zero ? zero : end);
  const std::string shown(zero ? zero + 1 : end, end);
  // each argument needs a "/": past the last argument the text is cut
  for (size_t at = 0, escapes = 0; (at = text.find('/', at)) != std::string::npos; ++at)
    if (++escapes > maxescapes) {
      text.resize(at);
      break;
    }

  static char blank[maxescapes];
  const char *args[maxescapes];
  for (int k = 0; k < maxescapes; ++k)
    args[k] = k % 2 ? shown.c_str() : blank + (uint32_t(x) + k) % maxescapes;  // numbers vary
  const int n = formatwith(text.c_str(), args, std::make_index_sequence<maxescapes>());
  require(n >= 0 && n < textbuffersize && strlen(textstring2) == size_t(n));
  require(memchr(textstring3, 0, textbuffersize) != nullptr);
  // cutting at the limit or at the buffers' end never splits a character: whole text and strings
  // give whole output, unless "/c" appended a byte of its own
  if (text.find("/c") == std::string::npos && wholeutf8(text.data(), text.size()) &&
      wholeutf8(shown.c_str(), strlen(shown.c_str())))
    require(wholeutf8(textstring2, size_t(n)));
  const int characters = countcharacters(textstring2, size_t(n));
  require(characters <= n && (characters > 0) == (n > 0));
  for (int coordinate : {aligncoordinate(x, characters, cellsize), aligncoordinate(y, 1, cellsize)})
    require(0 <= coordinate && coordinate <= 0xFFFF);

  numofmenuitems = 0;
  createmenuitem(text.c_str(), x, y, cellsize, 1, 1, 1);
  const menuitemrecord &item = menuitem[0];
  const size_t captionbytes = strlen(item.text);
  require(captionbytes < size_t(menutextsize) &&
          item.length == countcharacters(item.text, captionbytes));
  require(0 <= item.x && item.x <= 0xFFFF && 0 <= item.y && item.y <= 0xFFFF);
  return 0;
}
