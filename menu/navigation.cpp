// Focus navigation, which a game turns on: the focus moved among the items in screen order by
// Tab, the arrows and the first pad's d-pad and left stick, a move held repeating after a delay;
// Return, Space or the pad's south button activates the focused item, Escape or the east button
// the game's back item. The mouse hides the focus, so that it shows only while keys or pad lead.
#include "menu/menu.h"
#include "menu/menuparts.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <tuple>

int32_t menunavigation;
int32_t menufocus = -1;
int32_t menufocusshown;

// a move's direction; up and down go from row to row, left and right within one
enum { nomove, movenext, moveprevious, moveup, movedown, moveleft, moveright };

constexpr float repeatdelay = 0.4f;     // seconds a move is held before it repeats
constexpr float repeatinterval = 0.1f;  // seconds from one repeat to the next
constexpr float stickpush = 0.5f;       // how far over the stick is pushed to move
constexpr float stickrelease = 0.35f;   // and how far back it comes to let go
constexpr float stickmargin = 0.1f;     // how far the other axis must lead to turn

// [SECTION] inputs

static const struct {
  int key, padbutton, direction;
} arrows[] = {{key_up, paddpadup, moveup},
              {key_down, paddpaddown, movedown},
              {key_left, paddpadleft, moveleft},
              {key_right, paddpadright, moveright}};

// while a field is being edited the keys are its own
static bool keysnavigate()
{
  return (menunavigation & navigatekeys) && !menuinputkeyboard;
}

static bool padnavigates()
{
  return (menunavigation & navigatepad) && !menuinputkeyboard;
}

// the stick's direction, this frame's and the last's: its longer axis once it is pushed past
// stickpush, then held until it falls back under stickrelease or the other axis leads by
// stickmargin, so that a stick resting at an edge or a diagonal makes no stream of presses
static int stickfollowed = nomove, stickbefore = nomove;

static bool followsaxis(int direction, float x, float y)
{
  const bool horizontal = direction == moveleft || direction == moveright;
  const float along = horizontal ? x : y, across = horizontal ? y : x;
  const bool positive = direction == moveright || direction == movedown;
  return (positive ? along : -along) >= stickrelease &&
         std::fabs(across) < std::fabs(along) + stickmargin;
}

static void followstick(const namedpadstate &pad)
{
  const float x = pad.axis[padleftx], y = pad.axis[padlefty];
  int direction = nomove;
  if (stickfollowed != nomove && followsaxis(stickfollowed, x, y))
    direction = stickfollowed;
  else if (std::max(std::fabs(x), std::fabs(y)) >= stickpush)
    direction = std::fabs(x) >= std::fabs(y) ? (x > 0 ? moveright : moveleft)
                                             : (y > 0 ? movedown : moveup);
  stickbefore = stickfollowed;
  stickfollowed = direction;
}

static int tabdirection(int modifiers)
{
  return modifiers & modshift ? moveprevious : movenext;
}

// the direction newly pressed in this frame: a key, a d-pad button or the stick pushed over
static int presseddirection()
{
  int direction = nomove;
  if (keysnavigate()) {
    if (keypressed(key_tab))
      direction = tabdirection(keypress[key_tab].modifiers);
    for (const auto &arrow : arrows)
      if (keypressed(arrow.key))
        direction = arrow.direction;
  }
  if (padnavigates()) {
    if (stickfollowed != nomove && stickfollowed != stickbefore)
      direction = stickfollowed;
    for (const auto &arrow : arrows)
      if (padpressed(0, arrow.padbutton))
        direction = arrow.direction;
  }
  return direction;
}

static bool stillheld(int direction)
{
  bool held = false;
  if (keysnavigate()) {
    held = keyboard[key_tab] && tabdirection(heldmodifiers()) == direction;
    for (const auto &arrow : arrows)
      held = held || (arrow.direction == direction && keyboard[arrow.key]);
  }
  if (padnavigates()) {
    held = held || stickfollowed == direction;
    for (const auto &arrow : arrows)
      held = held || (arrow.direction == direction && namedpad[0].button[arrow.padbutton]);
  }
  return held;
}

// a press moves at once; held on, it repeats after the delay, at most once a frame, timed by the
// engine's frame time so that the rate is the same at any frame rate
static int framemove()
{
  static int repeating = nomove;  // the direction last pressed, while it is held
  static float heldseconds;
  followstick(padnavigates() ? namedpad[0] : namedpadstate{});
  if (const int pressed = presseddirection(); pressed != nomove) {
    repeating = pressed;
    heldseconds = 0;
    return pressed;
  }
  if (repeating == nomove || !stillheld(repeating)) {
    repeating = nomove;
    return nomove;
  }
  const float before = heldseconds;
  heldseconds += frametime;
  return repeatsby(heldseconds, repeatdelay, repeatinterval) >
                 repeatsby(before, repeatdelay, repeatinterval)
             ? repeating
             : nomove;
}

