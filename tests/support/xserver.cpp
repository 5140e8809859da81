// Starts Xvfb with -displayfd so that the server itself picks a free display number.
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

static void stopxserver()
{
  if (serverpid > 0) {
    kill(serverpid, SIGTERM);
    waitpid(serverpid, nullptr, 0);
    serverpid = 0;
  }
}

static std::string readdisplaynumber(int fd)
{
  std::string number;
  char c;
  while (read(fd, &c, 1) == 1 && c != '\n')
    number += c;
  return number;
}

std::string startxserver()
{
  if (serverpid > 0)
    return servername;
  int pipefd[2];
  if (pipe(pipefd) != 0)
    throw std::runtime_error("pipe failed");
  serverpid = fork();
  if (serverpid == 0) {
    close(pipefd[0]);
    int quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, 1);
    dup2(quiet, 2);
    std::string fd = std::to_string(pipefd[1]);
    // -noreset: the server must outlive each client; a reset can drop the next connection
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-noreset", "-nolisten", "tcp", "-screen",
           "0", "1024x768x24", (char *)nullptr);
    _exit(127);
  }
  close(pipefd[1]);
  std::string number = readdisplaynumber(pipefd[0]);
  close(pipefd[0]);
  if (number.empty())
    throw std::runtime_error("Xvfb did not start (is the xvfb package installed?)");
  servername = ":" + number;
  setenv("DISPLAY", servername.c_str(), 1);
  atexit(stopxserver);
  return servername;
}
