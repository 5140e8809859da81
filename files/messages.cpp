// The engine's messages: each line formatted whole and handed to the program's callback, or
// written to standard error with its newline when the program set none.
#include "files/files.h"
#include "files/messages.h"

#include <cstdarg>
#include <cstdio>
#include <string>

static messagecallback messageto;

void setmessagecallback(messagecallback callback)
{
  messageto = callback;
}

void reportmessage(const char *format, ...)
{
  va_list args, again;
  va_start(args, format);
  va_copy(again, args);
  const int length = vsnprintf(nullptr, 0, format, args);
  std::string line(length > 0 ? size_t(length) : 0, '\0');
  vsnprintf(&line[0], line.size() + 1, format, again);  // a string always has room for its zero
  va_end(again);
  va_end(args);
  if (messageto)
    messageto(line.c_str());
  else
    fprintf(stderr, "%s\n", line.c_str());
}
