// The message the set-up window shows when the player's choices could not be stored.
#pragma once

// shows why the save failed and what to do until a key (F12 and modifiers aside) or a click,
// handling the window's events meanwhile; a quit request or a lost window ends it at once
void showsavefailure(const char *reason);
