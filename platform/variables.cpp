// The engine's choices of the environment variables the platform reads, set only around the
// calls that read them.
#include "platform/variables.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct variablechoice {
  char variable[48];
  char value[16];
};
variablechoice platformvariable[maxplatformvariables];
int numofplatformvariables;

}  // namespace

void chooseplatformvariable(const char *variable, const char *value)
{
  int at = 0;
  while (at < numofplatformvariables && strcmp(platformvariable[at].variable, variable) != 0)
    ++at;
  if (!value) {
    if (at < numofplatformvariables)
      platformvariable[at] = platformvariable[--numofplatformvariables];
    return;
  }
  if (at == maxplatformvariables || strlen(variable) >= sizeof platformvariable[at].variable ||
      strlen(value) >= sizeof platformvariable[at].value)
    return;  // the engine's own few names and short values always fit
  snprintf(platformvariable[at].variable, sizeof platformvariable[at].variable, "%s", variable);
  snprintf(platformvariable[at].value, sizeof platformvariable[at].value, "%s", value);
  numofplatformvariables += at == numofplatformvariables;
}

platformvariablesinplace::platformvariablesinplace()
{
  for (int i = 0; i < numofplatformvariables; ++i) {
    const char *current = getenv(platformvariable[i].variable);
    had[i] = current != nullptr;
    before[i] = current ? current : "";
    setenv(platformvariable[i].variable, platformvariable[i].value, 1);
  }
}

platformvariablesinplace::~platformvariablesinplace()
{
  for (int i = numofplatformvariables - 1; i >= 0; --i)
    if (had[i])
      setenv(platformvariable[i].variable, before[i].c_str(), 1);
    else
      unsetenv(platformvariable[i].variable);
}
