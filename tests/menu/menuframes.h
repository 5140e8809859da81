// Drives the menu frame by frame as the program does: build the items, run checkmenuitems, and
// let this frame's input become the previous frame's, with keys, buttons and the pad's controls
// held until let go.
#pragma once

#include "engine.h"

#include <cstring>
#include <functional>
#include <gtest/gtest.h>

class menuframes : public ::testing::Test {
protected:
  std::function<void()> build = [] {};

  void SetUp() override
  {
    memset(keyboard, 0, keycount);
    memset(prevkeyboard, 0, keycount);
    mouse = prevmouse = mousestate{};
    mouse.x = mouse.y = 479;  // out of every test item's way
    prevmouse = mouse;
    numofmenuitems = 0;
    menuinputkeyboard = prevmenuinputkeyboard = 0;
    menuinputinsert = 0;
    memset(menuinput, 0, sizeof menuinput);
    menuinputcursorpos = menuinputselectpos = 0;
    frametime = 0;  // no key repeats unless a test gives frames a length
    memset(namedpad, 0, sizeof namedpad);
    memset(prevnamedpad, 0, sizeof prevnamedpad);
    menunavigation = menufocusshown = menustatemarks = 0;
    resetmenuitems();
    setupmenuitems();
  }

  // one frame: the items are built anew, then the menu pass reads this frame's input
  void frame()
  {
    numofmenuitems = 0;
    build();
    checkmenuitems();
    memcpy(prevkeyboard, keyboard, keycount);
    prevmouse = mouse;
    memcpy(prevnamedpad, namedpad, sizeof namedpad);
  }

  // pressed with the modifiers held, as the keyboard poll records it
  void hold(int key) { keypress[key] = {heldmodifiers()}; keyboard[key] = 1; }
  void letgo(int key) { keyboard[key] = 0; }
  // presses a key for one frame and lets it go in the next
  void tap(int key)
  {
    hold(key);
    frame();
    letgo(key);
    frame();
  }
  void pointer(int x, int y)
  {
    mouse.x = x;
    mouse.y = y;
  }
  // the left button goes down at (x, y) in one frame and up in the next
  void click(int x, int y)
  {
    pointer(x, y);
    mouse.left = 1;
    frame();
    mouse.left = 0;
    frame();
  }
};

// the key code of a letter key
constexpr int letterkey(char letter)
{
  return key_a + (letter - 'a');
}
