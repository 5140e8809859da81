// Platform: the window and its events, per-frame keyboard, mouse and joystick state, and the
// stored hardware configuration ("hwconfig.cfg") that the game reads.
#pragma once

#include <cstdint>

// [SECTION] key codes: the platform's key symbols, the index space of keyboard and of hotkeys;
// every key the platform reports has one. A letter or digit key's code is also its character
// ('a', '7'). The keypad digits, keypad minus and Enter, and the right-hand Shift and Ctrl also set
// their main-block twins in keyboard
constexpr int key_none = 0;
// no key but a character the platform made without one, as classic SDL 1.2 reports the result
// of a dead key or of compose: pressed for one frame, its keypress carrying the character
constexpr int key_text = 1;
constexpr int key_backspace = 8;
constexpr int key_tab = 9;
constexpr int key_clear = 12;
constexpr int key_return = 13;
constexpr int key_pause = 19;
constexpr int key_escape = 27;
constexpr int key_space = 32;
constexpr int key_exclaim = 33;
constexpr int key_quotedbl = 34;
constexpr int key_hash = 35;
constexpr int key_dollar = 36;
constexpr int key_ampersand = 38;
constexpr int key_quote = 39;
constexpr int key_leftparen = 40;
constexpr int key_rightparen = 41;
constexpr int key_asterisk = 42;
constexpr int key_plus = 43;
constexpr int key_comma = 44;
constexpr int key_minus = 45;
constexpr int key_period = 46;
constexpr int key_slash = 47;
constexpr int key_0 = 48;
constexpr int key_1 = 49;
constexpr int key_2 = 50;
constexpr int key_3 = 51;
constexpr int key_4 = 52;
constexpr int key_5 = 53;
constexpr int key_6 = 54;
constexpr int key_7 = 55;
constexpr int key_8 = 56;
constexpr int key_9 = 57;
constexpr int key_colon = 58;
constexpr int key_semicolon = 59;
constexpr int key_less = 60;
constexpr int key_equals = 61;
constexpr int key_greater = 62;
constexpr int key_question = 63;
constexpr int key_at = 64;
constexpr int key_leftbracket = 91;
constexpr int key_backslash = 92;
constexpr int key_rightbracket = 93;
constexpr int key_caret = 94;
constexpr int key_underscore = 95;
constexpr int key_backquote = 96;
constexpr int key_a = 97;
constexpr int key_b = 98;
constexpr int key_c = 99;
constexpr int key_d = 100;
constexpr int key_e = 101;
constexpr int key_f = 102;
constexpr int key_g = 103;
constexpr int key_h = 104;
constexpr int key_i = 105;
constexpr int key_j = 106;
constexpr int key_k = 107;
constexpr int key_l = 108;
constexpr int key_m = 109;
constexpr int key_n = 110;
constexpr int key_o = 111;
constexpr int key_p = 112;
constexpr int key_q = 113;
constexpr int key_r = 114;
constexpr int key_s = 115;
constexpr int key_t_ = 116;              // the system's headers take key_t for a type
constexpr int key_u = 117;
constexpr int key_v = 118;
constexpr int key_w = 119;
constexpr int key_x = 120;
constexpr int key_y = 121;
constexpr int key_z = 122;
constexpr int key_delete = 127;
constexpr int key_world_0 = 160;    // the first of 96 keys of national layouts, key_world_0 + n
constexpr int key_world_95 = 255;   // the last of them
constexpr int key_kp0 = 256;
constexpr int key_kp1 = 257;
constexpr int key_kp2 = 258;
constexpr int key_kp3 = 259;
constexpr int key_kp4 = 260;
constexpr int key_kp5 = 261;
constexpr int key_kp6 = 262;
constexpr int key_kp7 = 263;
constexpr int key_kp8 = 264;
constexpr int key_kp9 = 265;
constexpr int key_kp_period = 266;
constexpr int key_kp_divide = 267;
constexpr int key_kp_multiply = 268;
constexpr int key_kp_minus = 269;
constexpr int key_kp_plus = 270;
constexpr int key_kp_enter = 271;
constexpr int key_kp_equals = 272;
constexpr int key_up = 273;
constexpr int key_down = 274;
constexpr int key_right = 275;
constexpr int key_left = 276;
constexpr int key_insert = 277;
constexpr int key_home = 278;
constexpr int key_end = 279;
constexpr int key_pageup = 280;
constexpr int key_pagedown = 281;
constexpr int key_f1 = 282;
constexpr int key_f2 = 283;
constexpr int key_f3 = 284;
constexpr int key_f4 = 285;
constexpr int key_f5 = 286;
constexpr int key_f6 = 287;
constexpr int key_f7 = 288;
constexpr int key_f8 = 289;
constexpr int key_f9 = 290;
constexpr int key_f10 = 291;
constexpr int key_f11 = 292;
constexpr int key_f12 = 293;        // lets the mouse go and minimises the window in every program
constexpr int key_f13 = 294;
constexpr int key_f14 = 295;
constexpr int key_f15 = 296;
constexpr int key_numlock = 300;    // the first of the modifier keys
constexpr int key_capslock = 301;
constexpr int key_scrollock = 302;
constexpr int key_rshift = 303;
constexpr int key_lshift = 304;
constexpr int key_rctrl = 305;
constexpr int key_lctrl = 306;
constexpr int key_ralt = 307;
constexpr int key_lalt = 308;
constexpr int key_rmeta = 309;
constexpr int key_lmeta = 310;
constexpr int key_lsuper = 311;     // the left Windows key
constexpr int key_rsuper = 312;
constexpr int key_mode = 313;       // Alt Gr
constexpr int key_compose = 314;    // the last of the modifier keys
constexpr int key_help = 315;
constexpr int key_print = 316;
constexpr int key_sysreq = 317;
constexpr int key_break = 318;
constexpr int key_menu = 319;
constexpr int key_power = 320;
constexpr int key_euro = 321;
constexpr int key_undo = 322;
constexpr int keycount = 323;  // one past the last key symbol

