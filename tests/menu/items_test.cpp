// The item table: placement, what creation keeps of a slot, options, capacity and key labels.
#include "menuframes.h"

#include <cstring>
#include <string>

namespace {

int someint;
void somecallback() {}

class menu_placement : public menuframes {};
class menu_itemtable : public menuframes {};
class menu_capacity : public menuframes {};
class menu_keylabels : public menuframes {};

TEST_F(menu_placement, placement_flags_centre_and_align_then_keep_the_low_16_bits)
{
  const struct {
    int x, y, size;
    const char *text;
    int placedx, placedy;
  } cases[] = {
      {0x10000 + 320, 0x10000 + 240, 16, "Done", 288, 232},
      {0x20000 + 636, 0x20000 + 100, 16, "Done", 572, 84},
      {0x30000 + 320, 40, 16, "Done", 224, 40},  // both flags: 320 - 32 - 64
      {0x10000 + 10, 0, 16, "Done", 65514, 0},   // went negative: wraps off the screen
      {0x10000 + 100, 0x10000 + 100, 15, "abc", 78, 93},  // 45 and 15 halved, rounded down
      {0x10000 + 320, 0, 16, "A\xC3\xB1o", 296, 0},     // "Año": a cell a character
  };
  for (const auto &c : cases) {
    numofmenuitems = 0;
    createmenuitem(c.text, c.x, c.y, c.size, 1, 1, 1);
    EXPECT_EQ(menuitem[0].x, c.placedx) << c.x;
    EXPECT_EQ(menuitem[0].y, c.placedy) << c.y;
  }
}

TEST_F(menu_itemtable, a_long_caption_is_cut_between_characters)
{
  const std::string caption = std::string(62, 'a') + "\xC3\xA9";  // 64 bytes, "é" at the end
  createmenuitem(caption.c_str(), 0, 0, 16, 1, 1, 1);
  EXPECT_EQ(std::string(menuitem[0].text), std::string(62, 'a'));
  EXPECT_EQ(menuitem[0].length, 62);
}

TEST_F(menu_itemtable, creation_keeps_the_slots_activity_and_rewrites_everything_else)
{
  createmenuitem("Old", 5, 5, 8, 1, 1, 1);
  setmenuitem(optiontoggle, (intptr_t)&someint);
  setmenuitem(optionhotkey, letterkey('o'));
  setmenuitem(optionrepeat, 0);
  menuitem[0].active = 1;
  menuitem[0].wasactive = 1;

  numofmenuitems = 0;
  createmenuitem("New", 10, 20, 16, 0.5f, 0.25f, 1);
  const menuitemrecord &item = menuitem[0];
  EXPECT_EQ(item.active, 1);
  EXPECT_EQ(item.wasactive, 1);
  EXPECT_STREQ(item.text, "New");
  EXPECT_EQ(item.length, 3);
  EXPECT_EQ(item.lines, 1);
  EXPECT_EQ(item.state, itemnormal);
  EXPECT_EQ(item.type, itemplain);
  EXPECT_EQ(item.hotkey, 0);
  EXPECT_EQ(item.repeat, 0);
  EXPECT_EQ(item.variable, nullptr);
  EXPECT_EQ(item.callback, nullptr);
  EXPECT_EQ(numofmenuitems, 1);
}

TEST_F(menu_itemtable, options_act_on_the_last_item_and_combine)
{
  menuitem[0].hotkey = 0;  // whatever an earlier test left
  setmenuitem(optionhotkey, letterkey('x'));  // no item yet this frame
  EXPECT_EQ(menuitem[0].hotkey, 0);

  createmenuitem("2. 800x600", 0, 0, 16, 1, 1, 1);
  setmenuitem(optionset, (intptr_t)&someint, 800);
  setmenuitem(optionhotkey, key_0 + 2);
  EXPECT_EQ(menuitem[0].type, itemset);
  EXPECT_EQ(menuitem[0].setvalue, 800);
  EXPECT_EQ(menuitem[0].hotkey, key_0 + 2);
  EXPECT_EQ(menuitem[0].callback, &menuset);

  createmenuitem("Text", 0, 0, 16, 1, 1, 1);
  setmenuitem(optiontoggle, (intptr_t)&someint);
  setmenuitem(optioncallback, (intptr_t)&somecallback);
  setmenuitem(99, 1);
  EXPECT_EQ(menuitem[1].type, itemtoggle);  // still shows its variable
  EXPECT_EQ(menuitem[1].variable, &someint);
  EXPECT_EQ(menuitem[1].callback, &somecallback);

  createmenuitem("Width", 0, 0, 16, 1, 1, 1);
  setmenuitem(optionfloatinput, (intptr_t)&someint);
  EXPECT_EQ(menuitem[2].lines, 2);
  EXPECT_EQ(menuitem[2].length, 5);
  EXPECT_EQ(menuitem[2].inputtype, inputfloat);
  EXPECT_EQ(menuitem[2].callback, &menutextbox);
  EXPECT_EQ(menuitem[0].hotkey, key_0 + 2);  // earlier items untouched
}

TEST_F(menu_itemtable, a_hotkey_outside_the_key_arrays_becomes_no_hotkey)
{
  createmenuitem("Far", 0, 0, 16, 1, 1, 1);
  setmenuitem(optionhotkey, keycount);
  EXPECT_EQ(menuitem[0].hotkey, key_none);
  setmenuitem(optionhotkey, -1);
  EXPECT_EQ(menuitem[0].hotkey, key_none);
}

TEST_F(menu_itemtable, options_that_name_a_variable_are_ignored_without_one)
{
  static const int options[] = {optionintinput, optionunsignedinput, optionfloatinput,
                                optionstringinput, optiontoggle, optionset};
  build = [] {
    for (int option : options) {
      createmenuitem("Item", 0, 0, 16, 1, 1, 1);
      setmenuitem(option, 0, 5);
    }
  };
  click(5, 5);  // every item is hit: none of them reads a variable
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(menuitem[i].type, itemplain) << i;
    EXPECT_EQ(menuitem[i].lines, 1) << i;
    EXPECT_EQ(menuitem[i].callback, nullptr) << i;
    EXPECT_EQ(menuitem[i].setvalue, 0) << i;
  }
}

