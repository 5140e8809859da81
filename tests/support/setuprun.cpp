// The end-to-end harness: process control, a tiny X client and xdotool.
#include "setuprun.h"
#include "xserver.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#ifndef TAVREL_SETUP_BINARY
#error "TAVREL_SETUP_BINARY must name the program under test"
#endif
#ifndef TAVREL_DATA_DIR
#error "TAVREL_DATA_DIR must name the artwork directory"
#endif
#ifndef TAVREL_SLOWSWAP_LIBRARY
#error "TAVREL_SLOWSWAP_LIBRARY must name the library that slows the buffer swap"
#endif

static void sleepms(int ms)
{
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

static std::vector<std::string> workdirs;

static void removeworkdirs()
{
  for (const std::string &dir : workdirs) {
    std::string command = "rm -rf '" + dir + "' '" + dir + ".stderr'";
    [[maybe_unused]] const int status = system(command.c_str());
  }
}

std::string makeworkdir()
{
  char pattern[] = "/tmp/tavrel-e2e-XXXXXX";
  if (!mkdtemp(pattern))
    throw std::runtime_error("mkdtemp failed");
  if (workdirs.empty())
    atexit(removeworkdirs);
  workdirs.push_back(pattern);
  chmod(pattern, 0777);  // runs that drop to another user still need to get in
  for (const char *artwork : {"font.bmp", "tvr.bmp"}) {
    std::vector<unsigned char> bytes = readbytes(std::string(TAVREL_DATA_DIR) + "/" + artwork);
    if (!bytes.empty())
      writebytes(std::string(pattern) + "/" + artwork, bytes);
  }
  return pattern;
}

setuprun::setuprun(const std::string &workdir, const std::vector<std::string> &prefix,
                   bool withdisplay, const std::string &program)
    : dir(workdir)
{
  startxserver();
  std::string errorfile = dir + ".stderr";
  pid = fork();
  if (pid == 0) {
    if (chdir(dir.c_str()) != 0)
      _exit(126);
    int errors = open(errorfile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    dup2(errors, 2);
    if (!withdisplay)
      unsetenv("DISPLAY");
    std::vector<std::string> words = prefix;
    words.push_back(program.empty() ? TAVREL_SETUP_BINARY : program);
    std::vector<char *> argv;
    for (std::string &word : words)
      argv.push_back(word.data());
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
}

setuprun::~setuprun()
{
  if (pid > 0) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  }
}

std::string setuprun::errors() const
{
  std::vector<unsigned char> bytes = readbytes(dir + ".stderr");
  return std::string(bytes.begin(), bytes.end());
}

// windows of earlier runs may vanish while they are looked at; that is no reason to stop
static int ignorexerror(Display *, XErrorEvent *)
{
  return 0;
}

static Display *opendisplay()
{
  XSetErrorHandler(ignorexerror);
  return XOpenDisplay(nullptr);
}

// depth-first search for a window by its name
static Window findnamed(Display *display, Window parent, const char *name)
{
  char *title = nullptr;
  if (XFetchName(display, parent, &title) && title) {
    bool match = strcmp(title, name) == 0;
    XFree(title);
    if (match)
      return parent;
  }
  Window root, up, *children = nullptr;
  unsigned int count = 0;
  Window found = 0;
  if (XQueryTree(display, parent, &root, &up, &children, &count)) {
    for (unsigned int i = 0; i < count && !found; ++i)
      found = findnamed(display, children[i], name);
    XFree(children);
  }
  return found;
}

bool setuprun::waitforwindow(int timeoutms, const char *title)
{
  Display *display = opendisplay();
  if (!display)
    return false;
  for (int waited = 0; waited < timeoutms && !window; waited += 50) {
    Window candidate = findnamed(display, DefaultRootWindow(display), title);
    XWindowAttributes attributes;
    if (candidate && XGetWindowAttributes(display, candidate, &attributes) &&
        attributes.map_state == IsViewable)
      window = candidate;
    else
      sleepms(50);
  }
  XCloseDisplay(display);
  return window != 0;
}

void setuprun::closewindow()
{
  Display *display = opendisplay();
  if (!display)
    return;
  XEvent event = {};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &event);
  XFlush(display);
  XCloseDisplay(display);
}

// to 0: the root window, where no program listens
static void setfocus(Window to)
{
  Display *display = opendisplay();
  if (!display)
    return;
  XSetInputFocus(display, to ? to : DefaultRootWindow(display), RevertToPointerRoot, CurrentTime);
  XSync(display, False);
  XCloseDisplay(display);
  sleepms(200);  // several frames to see it
}

void setuprun::losefocus() { setfocus(0); }
void setuprun::takefocus() { setfocus(window); }

bool setuprun::shown()
{
  Display *display = opendisplay();
  if (!display)
    return false;
  XWindowAttributes attributes;
  const bool viewable = XGetWindowAttributes(display, window, &attributes) &&
                        attributes.map_state == IsViewable;
  XCloseDisplay(display);
  return viewable;
}

void setuprun::restore()
{
  xdotool({"windowactivate", std::to_string(window)});
}

int setuprun::waitforexit(int timeoutms)
{
  for (int waited = 0; waited < timeoutms; waited += 20) {
    int status;
    pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) {
      pid = -1;
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    sleepms(20);
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  pid = -1;
  return -1;
}

std::vector<std::string> slowframes()
{
  std::string preload = TAVREL_SLOWSWAP_LIBRARY;
  if (const char *others = getenv("LD_PRELOAD"); others && *others)
    preload += std::string(":") + others;
  return {"env", "LD_PRELOAD=" + preload};
}

// a window manager says it runs by naming its check window on the root window
static bool managed()
{
  Display *display = opendisplay();
  if (!display)
    return false;
  Atom type;
  int format;
  unsigned long count = 0, after;
  unsigned char *value = nullptr;
  XGetWindowProperty(display, DefaultRootWindow(display),
                     XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False), 0, 1, False,
                     XA_WINDOW, &type, &format, &count, &after, &value);
  if (value)
    XFree(value);
  XCloseDisplay(display);
  return count == 1;
}

windowmanager::windowmanager()
{
  startxserver();
  pid = fork();
  if (pid == 0) {
    silenceoutput();
    execlp("openbox", "openbox", (char *)nullptr);
    _exit(127);
  }
  for (int waited = 0; waited < 10000 && !managed(); waited += 50)
    sleepms(50);
}

windowmanager::~windowmanager()
{
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
  for (int waited = 0; waited < 5000 && managed(); waited += 50)
    sleepms(50);  // its check window may outlive it a moment
}

int xdotool(const std::vector<std::string> &arguments)
{
  startxserver();
  std::string command = "xdotool";
  for (const std::string &argument : arguments) {
    command += " '";
    for (char c : argument)
      command += c == '\'' ? std::string("'\\''") : std::string(1, c);  // quoted for the shell
    command += "'";
  }
  return system(command.c_str());
}

// the pointer is pushed to the screen's far corner, outside the window where the window leaves
// room; a window that fills the screen leaves none, and then the server is asked whether another
// client holds the pointer, as the program's grab does
bool setuprun::pointerheld()
{
  Display *display = opendisplay();
  if (!display)
    return false;
  const Window root = DefaultRootWindow(display);
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes)) {
    XCloseDisplay(display);
    return false;
  }
  const int screenwidth = DisplayWidth(display, DefaultScreen(display));
  const int screenheight = DisplayHeight(display, DefaultScreen(display));
  int left = 0, top = 0;
  Window child;
  XTranslateCoordinates(display, window, root, 0, 0, &left, &top, &child);
  bool held;
  if (left + attributes.width < screenwidth || top + attributes.height < screenheight) {
    XWarpPointer(display, None, root, 0, 0, 0, 0, screenwidth - 1, screenheight - 1);
    XSync(display, False);
    Window rootreturn;
    int rootx = 0, rooty = 0, x = -1, y = -1;
    unsigned int mask;
    XQueryPointer(display, window, &rootreturn, &child, &rootx, &rooty, &x, &y, &mask);
    held = x >= 0 && x < attributes.width && y >= 0 && y < attributes.height;
  } else {
    const int grab = XGrabPointer(display, root, False, 0, GrabModeAsync, GrabModeAsync, None,
                                  None, CurrentTime);
    if (grab == GrabSuccess)
      XUngrabPointer(display, CurrentTime);
    held = grab == AlreadyGrabbed;
  }
  XCloseDisplay(display);
  return held;
}

