// Fuzz target: any bytes as a game's options file, read into one option of each kind; every text
// read stays terminated inside its variable.
#include "engine.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

static void quiet(const char *) {}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
  int32_t difficulty = 1;
  float volume = 0.5f;
  char name[8] = "Player";
  const gameoption options[] = {integeroption("difficulty", &difficulty),
                                numberoption("volume", &volume), textoption("name", name)};
  setmessagecallback(quiet);
  loadgameoptionsbytes(data, size, options, 3, "fuzz");
  if (memchr(name, 0, sizeof name) == nullptr)
    abort();
  return 0;
}
