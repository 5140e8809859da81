// The display choices the start-up makes for the platform; the engine's own, not a public header.
// The platform holds them and sets them only around its start and its video mode.
#pragma once

// chooses SDL_VIDEODRIVER, unless the caller set it: X11, or Wayland where it alone can work
void choosevideodriver();
// before the platform starts: whether the engine chooses the window's scaling (SDL 1.2 over
// SDL2, the player having set none), and the sharp way to scale for a window that grows
bool choosescalemethod(bool grows);
// once the platform is started, before the video mode: the factor for a window that grows
void choosewindowscaling(bool grows);