// Shift, Ctrl, Alt, the locks and their kin: keys that change other keys rather than act alone
constexpr bool ismodifierkey(int key)
{
  return key >= key_numlock && key <= key_compose;
}

// [SECTION] window state and system events
struct windowstate {
  int32_t width;       // window width in pixels
  int32_t height;      // window height in pixels
  int32_t bits;        // colour depth; informational
  int32_t fullscreen;  // 1 = full-screen mode
  int32_t quit;        // the platform asked the program to end
  int32_t graphics;    // graphics output on: video mode set, textures handed to GL
  int32_t active;      // the window holds the input focus
};
extern windowstate windowinfo;
// turns graphics on or off: windowinfo.graphics and the texture table's uploads together
void setgraphics(int on);
// 1 when the platform is SDL 1.2 over SDL2 (sdl12-compat), which reports versions from 1.2.50 on
int oversdl2();

// asks for 8-bit colour channels, a 16-bit depth and 8-bit stencil buffer, double-buffered
void setupglattributes();
// sets the video mode for windowinfo's size and fullscreen flag; 0 when the platform refuses it
int setvideomode();
// drains the event queue: focus loss and regain (with the texture restore), F12, quit (also
// asked for by a signal)
void checksystemmessages();
// a logout's SIGTERM, and SIGINT, end the program in order, through windowinfo.quit, at any
// moment of its run; a handler the program set itself stays. Before the platform is started
void setupquitsignals();
// gives the two signals back their default action, where they still have the engine's
void shutdownquitsignals();
// 1 once a signal (a logout's SIGTERM, or SIGINT) asked the program to end, unlike the window's
// close button: nobody is in front of the window to be kept waiting
int quitbysignal();
// has the platform count the mouse's motion and the wheel's notches as it reads them, instead of
// queueing them where they could crowd keys out; once the platform is started
void setupeventfilter();
// start-up hook for GL extensions; nothing to do here
void setupglext();

// 1 (the default) while the engine holds the mouse inside its window whenever the window has the
// focus; a game sets it from the player's "Mouse Unlocked" choice
extern int32_t mouselocked;
// sets mouselocked and, while the window has the focus, takes or lets go of the mouse at once;
// the start-up and every focus regain call it to take the mouse
void lockmouse(int locked);
// 0 (the default) while the program shows a pointer: it is where the platform's pointer really
// is, following every device, absolute ones (a tablet, a touch screen) too; 1 while the program
// turns the held mouse's motion into a view (mouse look): mousemotion is then unbounded
extern int32_t mouselook;
// sets mouselook and applies it at once; a game switches it as it shows or hides its pointer
void setmouselook(int on);
// makes the blank pointer that the window shows in place of the platform's own (a web page's
// style hides it); once the platform is started
void setuppointer();

