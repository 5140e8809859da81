// The text-entry field: one shared edit buffer of UTF-8 text with a cursor and a selection, loaded
// from the active text input's variable, edited by the frame's keys and mouse a whole character at
// a time, and written back each frame.
#include "menu/menu.h"
#include "menu/menuparts.h"

#include "draw/draw.h"

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

// [SECTION] positions
// Positions are byte offsets into menuinput, always at the start of a character; the field's cells
// count characters

// the bytes the character at position takes; 0 at the end of the text or past it
static int characterbytes(int position)
{
  const int length = textlength();
  if (position < 0 || position >= length)
    return 0;
  int bytes;
  decodeutf8(menuinput + position, size_t(length - position), &bytes);
  return bytes;
}

// the start of the character that holds position, within the text
static int characterstart(int position)
{
  const int end = std::clamp(position, 0, textlength());
  int start = 0;
  for (int next; start < end && (next = start + characterbytes(start)) <= end;)
    start = next;
  return start;
}

static int previouscharacter(int position)
{
  return characterstart(position - 1);
}

static int nextcharacter(int position)
{
  const int start = characterstart(position);
  return start + characterbytes(start);
}

int menuinputcell(int position)
{
  return countcharacters(menuinput, size_t(std::clamp(position, 0, textlength())));
}

// the position of the character in a cell; the end of the text for a cell past it
static int cellposition(int cell)
{
  return int(charactersbytes(menuinput, size_t(textlength()), std::max(cell, 0)));
}