TEST_F(menu_itemtable, a_typed_text_field_refuses_a_buffer_it_could_write_past)
{
  char shortname[5] = "ab", unterminated[8];
  memset(unterminated, 'x', sizeof unterminated);
  const struct {
    char *buffer;
    int size;
    int type;
    int before = -1, after = -1;  // setmenufieldwidth before and after it, -1 for none
    int fieldwidth = 4;
  } cases[] = {
      {shortname, 4, itemtextinput},  // "Name" takes three characters and a terminator
      {shortname, 3, itemplain},      // a full field would write past it
      {unterminated, 8, itemplain},   // no string to start from
      {nullptr, 5, itemplain},
      {shortname, -1, itemplain},
      {shortname, 5, itemtextinput, 4, -1, 5},  {shortname, 5, itemplain, 5, -1, 6},
      {shortname, 5, itemtextinput, menuinputarea}, {shortname, 5, itemtextinput, -1, 2, 3},
      {shortname, 5, itemtextinput, -1, 4},  // wider than the buffer was checked for
  };
  for (const auto &c : cases) {
    numofmenuitems = 0;
    createmenuitem("Name", 0, 0, 16, 1, 1, 1);
    setmenufieldwidth(c.before);
    setmenutextfield(c.buffer, c.size);
    setmenufieldwidth(c.after);
    EXPECT_EQ(menuitem[0].type, c.type) << c.size << " " << c.before;
    EXPECT_EQ(menuitem[0].variable, c.type == itemtextinput ? shortname : nullptr) << c.size;
    EXPECT_EQ(menuitem[0].fieldwidth, c.fieldwidth) << c.before << " " << c.after;
  }
}

