// Starts Xvfb with -displayfd so that the server itself picks a free display number, and weston
// as an X client of it.
#include "xserver.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

static pid_t serverpid = 0;
static std::string servername;
static std::string serverscreen;  // the running server's screen size

static void stopserver(pid_t &pid)
{
  if (pid > 0) {
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    pid = 0;
  }
}

void silenceoutput()
{
  int quiet = open("/dev/null", O_WRONLY);
  dup2(quiet, 1);
  dup2(quiet, 2);
}

static void stopxserver()
{
  stopserver(serverpid);
}

static std::string readdisplaynumber(int fd)
{
  std::string number;
  char c;
  while (read(fd, &c, 1) == 1 && c != '\n')
    number += c;
  return number;
}

std::string startxserver(const char *screen)
{
  if (serverpid > 0 && (!screen || serverscreen == screen))
    return servername;
  stopserver(serverpid);
  serverscreen = screen ? screen : "1024x768";
  int pipefd[2];
  if (pipe(pipefd) != 0)
    throw std::runtime_error("pipe failed");
  serverpid = fork();
  if (serverpid == 0) {
    close(pipefd[0]);
    silenceoutput();
    std::string fd = std::to_string(pipefd[1]);
    std::string depth = serverscreen + "x24";
    // -noreset: the server must outlive each client; a reset can drop the next connection
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-noreset", "-nolisten", "tcp", "-screen",
           "0", depth.c_str(), (char *)nullptr);
    _exit(127);
  }
  close(pipefd[1]);
  std::string number = readdisplaynumber(pipefd[0]);
  close(pipefd[0]);
  if (number.empty())
    throw std::runtime_error("Xvfb did not start (is the xvfb package installed?)");
  servername = ":" + number;
  setenv("DISPLAY", servername.c_str(), 1);
  static bool stopsatexit = false;
  if (!stopsatexit)
    atexit(stopxserver);
  stopsatexit = true;
  return servername;
}

static pid_t compositorpid = 0;
static std::string runtimedir;

static void stopwaylandserver()
{
  stopserver(compositorpid);
  std::string command = "rm -rf '" + runtimedir + "'";
  // a folder left behind harms no test
  [[maybe_unused]] const int status = system(command.c_str());
}

std::vector<std::string> startwaylandserver()
{
  const std::string socket = "tavrel-wayland";
  if (compositorpid == 0) {
    startxserver();
    char pattern[] = "/tmp/tavrel-wayland-XXXXXX";  // mkdtemp makes it private, as weston wants
    if (!mkdtemp(pattern))
      throw std::runtime_error("mkdtemp failed");
    runtimedir = pattern;
    compositorpid = fork();
    if (compositorpid == 0) {
      silenceoutput();
      setenv("XDG_RUNTIME_DIR", runtimedir.c_str(), 1);
      execlp("weston", "weston", "--backend=x11-backend.so", "--shell=kiosk-shell.so",
             ("--socket=" + socket).c_str(), "--width=640", "--height=480", "--idle-time=0",
             (char *)nullptr);
      _exit(127);
    }
    atexit(stopwaylandserver);
    const std::string ready = runtimedir + "/" + socket;
    for (int waited = 0; waited < 10000 && access(ready.c_str(), F_OK) != 0; waited += 50)
      usleep(50 * 1000);
    if (access(ready.c_str(), F_OK) != 0)
      throw std::runtime_error("weston did not start (is the weston package installed?)");
  }
  return {"WAYLAND_DISPLAY=" + socket, "XDG_RUNTIME_DIR=" + runtimedir};
}
