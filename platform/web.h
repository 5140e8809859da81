// The web page's platform calls that its event drain takes. The engine's own, built for the web
// alone.
#pragma once

// 1 once since the last call the browser ended its pointer lock itself (at the player's Escape):
// the mouse was let go, as the desktop lets it go with the focus
int pointerletgo();
// 1 while the browser holds the pointer for the program (pointer lock): the mouse's own motion
// counts only then
int pointerheld();
