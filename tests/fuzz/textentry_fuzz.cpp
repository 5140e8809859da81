// Fuzz target: any sequence of frames of key presses (some with the characters of several UTF-8
// bytes a platform translated them into), held keys, modifiers, pointer moves, clicks and drags
// over a menu of two text-entry fields, the second bound to a variable with only the room its
// caption asks for; after every frame the edit keeps its invariants.
#include "engine.h"
#include "wholeutf8.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// keys that type, edit, move, end or pass on the edit, the fields' hotkeys, and keys that do
// nothing in a field; the last four carry what a platform translated their presses into: two,
// three and four bytes of UTF-8, and nothing at all
constexpr int keys[64] = {
    'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j', 'k', 'l', 'm', 'n', 'o', 'p',
    'q', 'r', 's', 't', 'u', 'v', 'w', 'x', 'y', 'z', '0', '1', '2', '3', '4', '5',
    '6', '7', '8', '9', key_space, key_minus, key_period, key_slash, key_semicolon, key_equals,
    key_comma, key_backslash, key_quote, key_backspace, key_delete, key_kp_period, key_return,
    key_escape, key_tab, key_insert, key_home, key_end, key_left, key_right, key_lshift,
    key_lctrl, key_f1, key_f1 + 1, key_text, key_world_0 + 0x49, key_kp_plus, '`',
};
constexpr int translated[4] = {0xFC, 0x20AC, 0x10348, 0};
constexpr int firsttranslated = 60;

constexpr size_t maxsteps = 64;

const char longcaption[] = "A caption of sixty-three characters, the longest one there is..";
const char shortcaption[] = "Short 8.";
constexpr size_t shortroom = sizeof shortcaption - 1;  // the caption's length

int intvalue;
unsigned unsignedvalue;
float floatvalue;
char longtext[menuinputsize];
char *shorttext;  // on the heap, so that a byte past its room is caught

// the first field's variable: an int, an unsigned, a float or a long string
const struct { int option; void *variable; } firstfields[] = {
    {optionintinput, &intvalue},
    {optionunsignedinput, &unsignedvalue},
    {optionfloatinput, &floatvalue},
    {optionstringinput, longtext},
};

struct layout {
  int first;        // index into firstfields
  int x, y, size;   // the first field's x, the second field's y, the cells' side
} menu;

void buildmenu()
{
  numofmenuitems = 0;
  createmenuitem(longcaption, menu.x, 0, menu.size, 1, 1, 1);
  setmenuitem(firstfields[menu.first].option, intptr_t(firstfields[menu.first].variable));
  setmenuitem(optionhotkey, key_f1);
  createmenuitem(shortcaption, 0, menu.y, menu.size, 1, 1, 1);
  setmenuitem(optionstringinput, intptr_t(shorttext));
  setmenuitem(optionhotkey, key_f1 + 1);
}

void require(bool holds)
{
  if (!holds)
    abort();
}

bool terminated(const char *text, size_t room)
{
  return memchr(text, 0, room) != nullptr;
}

// a position at the start of a character
bool onboundary(int position)
{
  const size_t bytes = strlen(menuinput);
  return charactersbytes(menuinput, bytes, countcharacters(menuinput, size_t(position))) ==
         size_t(position);
}

// the text input being edited, or -1; never more than one, as they share the buffer
int editedfield()
{
  int edited = -1;
  for (int i = 0; i < numofmenuitems; ++i)
    if (menuitem[i].active && menuitem[i].type == itemtextinput) {
      require(edited < 0);
      edited = i;
    }
  return edited;
}

// typing never carries a text past its field's limit, though a loaded one may already be longer
void checkedit(int before, size_t lengthbefore)
{
  require(terminated(menuinput, menuinputsize) && terminated(menuinputtemp, menuinputsize));
  const size_t length = strlen(menuinput);
  require(0 <= menuinputcursorpos && size_t(menuinputcursorpos) <= length);
  require(0 <= menuinputselectpos && size_t(menuinputselectpos) <= length);
  require(onboundary(menuinputcursorpos) && onboundary(menuinputselectpos));
  // every text the fields start with or are given is whole UTF-8: no edit may cut a character
  for (const char *text : {menuinput, longtext, shorttext})
    require(wholeutf8(text, strlen(text)));
  if (before >= 0 && before == editedfield()) {
    const size_t limit = size_t(menuitem[before].fieldwidth - 1);  // none in a field of one cell
    require(length <= (lengthbefore > limit ? lengthbefore : limit));
  }
  require(terminated(longtext, sizeof longtext) && terminated(shorttext, shortroom));
}

void frame()
{
  const int before = editedfield();
  const bool continuing = before >= 0 && menuitem[before].wasactive;
  const size_t lengthbefore = strlen(menuinput);
  buildmenu();
  checkmenuitems();
  checkedit(continuing ? before : -1, lengthbefore);
  memcpy(prevkeyboard, keyboard, keycount);
  prevmouse = mouse;
}

void start(const uint8_t *setup)
{
  menu = {setup[0] & 3, setup[1] * 3, setup[2] & 63, setup[3] & 31};
  menuinputinsert = setup[0] >> 7;
  intvalue = (setup[0] & 4) ? INT32_MIN : 42;
  unsignedvalue = (setup[0] & 4) ? UINT32_MAX : 7;
  floatvalue = (setup[0] & 4) ? -3.4e38f : 0.1234567f;
  memset(longtext, 0, sizeof longtext);
  memset(longtext, 'x', (setup[0] & 8) ? menuinputsize - 1 : 5);  // longer than the work area
  for (int at = 1; (setup[0] & 16) && at + 1 < menuinputsize; at += 2)  // "x" then "é"s, whose
    memcpy(longtext + at, "\xc3\xa9", 2);  // starts the work area's end falls between
  shorttext = static_cast<char *>(malloc(shortroom));
  strcpy(shorttext, "abc");
  memset(keyboard, 0, keycount);
  memset(prevkeyboard, 0, keycount);
  mouse = prevmouse = mousestate{};
  memset(menuinput, 0, sizeof menuinput);
  memset(menuinputtemp, 0, sizeof menuinputtemp);
  menuinputcursorpos = menuinputselectpos = 0;
  menuinputkeyboard = 0;
  resetmenuitems();
}

}  // namespace

// four bytes lay out the menu; then each byte toggles a key (and may end the frame), moves the
// pointer, or toggles the left button and ends the frame; only the first 64 steps are taken,
// which fill the short field many times over, so that no time goes on longer runs
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
  if (size < 4)
    return 0;
  start(data);
  for (size_t i = 4; i < size && i < 4 + maxsteps; ++i) {
    const uint8_t b = data[i];
    if (b < 0x80) {
      const int index = b & 63;
      keyboard[keys[index]] ^= 1;
      keypress[keys[index]] = {heldmodifiers()};  // as the poll records a press
      if (index >= firsttranslated)
        keypress[keys[index]].unicode = translated[index - firsttranslated];
      if (b & 0x40)
        frame();
    } else if (b < 0xC0) {
      mouse.x = (b & 63) * 10;
    } else if (b & 0x20) {
      mouse.y = (b & 31) * 15;
    } else {
      mouse.left ^= b & 1;
      frame();
    }
  }
  frame();
  free(shorttext);
  return 0;
}
