// The text-entry field: one shared edit buffer with a cursor and a selection, loaded from the
// active text input's variable, edited by the frame's keys and mouse, and written back each frame.
#include "menu/menu.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

char menuinput[menuinputsize];
char menuinputtemp[menuinputsize];
int32_t menuinputcursorpos;
int32_t menuinputselectpos;
int32_t menuinputinsert;

static int textlength()
{
  return int(strnlen(menuinput, menuinputsize));
}

static void clampselection()
{
  const int length = textlength();
  menuinputselectpos = std::clamp(int(menuinputselectpos), 0, length);
  menuinputcursorpos = std::clamp(int(menuinputcursorpos), 0, length);
}

// [SECTION] key repeat
// A key held in the field repeats after a delay, as in every text box, at most once a frame; the
// time is the engine's frame time, so that the rate is the same at any frame rate

constexpr float keyrepeatdelay = 0.5f;          // seconds a key is held before it repeats
constexpr float keyrepeatinterval = 1 / 30.0f;  // seconds from one repeat to the next

static int heldkey;         // the last key newly pressed in the field, while it is held
static float heldseconds;   // how long it has been held
static int repeatedkey;     // counted as newly pressed by the edit frame's getinputletter

// Return, Escape, Tab and Insert act once a press; modifiers only change other keys
static bool repeats(int key)
{
  return key != key_return && key != key_escape && key != key_tab && key != key_insert &&
         !ismodifierkey(key);
}

// the number of repeats due by the time a key has been held that long
static int repeatsby(float seconds)
{
  return seconds < keyrepeatdelay ? 0 : 1 + int((seconds - keyrepeatdelay) / keyrepeatinterval);
}

// the held key when its repeat is due in this frame, else 0
static int duerepeat()
{
  for (int key = 1; key < keycount; ++key)
    if (keypressed(key) && repeats(mainkey(key))) {
      heldkey = mainkey(key);  // the code the typed keys are read by: keypad 1 types as 1
      heldseconds = 0;
    }
  if (!heldkey || !keyboard[heldkey]) {
    heldkey = 0;
    return 0;
  }
  if (keypressed(heldkey))
    return 0;  // this frame has its press
  const float before = heldseconds;
  heldseconds += frametime;
  return repeatsby(heldseconds) > repeatsby(before) ? heldkey : 0;
}

// [SECTION] typed keys

// a key counts once when newly pressed, then when its repeat is due, or in every call while held
// when the caller asks for that
static bool keycounts(int key, int repeat)
{
  return repeat ? keyboard[key] != 0 : keypressed(key) || key == repeatedkey;
}

// the modifiers a key counts with: in the frame of its press those the press carried, as Shift
// may be let go in that very frame; when it repeats, those held now, as in every text box
static int modifiersof(int key)
{
  return keypressed(key) ? keypress[key].modifiers : heldmodifiers();
}

// a chord with these is a command, never typing (Ctrl+C, X and V too: the field has no
// clipboard); Alt Gr types what the layout gives it
constexpr int commandmodifiers = modctrl | modalt | modsystem;

// 1 when a key types with Shift, 0 without, -1 when it does not type in this call
static int typingshift(int key, int repeat)
{
  if (!keycounts(key, repeat))
    return -1;
  const int modifiers = modifiersof(key);
  return modifiers & commandmodifiers ? -1 : (modifiers & modshift) != 0;
}

// the punctuation class, in the order the keys are tested (a US layout); 0 types nothing
static const struct {
  int key;
  char plain, shifted;
} punctuationkeys[] = {
    {key_0, 0, ')'},           {key_0 + 1, 0, '!'},       {key_0 + 2, 0, '@'},
    {key_0 + 3, 0, '#'},       {key_0 + 4, 0, '$'},       {key_0 + 5, 0, '%'},
    {key_0 + 6, 0, '^'},       {key_0 + 7, 0, '&'},       {key_0 + 8, 0, '*'},
    {key_9, 0, '('},           {key_slash, '/', '?'},     {key_semicolon, ';', ':'},
    {key_minus, '-', '_'},     {key_equals, '=', '+'},    {key_period, 0, '>'},
    {key_comma, ',', '<'},     {key_backslash, '\\', '|'}, {key_quote, '\'', '"'},
};

