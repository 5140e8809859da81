// The GL vertex of a virtual-screen point under the 2-D set-up in force, shared by the text and
// the shapes so that both follow whichever set-up the game chose last. Internal to draw/.
#pragma once

#include <GL/gl.h>

constexpr int virtualscreenwidth = 640;
constexpr int virtualscreenheight = 480;

// 1 after setupscreen2d, whose projection takes virtual pixels as they are; 0 after
// setuptextdisplay, whose projection shows the virtual screen on the plane z = -1
extern int screen2dpixels;

inline void virtualvertex(double vx, double vy)
{
  if (screen2dpixels)
    glVertex2f(float(vx), float(vy));
  else
    glVertex3f(float((vx - 320.0) / 320.0), float((240.0 - vy) / 320.0), -1.0f);
}
