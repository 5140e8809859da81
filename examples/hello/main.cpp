// hello: a window with a picture, a line of text and the pointer, on the Tavrel engine.
#include <tavrel/engine.h>

#include <cstdio>
#include <cstring>

constexpr int pictureslot = 1;
constexpr float picturewidth = 256;  // virtual pixels across, whatever the file's size

int main(int argc, char **argv)
{
  if (argc > 1 && strcmp(argv[1], "--no-window") == 0) {
    loadtexturebmp(pictureslot, "hello.bmp", 0);  // graphics are off: filled, not uploaded
    printf("hello.bmp: %dx%d\n", texture[pictureslot].width, texture[pictureslot].height);
    return texture[pictureslot].width ? 0 : 1;
  }
  if (!setupgame("Hello")) {  // hwconfig.cfg as the set-up utility stored it
    fprintf(stderr, "hello: %s\n", setupfailure());
    return 1;
  }
  loadtexturebmp(pictureslot, "hello.bmp", 1);
  const textureslot &picture = texture[pictureslot];
  while (!windowinfo.quit && !keyboard[key_escape]) {
    if (!beginframe())  // the input of this frame; 0 while there is no window to draw in
      continue;
    clearscreen(0, 0, 0);
    setupscreen2d();
    // the whole picture in the middle, named in its full-detail pixels: the same at either detail
    if (picture.fullwidth > 0)
      drawsprite(pictureslot, 0, 0, picture.fullwidth, picture.fullheight, 320, 240,
                 picturewidth / picture.fullwidth, 0, 1, 1, 1, 1);
    drawtext("Hello from /s", 320 | aligncentre, 40, 16, config.textred, config.textgreen,
             config.textblue, 1, "Tavrel");
    endframe(1);  // the pointer over it all, and the frame shown
  }
  shutdownengine();
  return 0;
}