// of several keys typed in one frame the last one tested wins
static int typedcharacter(int repeat, int accept)
{
  int result = typednothing;
  if (accept & acceptletters) {
    for (int key = key_a; key <= key_z; ++key)
      if (const int shift = typingshift(key, repeat); shift >= 0)
        result = (shift ? 'A' : 'a') + (key - key_a);
  }
  if ((accept & acceptspace) && typingshift(key_space, repeat) >= 0)
    result = ' ';
  for (int digit = 0; digit <= 9; ++digit)
    if ((accept & acceptdigits) && typingshift(key_0 + digit, repeat) == 0)
      result = '0' + digit;
  if ((accept & acceptperiod) && typingshift(key_period, repeat) == 0)
    result = '.';
  if ((accept & acceptminus) && typingshift(key_minus, repeat) == 0)
    result = '-';
  if (accept & acceptpunctuation)
    for (const auto &row : punctuationkeys) {
      const int shift = typingshift(row.key, repeat);
      const char character = shift < 0 ? 0 : shift ? row.shifted : row.plain;
      if (character)
        result = character;
    }
  return result;
}

// Return, Escape and Tab count only when new, so holding them never repeats
static int controlcode(int repeat, int result)
{
  if (keycounts(key_kp_period, repeat) || keycounts(key_delete, repeat))
    result = typeddelete;
  if (keycounts(key_backspace, repeat))
    result = typedbackspace;
  if (keypressed(key_return) || keypressed(key_escape))
    result = typedend;
  if (keypressed(key_tab))
    result = typedtab;
  return result;
}

// Shift with the moving key keeps the anchor, so the selection follows the cursor
static void movecursorto(int key, int position)
{
  menuinputcursorpos = position;
  if (!(modifiersof(key) & modshift))
    menuinputselectpos = menuinputcursorpos;
}

static void selectall()
{
  menuinputselectpos = 0;
  menuinputcursorpos = textlength();
}

static void editingkeys(int repeat)
{
  const int length = textlength();
  if (keycounts(key_insert, repeat))
    menuinputinsert = !menuinputinsert;
  if (keycounts(key_home, repeat))
    movecursorto(key_home, 0);
  if (keycounts(key_end, repeat))
    movecursorto(key_end, length);
  if (keycounts(key_left, repeat))
    movecursorto(key_left, std::max(menuinputcursorpos - 1, 0));
  if (keycounts(key_right, repeat))
    movecursorto(key_right, std::min(menuinputcursorpos + 1, length));
  if (keycounts(key_a, repeat) && (modifiersof(key_a) & modctrl))
    selectall();
}

int getinputletter(int repeat, int accept)
{
  const int result = controlcode(repeat, typedcharacter(repeat, accept));
  editingkeys(repeat);
  clampselection();
  return result;
}

// [SECTION] buffer edits

void addmenuinputchar(int c)
{
  const int at = menuinputcursorpos;
  if (at < 0 || at >= menuinputarea)
    return;
  if (!menuinputinsert)  // positions at to 191 move up one; whatever stood at 192 is lost
    memmove(menuinput + at + 1, menuinput + at, size_t(menuinputarea - at));
  else if (!menuinput[at])
    menuinput[at + 1] = 0;  // overwriting the end appends, and the text ends right after it
  menuinput[at] = char(c);
  menuinputcursorpos = at + 1;
  menuinputselectpos = menuinputcursorpos;
}

// also collapses the selection and cuts the text to the work area when nothing is selected
int deleteselectedtext()
{
  const int low = std::min(menuinputselectpos, menuinputcursorpos);
  const int high = std::max(menuinputselectpos, menuinputcursorpos);
  int kept = 0, removed = 0;
  for (int j = 0; j < menuinputarea; ++j) {
    if (low <= j && j < high)
      removed = 1;
    else
      menuinputtemp[kept++] = menuinput[j];
  }
  menuinputtemp[kept] = 0;
  // cleared behind the text, so that overwriting at its end appends cleanly
  memset(menuinput, 0, menuinputsize);
  strcpy(menuinput, menuinputtemp);
  const int start = removed ? low : menuinputcursorpos;
  menuinputcursorpos = std::clamp(start, 0, textlength());
  menuinputselectpos = menuinputcursorpos;
  return removed;
}

static void removecharacterat(int position)
{
  char *at = menuinput + position;
  memmove(at, at + 1, strlen(at));  // the terminator moves along
}

// [SECTION] the field's callback

// the character cell under the pointer; the pointer's row is not consulted
static int pointercolumn(const menuitemrecord &item)
{
  if (item.size <= 0)
    return 0;  // a field without cells has no column to point at
  return (mouse.x - item.x) / item.size;
}