static void clampselection()
{
  menuinputselectpos = characterstart(menuinputselectpos);
  menuinputcursorpos = characterstart(menuinputcursorpos);
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
  return repeatsby(heldseconds, keyrepeatdelay, keyrepeatinterval) >
                 repeatsby(before, keyrepeatdelay, keyrepeatinterval)
             ? heldkey
             : 0;
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

// what the keys other than letters and the space type on a US layout, without and with Shift, in
// the order the keys are tested
static const struct {
  int key;
  char plain, shifted;
} uskeys[] = {
    {key_0, '0', ')'},         {key_0 + 1, '1', '!'},     {key_0 + 2, '2', '@'},
    {key_0 + 3, '3', '#'},     {key_0 + 4, '4', '$'},     {key_0 + 5, '5', '%'},
    {key_0 + 6, '6', '^'},     {key_0 + 7, '7', '&'},     {key_0 + 8, '8', '*'},
    {key_9, '9', '('},         {key_period, '.', '>'},    {key_minus, '-', '_'},
    {key_slash, '/', '?'},     {key_semicolon, ';', ':'}, {key_equals, '=', '+'},
    {key_comma, ',', '<'},     {key_backslash, '\\', '|'}, {key_quote, '\'', '"'},
};

// what a key types on a US layout; 0 for a key that types nothing there
static int uscharacter(int key, bool shift)
{
  if (key >= key_a && key <= key_z)
    return (shift ? 'A' : 'a') + (key - key_a);
  if (key == key_space)
    return ' ';
  for (const auto &row : uskeys)
    if (row.key == key)
      return shift ? row.shifted : row.plain;
  return 0;
}

// the class of getinputletter's that a character belongs to; 0 for none, which nothing types:
// control codes, and the surrogates and non-characters no layout makes
static int characterclass(int c)
{
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
    return acceptletters;
  if (c >= '0' && c <= '9')
    return acceptdigits;
  switch (c) {
  case '.': return acceptperiod;
  case ' ': return acceptspace;
  case '-': return acceptminus | acceptpunctuation;
  }
  if (c > ' ' && c < 0x7F)
    return acceptpunctuation;
  char encoded[4];
  const bool character = c >= 0xA0 && c != 0xFFFE && c != 0xFFFF && encodeutf8(c, encoded);
  return character ? acceptbeyondascii : 0;
}

// the character a key types in this call: what the platform translated its press into, or for a
// press it did not translate, what the US layout gives the key; 0 when it types nothing
static int typedby(int key, int repeat, int accept)
{
  const int shift = typingshift(key, repeat);
  if (shift < 0)
    return 0;
  const int unicode = keypress[key].unicode;
  const int c = unicode == notranslated ? uscharacter(key, shift) : unicode;
  return characterclass(c) & accept ? c : 0;
}

// of several keys typed in one frame the last one tested wins: the letters, the space and the
// punctuation of a US layout, then every other key
static int typedcharacter(int repeat, int accept)
{
  int result = typednothing;
  const auto test = [&](int key) {
    if (const int c = typedby(key, repeat, accept))
      result = c;
  };
  for (int key = key_a; key <= key_z; ++key)
    test(key);
  test(key_space);
  for (const auto &row : uskeys)
    test(row.key);
  for (int key = 1; key < keycount; ++key)
    if (!uscharacter(key, false))
      test(key);
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
    movecursorto(key_left, previouscharacter(menuinputcursorpos));
  if (keycounts(key_right, repeat))
    movecursorto(key_right, nextcharacter(menuinputcursorpos));
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

// cuts the text to the whole characters of the work area
static void cuttoworkarea()
{
  if (textlength() > menuinputarea)
    menuinput[wholecharacters(menuinput, menuinputarea)] = 0;
}

static void removecharacterat(int position)
{
  char *at = menuinput + position;
  const int length = characterbytes(position);
  memmove(at, at + length, strlen(at + length) + 1);  // the terminator moves along
}

// the text is cut to the work area first, so that it never grows past 4 bytes beyond it
void addmenuinputchar(int c)
{
  char encoded[4];
  const int count = encodeutf8(c, encoded);
  if (count == 0 || menuinputcursorpos < 0 || menuinputcursorpos >= menuinputarea)
    return;
  cuttoworkarea();
  const int at = characterstart(menuinputcursorpos);
  if (menuinputinsert)  // overwriting the end appends
    removecharacterat(at);
  memmove(menuinput + at + count, menuinput + at, strlen(menuinput + at) + 1);
  memcpy(menuinput + at, encoded, size_t(count));
  menuinputcursorpos = at + count;
  menuinputselectpos = menuinputcursorpos;
}

// also collapses the selection and cuts the text to the work area when nothing is selected
int deleteselectedtext()
{
  clampselection();
  cuttoworkarea();
  const int length = textlength();
  const int low = std::min({int(menuinputselectpos), int(menuinputcursorpos), length});
  const int high = std::min(std::max(int(menuinputselectpos), int(menuinputcursorpos)), length);
  const int kept = length - (high - low);
  memmove(menuinput + low, menuinput + high, size_t(length - high));
  // cleared behind the text, as the edit began with it
  memset(menuinput + kept, 0, size_t(menuinputsize - kept));
  menuinputcursorpos = high > low ? low : std::min(int(menuinputcursorpos), kept);
  menuinputselectpos = menuinputcursorpos;
  return high > low;
}

// [SECTION] the field's callback

// the position of the character in the cell under the pointer; the pointer's row is not consulted
static int pointerposition(const menuitemrecord &item)
{
  if (item.size <= 0)
    return 0;  // a field without cells has no column to point at
  return cellposition((mouse.x - item.x) / item.size);
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
  default: {  // a longer string is cut to the whole characters the buffer holds, read no further
    const char *text = static_cast<const char *>(variable);
    size_t length = strnlen(text, menuinputsize);
    if (length == menuinputsize)
      length = wholecharacters(text, menuinputsize - 1);
    memcpy(out, text, length);
    out[length] = '\0';
    break;
  }
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

// the variable the edit under way was loaded from: a slot given another one meanwhile begins
// afresh, as the text in the buffer may not fit the new one
static const void *editedvariable;
static int editedinputtype;

// activated by a click the cursor goes under the pointer; otherwise the whole text is selected,
// so that typing replaces it; the key that activated the field is not typed
static void beginedit(const menuitemrecord &item)
{
  editedvariable = item.variable;
  editedinputtype = item.inputtype;
  heldkey = 0;  // the key that began the edit does not repeat into it
  memset(menuinput, 0, menuinputsize);
  formatmenuvalue(item, menuinput);
  if (mouse.left)
    menuinputselectpos = menuinputcursorpos = pointerposition(item);
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
    menuinputselectpos = pointerposition(item);
  menuinputcursorpos = pointerposition(item);
  clampselection();
}

// the field takes up to its width less one characters, so a field of one cell takes none, and
// whole characters only as far as its variable has room: the buffer setmenutextfield was given,
// else the width's bytes, which every string field's buffer holds
static void typecharacter(const menuitemrecord &item, int c)
{
  deleteselectedtext();
  char encoded[4];
  const int length = textlength();
  const int overwritten = menuinputinsert ? characterbytes(menuinputcursorpos) : 0;
  const int characters = countcharacters(menuinput, size_t(length)) - (overwritten > 0);
  const int room = (item.inputsize > 0 ? item.inputsize : item.fieldwidth) - 1;
  if (characters < item.fieldwidth - 1 && length - overwritten + encodeutf8(c, encoded) <= room)
    addmenuinputchar(c);
}

static void deleteforward()
{
  if (!deleteselectedtext())
    removecharacterat(menuinputcursorpos);
}

static void deletebackward()
{
  if (deleteselectedtext() || menuinputcursorpos <= 0)
    return;
  menuinputcursorpos = previouscharacter(menuinputcursorpos);
  menuinputselectpos = menuinputcursorpos;
  removecharacterat(menuinputcursorpos);
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
  // numbers are read from ASCII
  const int code =
      getinputletter(0, item.inputtype == inputstring ? acceptall : acceptall & ~acceptbeyondascii);
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
  if (!item.wasactive || item.variable != editedvariable || item.inputtype != editedinputtype) {
    endotheredits();
    beginedit(item);
  } else
    editframe(item);
  writeback(item);
}
