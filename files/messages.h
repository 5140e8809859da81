// Inside the engine: the one way its rooms tell the player something, through the callback a
// program sets with setmessagecallback (files.h), or to standard error.
#pragma once

// formats one line, as printf does, and hands it to the message callback
void reportmessage(const char *format, ...) __attribute__((format(printf, 1, 2)));
