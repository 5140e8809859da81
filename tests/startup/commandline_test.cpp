// The shared command line as a game sees it: its own name and version for --version and --help,
// the engine's version beside it, and the complaints sent through the message callback.
#include "engine.h"

#include <gtest/gtest.h>
#include <regex>
#include <string>
#include <vector>

namespace {

std::vector<std::string> messages;

const char *gameversion;  // what the game "mygame" passes as its version

int asgame(int argc, char **argv)
{
  return readgamearguments(argc, argv, "mygame", gameversion, "  help\n");
}

int asengineprogram(int argc, char **argv)
{
  return readprogramarguments(argc, argv, "tavrel-setup", nullptr);
}

// the status of the arguments read as read reads them, and what it printed on standard output
std::pair<int, std::string> answer(int (*read)(int, char **), std::vector<const char *> arguments)
{
  arguments.insert(arguments.begin(), "program");
  testing::internal::CaptureStdout();
  const int status = read(int(arguments.size()), const_cast<char **>(arguments.data()));
  return {status, testing::internal::GetCapturedStdout()};
}

TEST(commandline, a_game_answers_with_its_own_name_and_version)
{
  const std::string engine = engineversion();
  EXPECT_TRUE(std::regex_match(engine, std::regex("[0-9]+\\.[0-9]+\\.[0-9]+"))) << engine;
  gameversion = "1.2-beta";
  EXPECT_EQ(answer(asgame, {"--version"}), std::make_pair(0, std::string("mygame 1.2-beta\n")));
  EXPECT_EQ(answer(asgame, {"-h"}).second,
            "usage: mygame [GAME_FOLDER | --player-folder | --help | --version]\n  help\n");
  EXPECT_EQ(answer(asgame, {}), std::make_pair(-1, std::string()));
  gameversion = nullptr;
  EXPECT_EQ(answer(asgame, {"--version"}).second, "mygame " + engine + "\n");
  EXPECT_EQ(answer(asengineprogram, {"--version"}).second, "tavrel-setup " + engine + "\n");
}

TEST(commandline, complaints_go_to_the_message_callback_as_whole_lines)
{
  messages.clear();
  setmessagecallback([](const char *line) { messages.push_back(line); });
  EXPECT_EQ(answer(asgame, {"--frobnicate"}), std::make_pair(2, std::string()));
  EXPECT_EQ(answer(asgame, {"/nowhere/at/all"}).first, 1);
  setmessagecallback(nullptr);
  const std::vector<std::string> expected = {
      "mygame: unexpected argument '--frobnicate'",
      "usage: mygame [GAME_FOLDER | --player-folder | --help | --version]",
      "mygame: cannot open the folder /nowhere/at/all: No such file or directory"};
  EXPECT_EQ(messages, expected);
}

}  // namespace
