// The world as the player sees it: the textured floor, found where the player's texture detail
// says, and the gems turning above it, in perspective from the player's eye.
#include "demo.h"

#include <GL/gl.h>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <string>

namespace {

constexpr const char *bundledfloor = "floor.bmp";  // installed with the engine's data
constexpr float floorrepeat = 4;       // floor units the texture spans before it repeats
constexpr float gemheight = 0.7f;      // of a gem's centre above the floor
constexpr float gemradius = 0.3f;      // of its waist
constexpr float gemhalfheight = 0.45f;
constexpr float gemturnspeed = 1.5f;   // radians a second

// the game folder's own floor; the loaders choose "texturelow" when the player asked for low
// detail and it holds the file
bool loadgamefloor()
{
  loadtexturetga(floorslot, "floor.tga", 1, 0);
  if (textureloaderror())
    loadtexturepng(floorslot, "floor.png", 1);
  if (textureloaderror())
    loadtexturebmp(floorslot, "floor.bmp", 1);
  return !textureloaderror();
}

// the floor installed with the engine's data; null when it was loaded, else why not
const char *loadbundledfloor()
{
  filebytes file;
  if (!readdatafile(bundledfloor, file))
    return "not found";
  loadtexturebmpbytes(floorslot, file.data, file.size, 1);
  return textureloaderror();
}

// the camera's right, up and back axes in the world, from the player's heading and pitch
void cameraaxes(float axes[9])
{
  const float ch = std::cos(player.heading), sh = std::sin(player.heading);
  const float cp = std::cos(player.pitch), sp = std::sin(player.pitch);
  const float right[3] = {ch, 0, -sh}, up[3] = {sp * sh, cp, sp * ch};
  const float back[3] = {sh * cp, -sp, ch * cp};
  for (int i = 0; i < 3; ++i) {
    axes[i] = right[i];
    axes[3 + i] = up[i];
    axes[6 + i] = back[i];
  }
}

void drawfloor()
{
  if (texture[floorslot].width > 0) {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture[floorslot].glname);
    glColor3f(1, 1, 1);
  } else {
    glDisable(GL_TEXTURE_2D);
    glColor3f(0.5f, 0.5f, 0.5f);
  }
  const float repeats = 2 * floorhalf / floorrepeat;
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0), glVertex3f(-floorhalf, 0, -floorhalf);
  glTexCoord2f(0, repeats), glVertex3f(-floorhalf, 0, floorhalf);
  glTexCoord2f(repeats, repeats), glVertex3f(floorhalf, 0, floorhalf);
  glTexCoord2f(repeats, 0), glVertex3f(floorhalf, 0, -floorhalf);
  glEnd();
}

// an octahedron turning about its upright axis and bobbing, each gem at its own phase; the upper
// faces are lit and every other face darker, so that its facets show without lighting
void drawgem(const gemrecord &g, int which)
{
  const float angle = playseconds * gemturnspeed + float(which);
  const float c = std::cos(angle), s = std::sin(angle);
  const float place[3] = {g.x, gemheight + 0.1f * std::sin(2 * angle), g.z};
  const float axes[9] = {c, 0, -s, 0, 1, 0, s, 0, c};
  const float waist[4][3] = {{gemradius, 0, 0}, {0, 0, gemradius}, {-gemradius, 0, 0},
                             {0, 0, -gemradius}};
  glPushMatrix();
  setupobjectrender(place, axes);
  glDisable(GL_TEXTURE_2D);
  glBegin(GL_TRIANGLES);
  for (int face = 0; face < 8; ++face) {
    const bool upper = face < 4;
    const float shade = (upper ? 1.0f : 0.55f) * (face % 2 ? 0.8f : 1.0f);
    const float tip[3] = {0, upper ? gemhalfheight : -gemhalfheight, 0};
    // a colour for every corner: GL's emulation on the web takes none from the corner before
    for (const float *at : {waist[face % 4], waist[(face + 1) % 4], tip}) {
      glColor3f(g.red * shade, g.green * shade, g.blue * shade);
      glVertex3fv(at);
    }
  }
  glEnd();
  glPopMatrix();
}

}  // namespace

// read as bytes: a loader given the path would look inside its own folder first
bool readdatafile(const char *name, filebytes &file)
{
  const std::string path = finddatafile(name);
  return !path.empty() && readfilebytes(path.c_str(), file);
}

void setupfloor()
{
  if (loadgamefloor())
    return;
  if (const char *why = loadbundledfloor())
    fprintf(stderr, "tavrel-demo: no floor texture (%s: %s); the floor is plain grey\n",
            bundledfloor, why);
}

void drawworld()
{
  setupperspectiveviewport(0, 0, 640, 480, 0.05f, 100);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glDisable(GL_BLEND);
  float axes[9];
  cameraaxes(axes);
  const float eye[3] = {player.x, eyeheight, player.z};
  setupviewpoint(eye, axes);
  drawfloor();
  for (int i = 0; i < numofgems; ++i)
    if (!gem[i].collected)
      drawgem(gem[i], i);
}