// the window's size, or, while no X window was found (a program on a Wayland compositor), the
// compositor's 640x480 output at the screen's top left; the pointer is asked for relative to it
static void pointerarea(Display *display, Window window, int &width, int &height)
{
  XWindowAttributes attributes;
  width = 640, height = 480;
  if (window && XGetWindowAttributes(display, window, &attributes))
    width = attributes.width, height = attributes.height;
}

void setuprun::windowsize(int &width, int &height)
{
  width = height = 0;
  Display *display = opendisplay();
  XWindowAttributes attributes;
  if (display && window && XGetWindowAttributes(display, window, &attributes))
    width = attributes.width, height = attributes.height;
  if (display)
    XCloseDisplay(display);
}

// the window pixel that the program scales to virtual (x, y)
static void windowpixel(Display *display, Window window, int &x, int &y)
{
  int width, height;
  pointerarea(display, window, width, height);
  x = (x * width + 639) / 640;
  y = (y * height + 479) / 480;
}

// SDL follows a mouse by its relative motion and clamps what it adds up to the window, so the
// pointer is first pushed far past the top-left corner and then moved by exact steps. The motion
// is a device's, as a player's mouse makes it (raw motion, which a warp of the pointer does not
// make). SDL 1.2 may re-centre the real pointer whenever it comes near an edge, and the grab
// confines it to the window, so each step starts from where the pointer really is and stays
// inside the window
static void relativepointto(Display *display, Window window, int x, int y)
{
  auto move = [&](int dx, int dy) {
    xdotool({"mousemove_relative", "--", std::to_string(dx), std::to_string(dy)});
    sleepms(40);
  };
  const Window origin = window ? window : DefaultRootWindow(display);
  auto where = [&](int &wx, int &wy) {
    Window root, child;
    int rootx, rooty;
    unsigned int mask;
    XQueryPointer(display, origin, &root, &child, &rootx, &rooty, &wx, &wy, &mask);
  };
  int width, height;
  pointerarea(display, window, width, height);
  windowpixel(display, window, x, y);
  for (int push = 0; push < 4; ++push)
    move(-2000, -2000);
  int cornerx, cornery;  // a pointer no grab holds stops at the screen's corner, maybe outside
  where(cornerx, cornery);
  if (cornerx < 0 || cornery < 0)
    move(std::max(-cornerx, 0), std::max(-cornery, 0));
  int leftx = x, lefty = y;
  for (int step = 0; (leftx > 0 || lefty > 0) && step < 20; ++step) {  // a stuck pointer ends it
    int wx, wy;
    where(wx, wy);
    int stepx = std::min(leftx, width - 1 - wx), stepy = std::min(lefty, height - 1 - wy);
    move(stepx, stepy);
    leftx -= stepx;
    lefty -= stepy;
  }
}

