// Calls made before the start-up, outside their place in the frame or with bad arguments: each
// does nothing harmful, as the reference says, and the sanitizer build sees no stray access.
#include "engine.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace {

TEST(misuse, calls_before_the_start_up_or_with_bad_arguments_do_no_harm)
{
  windowinfo = {};  // no window yet: nothing to scale by, nothing to swap or shut
  checkmouse();
  EXPECT_EQ(mouse.x, 320);
  config.usejoystick = 1;
  checkjoystick();
  setupglattributes();
  swapbuffers();
  shutdownengine();
  shutdownengine();

  numofmenuitems = 0;  // callbacks outside the menu pass name no item
  menutoggle();
  menuset();
  menutextbox();
  editbar[0] = {0, 0, 10, 10, 1, 0, 0, nullptr};  // a bar bound to no variable
  numofeditbars = 1;
  mouse = {5, 5, 1, 0, 0, 0, 0, 0};
  checkeditbars();
  numofeditbars = 0;

  for (int slot : {-1, maxtextures}) {
    settexture(slot, 1, 1, 0, nullptr);
    uploadloadedtexture(slot);
    generatemipmap(slot);
  }
  generatemipmap(0);  // an empty slot has no room for a chain
  loadtexturebmp(1, nullptr, 0);
  EXPECT_STREQ(textureloaderror(), "cannot open the file");
  EXPECT_EQ(loadsound(1, nullptr), 0);
  EXPECT_EQ(finddatafile(nullptr), "");
  EXPECT_EQ(replacefile(nullptr, nullptr, 0), EINVAL);
  EXPECT_EQ(checkfilespec(nullptr, "a"), 1);
  filenameslot table[2];
  EXPECT_EQ(listfolder(nullptr, "*", table, 0, 2), 0);
  EXPECT_EQ(table[0][0], '\0');
}

}  // namespace
