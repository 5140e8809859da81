// Menus: the immediate-mode item table, its interaction, focus navigation and drawing, the
// text-entry field and the colour edit bars.
#pragma once

#include <cstdint>

// [SECTION] item table
// items are declared anew every frame; a slot's only lasting state is its two activity flags
#include "../platform/platform.h"  // keycount: hotkeys and key labels are key codes

constexpr int maxmenuitems = 256;    // items per frame
constexpr int menutextsize = 64;     // caption bytes, terminator included
constexpr int keylabelsize = 16;     // key label bytes, terminator included

// menuitem.type
constexpr int itemplain = 0;
constexpr int itemtextinput = 1;
constexpr int itemtoggle = 2;
constexpr int itemset = 3;

// menuitem.state, also the drawing brightness
constexpr int itemdisabled = 0;
constexpr int itemnormal = 1;
constexpr int itemhovered = 2;
constexpr int itemon = 3;

// menuitem.inputtype: the variable a text input edits
constexpr int inputint = 0;
constexpr int inputunsigned = 1;
constexpr int inputfloat = 2;
constexpr int inputstring = 3;

// setmenuitem options
constexpr int optionhotkey = 1;          // a: key code
constexpr int optionstate = 2;           // a: state; 0 disables the item
constexpr int optionintinput = 3;        // a: address of an int
constexpr int optionunsignedinput = 4;   // a: address of an unsigned int
constexpr int optionfloatinput = 5;      // a: address of a float
constexpr int optionstringinput = 6;     // a: address of a character buffer
constexpr int optioncallback = 7;        // a: address of a void() operation
constexpr int optiontoggle = 8;          // a: address of an int flipped by the item
constexpr int optionset = 9;             // a: address of an int, b: the value the item stores
constexpr int optionrepeat = 10;         // the hotkey fires in every frame while it is held

struct menuitemrecord {
  char text[menutextsize];  // caption, at most 63 characters
  int32_t x, y;             // top-left corner, virtual pixels, 0 to 65535
  int32_t size;             // side of a square character cell
  float red, green, blue;   // caption colour at full brightness
  int32_t type;             // itemplain, itemtextinput, itemtoggle or itemset
  int32_t length;           // caption length: the hit box's width in cells
  int32_t fieldwidth;       // a text field's row in cells, which takes one character less
  int32_t lines;            // hit box height in cells: 1, 2 for text inputs, 0 for blanks
  int32_t hotkey;           // key code that activates the item, 0 (or any non-key) for none
  int32_t repeat;           // the hotkey activates in every frame it is held
  int32_t back;             // Escape or the pad's east button activates it, with navigation on
  int32_t state;            // itemdisabled to itemon
  int32_t wasactive;        // active as it stood after this slot's last callback turn
  int32_t active;           // activated; kept across frames
  int32_t clicked;          // activated by the latest checkmenuitems, until menuclicked says so
  int32_t setvalue;         // what a set item stores into its variable
  int32_t inputtype;        // inputint to inputstring
  int32_t inputsize;        // a string variable's bytes as setmenutextfield gave them; 0: unknown
  void *variable;           // the variable shown and edited, the caller's
  void (*callback)();       // run while the item is active
};
extern menuitemrecord menuitem[maxmenuitems];
extern int32_t numofmenuitems;   // items built this frame; the caller sets it to 0 each frame
extern int32_t currentmenuitem;  // the item whose callback is running
extern char keyboardlabel[keycount][keylabelsize];  // hotkey names, by key code
// 1: toggles and radio items show their state in a box or a diamond in the two cells before their
// caption, which their hit box takes in; 0 (the default): only by their brightness
extern int32_t menustatemarks;

// appends an item, a null caption as an empty one; x and y may carry 0x10000 (centre on it) or
// 0x20000 (right or bottom edge)
void createmenuitem(const char *text, int x, int y, int size, float red, float green, float blue);
// gives the last created item an option's fields; nothing when this frame has no such item, nor
// for an option that names a variable (3 to 6, 8, 9) given a null address
void setmenuitem(int option, intptr_t a, int b = 0);
// typed forms of setmenuitem: the last item flips bit 0 of variable (optiontoggle)
void setmenutoggle(int32_t *variable);
// the last item stores value into variable, drawn on while it holds it: a radio choice (optionset)
void setmenuradio(int32_t *variable, int32_t value);
// the last item edits the string in buffer, of size bytes (optionstringinput); nothing when the
// buffer holds no string or is shorter than the caption, which a full field would write past
void setmenutextfield(char *buffer, int size);
// the last item runs click while it is active (optioncallback)
void setmenuclick(void (*click)());
// the last item's text field takes up to characters characters, in a row of characters + 1
// cells, whatever its caption's length; nothing outside 0 to menuinputarea - 1, nor when it would
// widen a string field already given its buffer, which was checked against the width it had
void setmenufieldwidth(int characters);
// the last item is the one Escape or the pad's east button activates while navigation is on
void setmenuback();
// 1 when the last item was activated (by the pointer, its hotkey or the navigation) in the
// latest checkmenuitems, the last frame's while the items are built before it; once: the answer
// is used up
int menuclicked();
// appends a blank slot that is never hit, activated or drawn
void createmenuitemempty();
// the slots that hold this frame's items: numofmenuitems kept within the table
int menuitemsinuse();
// clears the activity flags of every slot
void resetmenuitems();
// fills keyboardlabel; once at start-up
void setupmenuitems();