// [SECTION] frame timing
extern float frametime;     // seconds between the last two swaps (the first: since the start-up)
extern int32_t framecount;  // frames shown since the window opened
extern int32_t framecap;    // 0 (the default) or the most frames a second: each swap waits for it

// shows the frame drawn since the last swap, waits for the frame cap and times the frame; in a
// web page it hands the browser its turn until its next animation frame instead, which paces the
// frames whatever the cap
void swapbuffers();
// starts the frame clock again, with no frames counted; the start-up does it
void setupframetiming();

// [SECTION] input state, polled once per frame beside its previous-frame twin
extern uint8_t keyboard[keycount];
extern uint8_t prevkeyboard[keycount];

// The modifiers held as a key went down, as bits. A press keeps its own, since in fast typing
// Shift may already be up in keyboard in the frame that shows the letter's press
constexpr int modshift = 1;    // either Shift
constexpr int modctrl = 2;     // either Ctrl
constexpr int modalt = 4;      // the left Alt
constexpr int modaltgr = 8;    // Alt Gr: the Mode key, or the right Alt, Alt Gr on many layouts
constexpr int modsystem = 16;  // either Meta or Super (Windows) key
// keypressrecord.unicode of a press the platform did not translate: the text field then types by
// a US layout
constexpr int32_t notranslated = -1;
struct keypressrecord {
  int32_t modifiers;                 // the mod... bits held at the press
  int32_t unicode = notranslated;    // what the platform's layout, dead keys and compose made of
                                     // the press: a code point, 0 for no character
};
// per key, what its latest press carried; checkkeyboard writes it for each newly pressed key
extern keypressrecord keypress[keycount];
// the mod... bits of the modifier keys that keyboard holds in this poll
int heldmodifiers();

struct mousestate {
  int32_t x;              // virtual 0..639
  int32_t y;              // virtual 0..479
  int32_t left;           // left button held
  int32_t right;          // right button held
  int32_t leftreleased;   // the left button went up in this poll
  int32_t rightreleased;  // the right button went up in this poll
  int32_t wheelup;        // wheel-up button reads as held
  int32_t wheeldown;      // wheel-down button reads as held
};
extern mousestate mouse;
extern mousestate prevmouse;
extern int32_t mousewheel;   // wheel notches turned since the last poll: up positive, down negative
extern mousestate winmouse;  // raw window position, before scaling and clamping

// the mouse's own motion since the last poll, in window pixels and not stopped by the window's
// edges, for mouse look; 0 while the mouse is not held (unlocked, or the window unfocused)
struct mousemotionstate {
  int32_t x;  // to the right
  int32_t y;  // downwards
};
extern mousemotionstate mousemotion;

constexpr int joystickaxes = 7;
constexpr int joystickbuttons = 32;
struct joystickstate {
  int32_t axis[joystickaxes];      // -32768..32767; axes 0 and 1 are filled
  int32_t button[joystickbuttons]; // 1 while held; buttons 0 to 3 are filled
};
extern joystickstate joystick;
extern joystickstate prevjoystick;

struct _SDL_Joystick;
typedef struct _SDL_Joystick SDL_Joystick;
extern SDL_Joystick *joy1;  // the opened joystick, null when none

// Every opened joystick, the first being joy1's, with all the axes, buttons and hats it has up to
// the capacities below; a twin stick, a pad's shoulder buttons and its hat are read here
constexpr int maxgamepads = 4;
constexpr int gamepadaxes = 16;
constexpr int gamepadbuttons = 32;
constexpr int gamepadhats = 4;
// a hat's directions, one bit each; a diagonal sets two
constexpr int hatup = 1, hatright = 2, hatdown = 4, hatleft = 8;
struct gamepadstate {
  int32_t numofaxes;     // of the arrays' entries, how many the device has; 0 when not open
  int32_t numofbuttons;
  int32_t numofhats;
  int32_t axis[gamepadaxes];       // -32768..32767
  int32_t button[gamepadbuttons];  // 1 while held
  int32_t hat[gamepadhats];        // hatup | hatright | hatdown | hatleft; 0 when centred
};
extern gamepadstate gamepad[maxgamepads];
extern gamepadstate prevgamepad[maxgamepads];
extern int32_t numofgamepads;  // joysticks opened, gamepad[0] up

