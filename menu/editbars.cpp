// Colour edit bars: horizontal sliders that edit a float from 0.0 to 1.0 by dragging, drawn as
// a ramp from black to the bar's colour with a grey marker at the value.
#include "menu/menu.h"

#include "platform/platform.h"

#include <GL/gl.h>
#include <algorithm>
#include <cmath>

editbarrecord editbar[maxeditbars];
int32_t numofeditbars;

// the bars in use, never more than the table holds
static int barsinuse()
{
  return std::clamp(numofeditbars, 0, maxeditbars);
}

static bool insidebar(const editbarrecord &bar, int x, int y)
{
  return bar.x <= x && x < bar.x + bar.width && bar.y <= y && y < bar.y + bar.height;
}

float editbarvalue(const editbarrecord &bar, int x, bool snap)
{
  float value = float(x - bar.x) / float(bar.width);
  if (snap)  // to the nearest eighth; half-way goes up
    value = float(std::floor(double(value) / 0.125 + 0.5) * 0.125);
  return value;
}

void checkeditbars()
{
  if (!mouse.left)
    return;
  const int count = barsinuse();
  for (int i = 0; i < count; ++i) {
    if (!editbar[i].value || !insidebar(editbar[i], mouse.x, mouse.y))
      continue;  // a bar bound to no variable has nothing to set
    float value = editbarvalue(editbar[i], mouse.x, keyboard[key_lctrl] != 0);
    *editbar[i].value = value;
    // shift makes a grey: every bar in use takes the same value
    if (keyboard[key_lshift])
      for (int j = 0; j < count; ++j)
        if (editbar[j].value)
          *editbar[j].value = value;
  }
}

// a corner in virtual pixels, on the plane the 2-D set-up shows as the 640x480 screen, in its
// own colour: GL's emulation on the web takes a vertex's colour only from its own glColor
static void corner(float x, float y, const GLfloat colour[3])
{
  const GLfloat vertex[3] = {(x - 320.0f) / 320.0f, (240.0f - y) / 320.0f, -1.0f};
  glColor3fv(colour);
  glVertex3fv(vertex);
}

static void drawbar(const editbarrecord &bar)
{
  static const GLfloat black[3] = {0, 0, 0}, grey[3] = {0.5f, 0.5f, 0.5f};
  const float left = float(bar.x), right = float(bar.x + bar.width);
  const float top = float(bar.y), bottom = float(bar.y + bar.height);
  corner(left, top, black);
  corner(right, top, &bar.red);
  corner(right, bottom, &bar.red);
  corner(left, bottom, black);

  if (!bar.value)
    return;  // no variable: the ramp alone
  const float marker = left + float(bar.width) * *bar.value;
  corner(marker - 2.5f, top - 2.5f, grey);
  corner(marker + 2.5f, top - 2.5f, grey);
  corner(marker + 2.5f, bottom + 2.5f, grey);
  corner(marker - 2.5f, bottom + 2.5f, grey);
}

void rendereditbars()
{
  glDisable(GL_TEXTURE_2D);
  glBegin(GL_QUADS);
  const int count = barsinuse();
  for (int i = 0; i < count; ++i)
    drawbar(editbar[i]);
  glEnd();
  glEnable(GL_TEXTURE_2D);
}