// [SECTION] interaction
// 1 while a text input was active at the end of the last checkmenuitems: hotkeys then sleep
extern int32_t menuinputkeyboard;
// menuinputkeyboard as the frame found it, before this frame's checkmenuitems: the Escape or
// Return that ends an edit, and the keys typed into it, are then no command of the game's
extern int32_t prevmenuinputkeyboard;
// 1 when this frame's checkmenuitems acted on a press: a new left press on an enabled item, a
// hotkey that fired, or a navigation key or pad button; that press is then no command of the game's
extern int32_t menutookinput;

// once per frame after the input polls: states, activations, callbacks, keyboard ownership
void checkmenuitems();
// begins the edit of the text field in slot (enabled, built in that frame) at the next
// checkmenuitems, as its hotkey would: the whole text selected, unless the left button is down
// (then the cursor goes under the pointer); nothing for any other item
void beginmenuinput(int slot);
// ends any field's edit at once, as Return or Escape would, keeping the text; hotkeys wake
void endmenuinput();
// toggle callback: flips bit 0 of the item's int
void menutoggle();
// set callback: stores the item's set value into its int
void menuset();

// [SECTION] focus navigation
// One focused slot, kept across frames, moved in screen order (by top edge, then left edge) and
// activated like a click; a click moves it too. A game turns navigation on in menunavigation
constexpr int navigatekeys = 1;  // Tab, Shift+Tab and the arrows move; Return, Space activate
constexpr int navigatepad = 2;   // the first pad's d-pad and left stick move; south activates
extern int32_t menunavigation;   // navigatekeys | navigatepad, or 0 (the default): none
extern int32_t menufocus;        // the focused slot; -1 (or an item it cannot take) for none
extern int32_t menufocusshown;   // 1 while drawn: keys or pad moved it last; the mouse hides it

// [SECTION] text entry
constexpr int menuinputsize = 256;  // bytes of the edit buffers, terminator included
constexpr int menuinputarea = 192;  // the bytes that editing acts on

// getinputletter's character classes
constexpr int acceptletters = 0x01;
constexpr int acceptdigits = 0x02;
constexpr int acceptperiod = 0x04;
constexpr int acceptspace = 0x08;
constexpr int acceptminus = 0x10;
constexpr int acceptpunctuation = 0x20;
constexpr int acceptbeyondascii = 0x40;  // every character past ASCII: accented letters, signs
constexpr int acceptall = 0xff;

// getinputletter's results besides printable characters
constexpr int typednothing = -1;
constexpr int typeddelete = 9;     // delete forward
constexpr int typedbackspace = 10; // delete backward
constexpr int typedend = 11;       // Return or Escape
constexpr int typedtab = 12;       // on to the next text input

extern char menuinput[menuinputsize];      // the text being edited, UTF-8
extern char menuinputtemp[menuinputsize];  // scratch: formatted values
extern int32_t menuinputcursorpos;         // where the next character goes, a byte offset
extern int32_t menuinputselectpos;         // selection anchor; the selection lies up to the cursor
extern int32_t menuinputinsert;            // 0 typing inserts, 1 typing overwrites

// text input callback: loads the variable, edits by keys and mouse, writes the text back
void menutextbox();
// this frame's typed character (a code point: what the platform translated the key's press into,
// by a US layout when it did not) or control code; moves the cursor by whole characters, Ctrl+A
// selects all, Insert toggles insert mode; a chord with Ctrl, Alt or a system key types nothing
int getinputletter(int repeat, int accept);
// the character c (a code point) at the cursor, inserted or overwriting one, as UTF-8
void addmenuinputchar(int c);
// removes the selection and cuts the text to the whole characters of the work area; 1 when
// something was selected
int deleteselectedtext();
// the field cell of a position in menuinput: the characters before it
int menuinputcell(int position);
// a text input's variable in its text form ("%d", "%u", "%g" or the string), cut to fit
void formatmenuvalue(const menuitemrecord &item, char out[menuinputsize]);

// [SECTION] drawing
// every item of the frame: captions by state, hotkey letters, state marks, text fields with their
// cursor, and the focus while navigation shows it
void drawmenuitems();

// [SECTION] colour edit bars
constexpr int maxeditbars = 3;
struct editbarrecord {
  int32_t x, y;           // left and top edge, virtual pixels
  int32_t width, height;  // virtual pixels
  float red, green, blue; // the colour of the right end; the left end is black
  float *value;           // the variable shown and edited, 0.0 to 1.0; the caller's
};
extern editbarrecord editbar[maxeditbars];
extern int32_t numofeditbars;  // bars in use, set by the caller every frame

// the value a drag at virtual column x sets on a bar, snapped to eighths when asked
float editbarvalue(const editbarrecord &bar, int x, bool snap);
// with the left button held, the bar under the pointer takes the value of its column;
// Ctrl snaps it to eighths, Shift gives every bar the same value
void checkeditbars();
// every bar in use as a black-to-colour ramp with a grey marker, in one batch of quads
void rendereditbars();