// [SECTION] named gamepad layout
// Each opened pad's sticks, triggers and buttons by their place on the pad, whatever the device
// numbers them, filled by checkjoystick beside gamepad[]
// buttons: the four face buttons by compass point (south is Xbox A, PlayStation cross), ...
constexpr int padsouth = 0, padeast = 1, padwest = 2, padnorth = 3;
constexpr int padleftshoulder = 4, padrightshoulder = 5, padback = 6, padstart = 7;
constexpr int padleftstick = 8, padrightstick = 9;  // the sticks pressed in
constexpr int paddpadup = 10, paddpaddown = 11, paddpadleft = 12, paddpadright = 13;
constexpr int namedpadbuttons = 14;
// axes: the sticks from -1 to 1 (x to the right, y downwards), the triggers from 0 to 1
constexpr int padleftx = 0, padlefty = 1, padrightx = 2, padrighty = 3;
constexpr int padlefttrigger = 4, padrighttrigger = 5;
constexpr int namedpadaxes = 6;
struct namedpadstate {
  float axis[namedpadaxes];           // with the dead zone applied: 0 near the centre
  int32_t button[namedpadbuttons];    // 1 while held
};
extern namedpadstate namedpad[maxgamepads];
extern namedpadstate prevnamedpad[maxgamepads];
// 1 when a named button (padsouth...) of pad is held in this poll and was not in the last
int padpressed(int pad, int button);
// the dead zones: a stick nearer its centre than this share of its throw reads 0 (measured round
// the centre, so a diagonal is not cut), a trigger pulled less than this share reads 0; past them
// the reading grows from 0 again and reaches 1 at full throw
constexpr float padstickdeadzone = 0.2f;
constexpr float padtriggerdeadzone = 0.1f;
// Which layout reads a pad: a line added for its name (by addpadmapping, or the player's
// TAVREL_GAMEPAD_MAPPING), else the first line of the known pads' table for its name whose
// controls the pad all has, else the common layout of the Linux pad drivers
constexpr int padnamelength = 128;        // a pad's name kept, with its terminating zero
extern char gamepadname[maxgamepads][padnamelength];  // as the platform reports each opened pad
extern int32_t padlayoutknown[maxgamepads];  // 1: a line for its name reads it; 0: the default
constexpr int maxpadmappings = 16;        // lines added while the program runs
constexpr int maxpadmappinglength = 511;  // bytes in one line, its name included
// adds a mapping line, "name,control:source,..." (a line for a name added before is replaced),
// and lays the opened pads out again; 1 when taken, 0 when refused (padmappingerror says why)
int addpadmapping(const char *line);
// why the last addpadmapping refused its line, in a few words; null once a line was taken
const char *padmappingerror();

// [SECTION] presses that no frame may miss
// Keys and buttons are polled once a frame, so a press released before the next frame would go
// unseen. checksystemmessages therefore queues every key and button change it drains and, at the
// end of the drain, hands the queue out in order. A change that would change a key or button a
// second time since the last frame (a press let go, a release pressed again) waits for the next
// frame, and so does every later change of that code. Behind a waiting change also wait the later
// presses, so that keys arrive in the order they were typed, and the later changes of modifier
// keys, so that a letter keeps the Shift it was typed with; releases of other keys and buttons
// go through. A key or button with a change still waiting reads as handed out, every other one as
// polled; when each press lasts a frame nothing waits, and the polls read exactly what the
// platform reports. So a burst of typing arrives in order, a press held for one frame and a
// doubled key released for one frame between its two presses. A key's press brings the modifiers
// it was made with along (keypress), for a Shift let go in the frame that hands the press out.
// Wheel notches are counted, never queued: each frame hands out the notches drained since the
// last one (mousewheel), and the wheel buttons read as pressed in a frame that has notches of
// theirs and as released in the frame after it, so a flick of the wheel never holds up a key.
constexpr int maxwaitinginput = 1024;     // changes kept for later frames; more are dropped
constexpr int inputcodes = keycount + 8;  // the key codes, then mouse buttons 0 to 7

