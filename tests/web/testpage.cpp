// The browser driver's test page: its canvas is red until a key turns it green and a click blue,
// and each key and click is written to "events.txt" for the driver to read back.
#include <GL/gl.h>
#include <SDL.h>
#include <cstdio>
#include <emscripten.h>

static float red = 1, green = 0, blue = 0;

static void note(const char *line)
{
  if (FILE *file = fopen("events.txt", "a")) {
    fputs(line, file);
    fclose(file);
  }
}

static void frame()
{
  SDL_Event event;
  char line[32];
  while (SDL_PollEvent(&event)) {
    if (event.type == SDL_KEYDOWN) {
      red = 0, green = 1, blue = 0;
      snprintf(line, sizeof line, "key %d\n", int(event.key.keysym.sym));
      note(line);
    } else if (event.type == SDL_MOUSEBUTTONDOWN) {
      red = 0, green = 0, blue = 1;
      snprintf(line, sizeof line, "click %d %d\n", event.button.x, event.button.y);
      note(line);
    }
  }
  glClearColor(red, green, blue, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  SDL_GL_SwapBuffers();
}

int main()
{
  if (SDL_Init(SDL_INIT_VIDEO) != 0 || !SDL_SetVideoMode(640, 480, 32, SDL_OPENGL)) {
    fprintf(stderr, "testpage: %s\n", SDL_GetError());
    return 1;
  }
  puts("testpage: drawing");
  emscripten_set_main_loop(frame, 0, 1);
}
