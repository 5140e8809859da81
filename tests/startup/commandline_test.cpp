// The shared command line as a game reads it: its own name and version, or the engine's.
#include "engine.h"

#include <gtest/gtest.h>
#include <string>

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

}  // namespace