// the input code of mouse button 1 to 7 (1 left, 3 right, 4 and 5 the wheel)
constexpr int buttoncode(int button) { return keycount + button; }

// queues a change of a key or button (an input code above 0) drained from the platform, a key's
// press with what it carried; a press of a wheel button counts a notch
void queueinput(int code, int held, keypressrecord press = {});
// hands out this frame's share of the queue; once a frame, after the events are drained
void handoutinput();
// what the press of the key handed out in the last hand-out carried; null when none was
const keypressrecord *handedoutpress(int key);
// what an input code reads in this frame: as handed out while a change of it waits, else polled;
// a wheel button always as handed out
int inputstate(int code, int polled);
// the wheel notches of the last hand-out: up positive, down negative
int wheelnotches();
// adds the mouse's own motion drained from the platform
void queuemotion(int x, int y);
// drops the mouse's motion of the next hand-outs, that many, and of grabsettlingseconds: classic
// SDL 1.2 reports the grab's warp of the pointer into the window, and the way from where it last
// saw it, as motion
void dropmotion(int frames);
constexpr int grabsettlingframes = 2;  // the hand-outs after a grab that such motion may reach
constexpr float grabsettlingseconds = 0.5f;  // and the time it may take a busy machine
// the motion added since the last call, for the poll
mousemotionstate handoutmotion();

// copies the platform's key states, keypad and right-hand modifiers folded onto their twins
void checkkeyboard();
// the main-block twin that a keypad or right-hand key also sets in keyboard, else the key itself
int mainkey(int key);
// 1 when the key is held in this poll and was not in the last: newly pressed
int keypressed(int key);
// the pointer in virtual coordinates and the buttons; parked at the centre while unfocused
void checkmouse();
// axes 0-1 and buttons 0-3 of joy1, and every opened joystick into gamepad and by its layout into
// namedpad, when config.usejoystick is on
void checkjoystick();
// starts the platform's joystick support and opens the first maxgamepads joysticks, the first
// into joy1, each named and laid out (with the lines of TAVREL_GAMEPAD_MAPPING); no joystick
// leaves joy1 null and numofgamepads 0, which is no error
void setupjoystick();
// closes every opened joystick and empties gamepad and namedpad, their names and layouts
void shutdownjoystick();

// [SECTION] hardware configuration, "hwconfig.cfg"
struct hardwareconfig {
  int32_t width;          // game resolution
  int32_t height;         // settled from width at exit
  int32_t bits;           // colour depth, carried through
  int32_t fullscreen;
  int32_t gameflag;       // carried through
  int32_t sound;
  int32_t usejoystick;
  int32_t mouseunlocked;
  int32_t interface;
  float textred;          // interface text colour, 0.0 to 1.0
  float textgreen;
  float textblue;
  int32_t lowtexture;
};
constexpr int materialcolors = 96;
extern hardwareconfig config;
extern float materialcolor[materialcolors];  // carried through for the game, never shown
extern int32_t editormovemode;              // carried through for the game, never shown

constexpr const char *configfilename = "hwconfig.cfg";
constexpr int configversion = 4;
constexpr int configfilebytes = 444;  // size of a version-4 file

constexpr int largestwindowside = 8192;  // a stored size beyond it is no window a game can open

// defaults, then whatever "hwconfig.cfg" holds in any of versions 1 to 4
void loadconfig();
// the height stored for a width, as the set-up utility settles it: 480 for 640, 600 for 800, 768
// for 1024, 960 for 1280; any other width keeps the height given
int settledheight(int width, int height);
// reads a whole "hwconfig.cfg" image over the current values, as loadconfig does with the file
void decodeconfig(const unsigned char *bytes, unsigned long count);
// the version-4 image of the current configuration, 444 bytes
void encodeconfig(unsigned char out[configfilebytes]);
// writes "hwconfig.cfg" in version 4 without ever leaving a damaged file; 0 or an errno value
int saveconfig();
