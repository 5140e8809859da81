// The web page's side of the platform's differences: the browser paces the frames and takes its
// turn between them, grants the mouse for mouse look (pointer lock) only at a click, and has no
// window icon to set or window to hide; and its C library starts with a umask that would make
// every saved file unreadable.
#include "platform/platform.h"
#include "platform/system.h"
#include "platform/web.h"

#include <emscripten.h>
#include <sys/stat.h>

// the page's C library starts with a umask of 0777, under which every file a save creates would
// be unreadable; set before main, as a shell sets it before any program
__attribute__((constructor)) static void setupfilemask()
{
  umask(022);
}

// the program's frame ends here: the browser composites what was drawn, runs its events and
// timers (the sound's among them), and resumes the program at its next animation frame
EM_ASYNC_JS(void, awaitanimationframe, (), {
  await new Promise(function(shown) { requestAnimationFrame(shown); });
});

void waitforframe(const timespec &)
{
  awaitanimationframe();
}

// the lock follows hold: asked for at the next press on the canvas, the only moment a browser
// grants it, and let go at once; an end of the lock that the browser made is noted for
// pointerletgo
EM_JS(void, holdpointer, (int hold), {
  var canvas = Module['canvas'];
  if (!Module.pointerhold) {
    Module.pointerhold = {wanted: 0, letgo: 0};
    canvas.addEventListener('mousedown', function() {
      if (Module.pointerhold.wanted && document.pointerLockElement !== canvas) {
        var asked = canvas.requestPointerLock();
        if (asked && asked.catch)
          asked.catch(function() {});  // refused: the next click asks again
      }
    });
    document.addEventListener('pointerlockchange', function() {
      if (document.pointerLockElement !== canvas && Module.pointerhold.wanted)
        Module.pointerhold.letgo = 1;
    });
  }
  Module.pointerhold.wanted = hold;
  if (!hold && document.pointerLockElement === canvas)
    document.exitPointerLock();
});

EM_JS(int, takepointerletgo, (), {
  var letgo = Module.pointerhold ? Module.pointerhold.letgo : 0;
  if (letgo)
    Module.pointerhold.letgo = 0;
  return letgo;
});

int pointerletgo()
{
  return takepointerletgo();
}

EM_JS(int, pointerlocked, (), { return document.pointerLockElement === Module['canvas']; });

int pointerheld()
{
  return pointerlocked();
}

// the page's own style hides the system's pointer over the canvas; only mouse look takes it
void showpointer()
{
  holdpointer(mouselook && mouselocked);
}

void setuppointer()
{
  showpointer();
}

void setwindowicon(const char *)
{
}

void iconifywindow()
{
}