// [SECTION] moves

// the slots the focus may take, by top edge, then left edge, then slot: a row's items lie together
static int screenorder(int order[maxmenuitems])
{
  int count = 0;
  for (int i = 0; i < menuitemsinuse(); ++i)
    if (focusable(menuitem[i]))
      order[count++] = i;
  std::sort(order, order + count, [](int a, int b) {
    return std::tie(menuitem[a].y, menuitem[a].x, a) < std::tie(menuitem[b].y, menuitem[b].x, b);
  });
  return count;
}

// the position of the item of row y whose left edge lies nearest to x; the first of a tie
static int nearestinrow(const int *order, int count, int32_t y, int32_t x)
{
  int best = -1;
  int64_t bestdistance = 0;
  for (int p = 0; p < count; ++p) {
    const menuitemrecord &item = menuitem[order[p]];
    const int64_t distance = std::llabs(int64_t(item.x) - x);
    if (item.y == y && (best < 0 || distance < bestdistance)) {
      best = p;
      bestdistance = distance;
    }
  }
  return best;
}

// the row after the focus's, or before it, wrapping round
static int32_t nextrow(const int *order, int count, int at, int step)
{
  const int32_t y = menuitem[order[at]].y;
  int p = at;
  while (p >= 0 && p < count && menuitem[order[p]].y == y)
    p += step;
  return menuitem[order[(p + count) % count]].y;
}

// where a move takes the focus from position at of the screen order; Tab and the rows wrap
// round, left and right stop at the row's ends
static int moved(const int *order, int count, int at, int direction)
{
  const menuitemrecord &from = menuitem[order[at]];
  auto inrow = [&](int p) { return p >= 0 && p < count && menuitem[order[p]].y == from.y; };
  switch (direction) {
  case movenext: return (at + 1) % count;
  case moveprevious: return (at + count - 1) % count;
  case moveright: return inrow(at + 1) ? at + 1 : at;
  case moveleft: return inrow(at - 1) ? at - 1 : at;
  case movedown: return nearestinrow(order, count, nextrow(order, count, at, 1), from.x);
  case moveup: return nearestinrow(order, count, nextrow(order, count, at, -1), from.x);
  default: return at;
  }
}

// a hidden focus is shown where it is before it moves; with none, it goes to the first item in
// screen order, or the last for a move back or up
static void movefocus(int direction)
{
  int order[maxmenuitems];
  const int count = screenorder(order);
  if (count == 0)
    return;
  const int at = int(std::find(order, order + count, menufocus) - order);
  if (at == count)
    menufocus = order[direction == moveprevious || direction == moveup ? count - 1 : 0];
  else if (menufocusshown)
    menufocus = order[moved(order, count, at, direction)];
  menufocusshown = 1;
  menutookinput = 1;
}

// [SECTION] activation

bool focusinuse()
{
  return menufocus >= 0 && menufocus < menuitemsinuse() && focusable(menuitem[menufocus]);
}

// the first enabled item the game made its back item, or -1
static int backitem()
{
  for (int i = 0; i < menuitemsinuse(); ++i)
    if (menuitem[i].back && focusable(menuitem[i]))
      return i;
  return -1;
}

static int activatedslot()
{
  const bool keyactivates = keysnavigate() && (keypressed(key_return) || keypressed(key_space));
  if ((keyactivates || (padnavigates() && padpressed(0, padsouth))) && focusinuse()) {
    menufocusshown = 1;
    return menufocus;
  }
  const bool back = (keysnavigate() && keypressed(key_escape)) ||
                    (padnavigates() && padpressed(0, padeast));
  return back ? backitem() : -1;
}

// a pad cannot type: its south or east button ends an edit as Return or Escape would
static bool padendsedit()
{
  return (menunavigation & navigatepad) && menuinputkeyboard &&
         (padpressed(0, padsouth) || padpressed(0, padeast));
}

int navigatemenu()
{
  if (newleftpress() || mouse.x != prevmouse.x || mouse.y != prevmouse.y)
    menufocusshown = 0;
  if (padendsedit()) {
    endmenuinput();
    menutookinput = 1;
    return -1;
  }
  if (const int direction = framemove(); direction != nomove)
    movefocus(direction);
  return activatedslot();
}