void formatmenuvalue(const menuitemrecord &item, char out[menuinputsize])
{
  const void *variable = item.variable;
  if (!variable) {
    out[0] = '\0';
    return;
  }
  switch (item.inputtype) {
  case inputint: snprintf(out, menuinputsize, "%d", *static_cast<const int *>(variable)); break;
  case inputunsigned:
    snprintf(out, menuinputsize, "%u", *static_cast<const unsigned *>(variable));
    break;
  case inputfloat:
    snprintf(out, menuinputsize, "%g", double(*static_cast<const float *>(variable)));
    break;
  default:  // a longer string is cut to what the buffer holds, and read no further
    snprintf(out, menuinputsize, "%.*s", menuinputsize - 1, static_cast<const char *>(variable));
    break;
  }
}

// a text that holds no number leaves a numeric variable as it was
static void writeback(const menuitemrecord &item)
{
  switch (item.inputtype) {
  case inputint: sscanf(menuinput, "%d", static_cast<int *>(item.variable)); break;
  case inputunsigned: sscanf(menuinput, "%u", static_cast<unsigned *>(item.variable)); break;
  case inputfloat: sscanf(menuinput, "%g", static_cast<float *>(item.variable)); break;
  default: strcpy(static_cast<char *>(item.variable), menuinput); break;
  }
}

// activated by a click the cursor goes under the pointer; otherwise the whole text is selected,
// so that typing replaces it; the key that activated the field is not typed
static void beginedit(const menuitemrecord &item)
{
  heldkey = 0;  // the key that began the edit does not repeat into it
  memset(menuinput, 0, menuinputsize);
  formatmenuvalue(item, menuinput);
  if (mouse.left)
    menuinputselectpos = menuinputcursorpos = pointercolumn(item);
  else
    selectall();
  clampselection();
}

// a press places the cursor with an empty selection, and dragging extends it
static void dragselection(const menuitemrecord &item)
{
  if (!mouse.left)
    return;
  if (!prevmouse.left)
    menuinputselectpos = pointercolumn(item);
  menuinputcursorpos = pointercolumn(item);
  clampselection();
}

// the field takes up to its width less one characters, so a field of one cell takes none
static void typecharacter(const menuitemrecord &item, int c)
{
  deleteselectedtext();
  if (textlength() < item.fieldwidth - 1)
    addmenuinputchar(c);
}

static void deleteforward()
{
  if (!deleteselectedtext() && menuinput[menuinputcursorpos])
    removecharacterat(menuinputcursorpos);
}

static void deletebackward()
{
  if (deleteselectedtext() || menuinputcursorpos <= 0)
    return;
  removecharacterat(--menuinputcursorpos);
  menuinputselectpos = menuinputcursorpos;
}

// the next text input in slot order, wrapping; with none other the edit stays here
static void editnextfield()
{
  const int count = menuitemsinuse();
  for (int step = 1; step < count; ++step) {
    const int next = (currentmenuitem + step) % count;
    if (menuitem[next].type == itemtextinput) {
      menuitem[currentmenuitem].active = 0;
      menuitem[next].active = 1;
      return;
    }
  }
}

static void editframe(menuitemrecord &item)
{
  dragselection(item);
  repeatedkey = duerepeat();
  const int code = getinputletter(0, acceptall);
  repeatedkey = 0;
  if (code >= ' ')
    typecharacter(item, code);
  else if (code == typeddelete)
    deleteforward();
  else if (code == typedbackspace)
    deletebackward();
  else if (code == typedtab)
    editnextfield();
  if (keypressed(key_return) || keypressed(key_escape))
    item.active = 0;  // the variable already holds the text: nothing to undo
}

// the fields share the edit buffer, so the one whose edit begins ends any other: two fields
// activated in one frame would otherwise both edit one text, each writing it to its variable
static void endotheredits()
{
  for (int i = 0; i < menuitemsinuse(); ++i)
    if (i != currentmenuitem && menuitem[i].type == itemtextinput)
      menuitem[i].active = 0;
}

void menutextbox()
{
  if (currentmenuitem < 0 || currentmenuitem >= menuitemsinuse() ||
      !menuitem[currentmenuitem].variable)
    return;  // called outside the callback pass, there is no field to edit
  menuitemrecord &item = menuitem[currentmenuitem];
  if (!item.wasactive) {
    endotheredits();
    beginedit(item);
  } else
    editframe(item);
  writeback(item);
}
