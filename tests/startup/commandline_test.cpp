// The shared command line as a game reads it: its own name and version, or the engine's.
#include "engine.h"

#include "testfiles.h"

#include <climits>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace {

// what "program argument", read for the game "mygame", prints on standard output
std::string answer(const char *version, const char *argument)
{
  const char *arguments[] = {"program", argument};
  testing::internal::CaptureStdout();
  EXPECT_EQ(readgamearguments(2, const_cast<char **>(arguments), "mygame", version, ""), 0);
  return testing::internal::GetCapturedStdout();
}

TEST(commandline, a_game_answers_with_its_own_name_and_version)
{
  EXPECT_EQ(answer("1.2-beta", "--version"), "mygame 1.2-beta\n");
  EXPECT_EQ(answer(nullptr, "--version"), "mygame " + std::string(engineversion()) + "\n");
}

// a game's own name names its player folder, and the folders of its installed data
TEST(commandline, a_game_keeps_its_player_folder_under_its_own_name)
{
  scratchworkdir home;
  setenv("XDG_DATA_HOME", home.path.c_str(), 1);
  const char *arguments[] = {"program", "--player-folder"};
  EXPECT_EQ(readgamearguments(2, const_cast<char **>(arguments), "mygame", "1", ""), -1);
  unsetenv("XDG_DATA_HOME");
  char here[PATH_MAX];
  ASSERT_NE(getcwd(here, sizeof here), nullptr);
  EXPECT_EQ(std::string(here), home.path + "/mygame");
  EXPECT_STREQ(gamename, "mygame");
  setgamename("tavrel");
}

}  // namespace
