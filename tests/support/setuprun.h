// Runs the real tavrel-setup (or another program built on the engine) in a temporary directory
// under the test's private Xvfb, finds its window, drives it with xdotool and closes it the way a
// window manager does.
#pragma once

#include "testfiles.h"

#include <string>
#include <sys/types.h>
#include <vector>

// a fresh temporary directory holding copies of the program's artwork
std::string makeworkdir();

// how pointto moves the pointer: by a mouse's relative motion, as an absolute device (a tablet, a
// touch screen, a virtual machine's pointer) puts it, or first the one and then the other
enum pointermoves { relativemoves, absolutemoves, mixedmoves };

struct setuprun {
  std::string dir;           // working directory of the run
  pid_t pid = -1;
  unsigned long window = 0;  // the top-level X window, once found
  pointermoves moves = relativemoves;  // how pointto moves the pointer

  // starts the program in dir; prefix runs it through another command (e.g. setpriv); program
  // names another binary than tavrel-setup
  explicit setuprun(const std::string &workdir, const std::vector<std::string> &prefix = {},
                    bool withdisplay = true, const std::string &program = "");
  ~setuprun();

  // waits until the window of that title is mapped; false on timeout
  bool waitforwindow(int timeoutms = 10000, const char *title = "Tavrel Setup");
  // sends WM_DELETE_WINDOW, as a window manager's close button does
  void closewindow();
  // gives the keyboard focus away and takes it back, as switching to another program does
  void losefocus();
  void takefocus();
  // true while the window is mapped and viewable, not minimised
  bool shown();
  // asks the window manager to bring the window back and give it the focus, as a task bar does
  void restore();
  // the exit status, or -1 when it did not end in time (it is killed then)
  int waitforexit(int timeoutms = 10000);
  // what the program wrote to standard error
  std::string errors() const;

  // pushes the pointer far outside the window, as a player's mouse would; true when it stays
  // inside, held by the program's grab. Where the window fills the screen there is no outside,
  // and the X server says whether the pointer is held
  bool pointerheld();
  // the window's size in pixels; 0 by 0 while none was found
  void windowsize(int &width, int &height);
  // puts the program's pointer at virtual (x, y), moved as moves says
  void pointto(int x, int y);
  // holds the left button down or lets it go, long enough for a frame to see it
  void buttondown();
  void buttonup();
  // pointto, then a press and release of the left button
  void clickat(int x, int y);
  // presses and releases a key named as xdotool names it ("Escape", "KP_3", "f")
  void press(const std::string &key);
  // holds a key down or lets it go ("Control_L", "Shift_L")
  void keydown(const std::string &key);
  void keyup(const std::string &key);
  // the window's picture as 640x480 RGB bytes, rows top first, or, while no X window was found
  // (a program on a Wayland compositor), the screen's top-left 640x480; empty when it cannot be
  // read
  std::vector<unsigned char> capture();
};

// a prefix that holds every frame of the program to 30 ms more, as a 33 Hz display with vertical
// sync would, so that presses quicker than a frame fall between two frames; a word
// "TAVREL_SWAPDELAYMS=n" added to it asks for n ms
std::vector<std::string> slowframes();

// openbox on the test's display while it lives: a window manager that minimises windows
struct windowmanager {
  pid_t pid = -1;
  windowmanager();  // returns once openbox manages the screen
  ~windowmanager();
};

// runs xdotool with the given arguments on the test's display; its exit status
int xdotool(const std::vector<std::string> &arguments);