// one jump of the pointer to a place on the screen, as an absolute device makes it
static void absolutepointto(Display *display, Window window, int x, int y)
{
  windowpixel(display, window, x, y);
  if (window)
    xdotool({"mousemove", "--window", std::to_string(window), std::to_string(x),
             std::to_string(y)});
  else
    xdotool({"mousemove", std::to_string(x), std::to_string(y)});
}

// the mixed moves wander by relative motion to the opposite side first, past the edges where
// the real pointer may be re-centred
void setuprun::pointto(int x, int y)
{
  Display *display = opendisplay();
  if (!display)
    return;
  if (moves == relativemoves)
    relativepointto(display, window, x, y);
  if (moves == mixedmoves)
    relativepointto(display, window, 639 - x, 479 - y);
  if (moves != relativemoves)
    absolutepointto(display, window, x, y);
  XCloseDisplay(display);
  sleepms(60);
}

static void xdotoolheld(const char *action, const std::string &what)
{
  xdotool({action, what});
  sleepms(120);  // several frames: a press shorter than a frame is never seen
}

void setuprun::buttondown() { xdotoolheld("mousedown", "1"); }
void setuprun::buttonup() { xdotoolheld("mouseup", "1"); }
void setuprun::keydown(const std::string &key) { xdotoolheld("keydown", key); }
void setuprun::keyup(const std::string &key) { xdotoolheld("keyup", key); }

void setuprun::clickat(int x, int y)
{
  pointto(x, y);
  buttondown();
  buttonup();
}

void setuprun::press(const std::string &key)
{
  keydown(key);
  keyup(key);
}

std::vector<unsigned char> setuprun::capture()
{
  char rawname[] = "/tmp/tavrel-capture-XXXXXX";
  int fd = mkstemp(rawname);
  if (fd < 0)
    return {};
  close(fd);
  const std::string source = window ? "-id " + std::to_string(window) : "-root";
  std::string command = "xwd -silent " + source +
                        " | /usr/bin/convert xwd:- -crop 640x480+0+0 +repage -depth 8 rgb:" +
                        rawname;
  std::vector<unsigned char> pixels;
  if (system(command.c_str()) == 0)
    pixels = readbytes(rawname);
  unlink(rawname);
  if (pixels.size() != size_t(640) * 480 * 3)
    pixels.clear();
  return pixels;
}
