// The display choices the start-up makes for the platform; the engine's own, not a public header.
#pragma once

// sets SDL_VIDEODRIVER, unless the caller did: X11, or Wayland where it alone can work
void choosevideodriver();
// before the platform starts: whether the engine chooses the window's scaling (SDL 1.2 over
// SDL2, the player having set none), and the sharp way to scale for a window that grows
bool choosescalemethod(bool grows);
// once the platform is started, before the video mode: the factor for a window that grows
void choosewindowscaling(bool grows);
// unsets what the three above set, once the platform is shut down
void forgetdisplaychoices();