TEST_F(menu_itemtable, a_blank_item_takes_a_slot_and_nothing_else)
{
  createmenuitem("Filled", 5, 5, 16, 1, 1, 1);
  numofmenuitems = 0;
  createmenuitemempty();
  createmenuitem("Next", 0, 0, 16, 1, 1, 1);
  EXPECT_EQ(numofmenuitems, 2);
  EXPECT_STREQ(menuitem[1].text, "Next");
  const char zeros[menutextsize] = {};
  EXPECT_EQ(memcmp(menuitem[0].text, zeros, menutextsize), 0);
  EXPECT_EQ(menuitem[0].state, itemdisabled);
  EXPECT_EQ(menuitem[0].lines, 0);
  EXPECT_EQ(menuitem[0].size, 0);
}

TEST_F(menu_itemtable, reset_clears_every_slot_whether_used_or_not)
{
  menuitem[maxmenuitems - 1].active = 1;
  menuitem[maxmenuitems - 1].wasactive = 1;
  resetmenuitems();
  EXPECT_EQ(menuitem[maxmenuitems - 1].active, 0);
  EXPECT_EQ(menuitem[maxmenuitems - 1].wasactive, 0);
}

TEST_F(menu_capacity, items_past_the_table_and_their_options_change_nothing)
{
  for (int i = 0; i < maxmenuitems; ++i)
    createmenuitem("Item", i, 0, 8, 1, 1, 1);
  setmenuitem(optionhotkey, letterkey('l'));
  const menuitemrecord last = menuitem[maxmenuitems - 1];

  createmenuitem("One too many", 0, 0, 8, 1, 1, 1);
  setmenuitem(optionhotkey, letterkey('x'));
  setmenuitem(optionstate, itemdisabled);
  createmenuitemempty();
  setmenuitem(optionrepeat, 0);
  EXPECT_EQ(numofmenuitems, maxmenuitems);
  EXPECT_EQ(memcmp(&menuitem[maxmenuitems - 1], &last, sizeof last), 0);

  numofmenuitems = 0;  // the next frame has room again
  createmenuitem("First", 0, 0, 8, 1, 1, 1);
  setmenuitem(optionhotkey, letterkey('f'));
  EXPECT_EQ(menuitem[0].hotkey, letterkey('f'));
}

TEST_F(menu_capacity, a_long_caption_is_cut_to_63_characters_and_a_null_one_is_empty)
{
  const std::string caption(100, 'w');
  createmenuitem(caption.c_str(), 0x10000 + 600, 7, 2, 1, 1, 1);
  EXPECT_EQ(std::string(menuitem[0].text), caption.substr(0, menutextsize - 1));
  EXPECT_EQ(menuitem[0].length, menutextsize - 1);
  EXPECT_EQ(menuitem[0].x, 600 - 63);  // placed by what is kept
  EXPECT_EQ(menuitem[0].y, 7);
  createmenuitem(nullptr, 0x10000 + 600, 7, 2, 1, 1, 1);
  EXPECT_STREQ(menuitem[1].text, "");
  EXPECT_EQ(menuitem[1].x, 600);
}

TEST_F(menu_keylabels, key_labels_name_letters_digits_and_a_few_keys)
{
  EXPECT_STREQ(keyboardlabel[key_a], "A");
  EXPECT_STREQ(keyboardlabel[key_z], "Z");
  EXPECT_STREQ(keyboardlabel[key_0], "0");
  EXPECT_STREQ(keyboardlabel[key_kp0 + 5], "Center");
  EXPECT_STREQ(keyboardlabel[key_return], "Enter");
  EXPECT_STREQ(keyboardlabel[key_escape], "");
  EXPECT_STREQ(keyboardlabel[key_kp0 + 2], "");
  int labelled = 0;
  for (int key = 0; key < keycount; ++key)
    labelled += keyboardlabel[key][0] != 0;
  EXPECT_EQ(labelled, 56);
}

}  // namespace
