// Menu interaction frame by frame: hit boxes, presses, hotkeys, latching, callbacks, radio
// groups, the keyboard that a text input holds, and the focus that keys and pad move.
#include "menuframes.h"

#include <functional>
#include <utility>
#include <vector>

namespace {

int flag;
int width;
int number;
std::vector<int> calls;

void recordcall()
{
  calls.push_back(currentmenuitem);
  calls.push_back(menuitem[currentmenuitem].wasactive);
}

class menuinteraction : public menuframes {
protected:
  void SetUp() override
  {
    menuframes::SetUp();
    flag = width = number = 0;
    calls.clear();
  }
};

// one item at (100, 50), "Item" in 16-pixel cells: the box is x 100..163, y 50..65
class menu_mouse : public menuinteraction {
protected:
  int state = itemnormal;
  void SetUp() override
  {
    menuinteraction::SetUp();
    build = [this] {
      createmenuitem("Item", 100, 50, 16, 1, 1, 1);
      setmenuitem(optionhotkey, letterkey('i'));
      setmenuitem(optionstate, state);
    };
  }
};

TEST_F(menu_mouse, the_hit_box_takes_its_left_and_top_edges_but_not_its_right_and_bottom)
{
  state = 5;  // any enabled state given is replaced
  const struct {
    int x, y, state;
  } cases[] = {{100, 50, itemhovered}, {163, 65, itemhovered}, {99, 50, itemnormal},
               {164, 50, itemnormal},  {100, 49, itemnormal},  {100, 66, itemnormal}};
  for (const auto &c : cases) {
    pointer(c.x, c.y);
    frame();
    EXPECT_EQ(menuitem[0].state, c.state) << c.x << "," << c.y;
  }
}

TEST_F(menu_mouse, a_held_button_activates_once_and_moving_onto_an_item_activates_nothing)
{
  pointer(120, 55);
  mouse.left = 1;
  frame();
  EXPECT_EQ(menuitem[0].active, 1);
  EXPECT_EQ(menuitem[0].state, itemon);
  frame();
  EXPECT_EQ(menuitem[0].active, 1);  // a polled item stays latched

  resetmenuitems();
  mouse.left = 0;
  pointer(10, 10);
  frame();
  mouse.left = 1;
  frame();
  pointer(120, 55);  // dragged in with the button down
  frame();
  EXPECT_EQ(menuitem[0].active, 0);
  EXPECT_EQ(menuitem[0].state, itemhovered);
}

TEST_F(menu_mouse, a_disabled_item_is_never_hovered_clicked_or_triggered)
{
  state = itemdisabled;
  pointer(120, 55);
  mouse.left = 1;
  hold(letterkey('i'));
  frame();
  EXPECT_EQ(menuitem[0].state, itemdisabled);
  EXPECT_EQ(menuitem[0].active, 0);
}

// a polled item, a toggle on flag and a repeat item with hotkeys p, t and r in a column
class menu_hotkeys : public menuinteraction {
protected:
  void SetUp() override
  {
    menuinteraction::SetUp();
    build = [] {
      createmenuitem("Polled", 0, 0, 16, 1, 1, 1);
      setmenuitem(optionhotkey, letterkey('p'));
      createmenuitem("Toggle", 0, 16, 16, 1, 1, 1);
      setmenuitem(optiontoggle, (intptr_t)&flag);
      setmenuitem(optionhotkey, letterkey('t'));
      createmenuitem("Repeat", 0, 32, 16, 1, 1, 1);
      setmenuitem(optionhotkey, letterkey('r'));
      setmenuitem(optionrepeat, 0);
    };
  }
};

TEST_F(menu_hotkeys, a_click_and_the_hotkey_in_one_frame_flip_a_toggle_once)
{
  pointer(10, 20);
  mouse.left = 1;
  hold(letterkey('t'));
  frame();
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(menuitem[1].active, 0);  // one-shot
  frame();  // both still held: nothing new
  EXPECT_EQ(flag, 1);
}

TEST_F(menu_hotkeys, a_held_hotkey_fires_once_unless_the_item_repeats)
{
  hold(letterkey('t'));
  hold(letterkey('r'));
  for (int i = 0; i < 3; ++i) {
    frame();
    EXPECT_EQ(menuitem[2].active, 1) << "frame " << i;
  }
  EXPECT_EQ(flag, 1);
  letgo(letterkey('r'));
  frame();
  EXPECT_EQ(menuitem[2].active, 0);
}

TEST_F(menu_hotkeys, a_clicked_repeat_item_is_active_for_that_frame_only)
{
  click(10, 40);
  EXPECT_EQ(menuitem[2].active, 0);
  pointer(10, 40);
  mouse.left = 1;
  frame();
  EXPECT_EQ(menuitem[2].active, 1);
  frame();
  EXPECT_EQ(menuitem[2].active, 0);
}

TEST_F(menu_hotkeys, a_polled_item_stays_active_until_a_press_anywhere)
{
  tap(letterkey('p'));
  frame();
  EXPECT_EQ(menuitem[0].active, 1);
  click(600, 400);
  EXPECT_EQ(menuitem[0].active, 0);

  tap(letterkey('p'));
  resetmenuitems();
  frame();
  EXPECT_EQ(menuitem[0].active, 0);
}

TEST_F(menu_hotkeys, a_hotkey_written_outside_the_key_codes_never_fires)
{
  build = [] {
    createmenuitem("Past", 0, 0, 16, 1, 1, 1);
    menuitem[0].hotkey = keycount;  // the table is public: written past setmenuitem's check
    createmenuitem("Below", 0, 16, 16, 1, 1, 1);
    menuitem[1].hotkey = -1;
  };
  frame();
  EXPECT_EQ(menuitem[0].active, 0);
  EXPECT_EQ(menuitem[1].active, 0);
}

TEST_F(menu_hotkeys, toggles_flip_only_the_lowest_bit)
{
  flag = 2;
  frame();
  EXPECT_EQ(menuitem[1].state, itemon);
  tap(letterkey('t'));
  EXPECT_EQ(flag, 3);
  EXPECT_EQ(menuitem[1].state, itemon);
}

// two radio items on width, and two toggles on flag, as the set-up screen has them
class menu_groups : public menuinteraction {
protected:
  void SetUp() override
  {
    menuinteraction::SetUp();
    width = 640;
    build = [] {
      createmenuitem("1. 640x480", 0, 0, 16, 1, 1, 1);
      setmenuitem(optionset, (intptr_t)&width, 640);
      createmenuitem("2. 800x600", 0, 16, 16, 1, 1, 1);
      setmenuitem(optionset, (intptr_t)&width, 800);
      createmenuitem("Text", 0, 32, 16, 1, 1, 1);
      setmenuitem(optiontoggle, (intptr_t)&flag);
      createmenuitem("Color", 80, 32, 16, 1, 1, 1);
      setmenuitem(optiontoggle, (intptr_t)&flag);
    };
  }
};

TEST_F(menu_groups, states_are_settled_before_the_callback_sets_the_variable)
{
  pointer(10, 20);
  mouse.left = 1;
  frame();
  EXPECT_EQ(width, 800);
  EXPECT_EQ(menuitem[0].state, itemon);  // the old value, read before the callback
  EXPECT_EQ(menuitem[1].state, itemon);  // active
  mouse.left = 0;
  frame();
  EXPECT_EQ(menuitem[0].state, itemnormal);
  EXPECT_EQ(menuitem[1].state, itemon);
}

TEST_F(menu_groups, both_toggles_on_one_variable_flip_it_and_show_it)
{
  click(10, 40);
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(menuitem[2].state, itemon);
  EXPECT_EQ(menuitem[3].state, itemon);
  click(90, 40);
  EXPECT_EQ(flag, 0);
  EXPECT_EQ(menuitem[2].state, itemnormal);
}

TEST_F(menu_groups, overlapping_items_are_all_activated_and_the_higher_slot_wins)
{
  build = [] {
    createmenuitem("640", 0, 0, 16, 1, 1, 1);
    setmenuitem(optionset, (intptr_t)&width, 640);
    setmenuitem(optionhotkey, key_1);
    createmenuitem("800", 0, 0, 16, 1, 1, 1);
    setmenuitem(optionset, (intptr_t)&width, 800);
    setmenuitem(optionhotkey, key_1);
  };
  click(5, 5);
  EXPECT_EQ(width, 800);
  width = 0;
  tap(key_1);
  EXPECT_EQ(width, 800);
}

class menu_callbacks : public menuinteraction {};

TEST_F(menu_callbacks, run_in_slot_order_and_see_their_first_frame)
{
  build = [] {
    createmenuitem("A", 0, 0, 16, 1, 1, 1);
    setmenuitem(optioncallback, (intptr_t)&recordcall);
    createmenuitemempty();
    createmenuitem("B", 0, 0, 16, 1, 1, 1);
    setmenuitem(optioncallback, (intptr_t)&recordcall);
  };
  click(5, 5);
  EXPECT_EQ(calls, (std::vector<int>{0, 0, 2, 0}));
  EXPECT_EQ(currentmenuitem, numofmenuitems);
}

TEST_F(menu_callbacks, a_one_shot_item_is_cleared_before_its_activity_is_kept)
{
  build = [] {
    createmenuitem("Held", 0, 0, 16, 1, 1, 1);
    setmenuitem(optioncallback, (intptr_t)&recordcall);
    setmenuitem(optionhotkey, letterkey('h'));
    setmenuitem(optionrepeat, 0);
  };
  hold(letterkey('h'));
  frame();
  frame();  // each frame's run is a new activation
  EXPECT_EQ(calls, (std::vector<int>{0, 0, 0, 0}));
}

// a callback that activates another slot: a later one runs in the same pass
void activateslot2()
{
  menuitem[2].active = 1;
}
void activateslot0()
{
  menuitem[0].active = 1;
}

TEST_F(menu_callbacks, activating_a_later_slot_runs_it_now_and_an_earlier_one_next_frame)
{
  build = [] {
    createmenuitem("Earlier", 0, 100, 16, 1, 1, 1);
    setmenuitem(optioncallback, (intptr_t)&recordcall);
    createmenuitem("Chain", 0, 0, 16, 1, 1, 1);
    setmenuitem(optioncallback, (intptr_t)&activateslot2);
    setmenuitem(optionhotkey, letterkey('c'));
    createmenuitem("Later", 0, 100, 16, 1, 1, 1);
    setmenuitem(optioncallback, (intptr_t)&recordcall);
  };
  hold(letterkey('c'));
  frame();
  EXPECT_EQ(calls, (std::vector<int>{2, 0}));

  calls.clear();
  build = [] {
    createmenuitem("Earlier", 0, 100, 16, 1, 1, 1);
    setmenuitem(optioncallback, (intptr_t)&recordcall);
    createmenuitem("Chain", 0, 0, 16, 1, 1, 1);
    setmenuitem(optioncallback, (intptr_t)&activateslot0);
    setmenuitem(optionhotkey, letterkey('d'));
  };
  hold(letterkey('d'));
  frame();
  EXPECT_TRUE(calls.empty());
  frame();
  EXPECT_EQ(calls, (std::vector<int>{0, 0}));
}

// two text inputs on number and width, then an item whose hotkey is Escape and one with e
class menu_keyboardowner : public menuinteraction {
protected:
  int firststate = itemnormal;
  void SetUp() override
  {
    menuinteraction::SetUp();
    build = [this] {
      createmenuitem("Number", 0, 0, 16, 1, 1, 1);
      setmenuitem(optionintinput, (intptr_t)&number);
      setmenuitem(optionhotkey, letterkey('n'));
      setmenuitem(optionstate, firststate);
      createmenuitem("Width", 0, 100, 16, 1, 1, 1);
      setmenuitem(optionintinput, (intptr_t)&width);
      createmenuitem("Done", 0, 200, 16, 1, 1, 1);
      setmenuitem(optionhotkey, key_escape);
      createmenuitem("Else", 0, 300, 16, 1, 1, 1);
      setmenuitem(optionhotkey, letterkey('e'));
    };
  }
};

TEST_F(menu_keyboardowner, a_text_input_swallows_other_items_hotkeys)
{
  tap(letterkey('n'));
  EXPECT_EQ(menuinputkeyboard, 1);
  tap(letterkey('e'));
  EXPECT_EQ(menuitem[3].active, 0);
  EXPECT_STREQ(menuinput, "e");
}

TEST_F(menu_keyboardowner, escape_ends_the_edit_without_reaching_the_escape_item)
{
  tap(letterkey('n'));
  hold(key_escape);
  frame();
  EXPECT_EQ(menuitem[0].active, 0);
  EXPECT_EQ(menuitem[2].active, 0);
  EXPECT_EQ(menuinputkeyboard, 0);
  EXPECT_EQ(prevmenuinputkeyboard, 1);  // so the game too leaves this Escape to the field
  frame();  // still held: not new any more
  EXPECT_EQ(prevmenuinputkeyboard, 0);
  EXPECT_EQ(menuitem[2].active, 0);
  letgo(key_escape);
  frame();
  tap(key_escape);
  EXPECT_EQ(menuitem[2].active, 1);
}

TEST_F(menu_keyboardowner, clicking_another_field_moves_the_edit_there_afresh)
{
  width = 5;
  click(5, 5);
  EXPECT_EQ(menuitem[0].active, 1);
  click(5, 105);  // the caption row of the second field
  EXPECT_EQ(menuitem[0].active, 0);
  EXPECT_EQ(menuitem[1].active, 1);
  EXPECT_STREQ(menuinput, "5");  // loaded: its first frame saw wasactive 0
  click(5, 110);  // again inside: the edit goes on
  EXPECT_EQ(menuitem[1].active, 1);
  EXPECT_EQ(menuitem[1].wasactive, 1);
}

TEST_F(menu_keyboardowner, of_fields_activated_together_only_the_first_is_edited)
{
  number = 1;
  width = 7;
  build = [] {  // one click hits both
    createmenuitem("Number", 0, 0, 16, 1, 1, 1);
    setmenuitem(optionintinput, (intptr_t)&number);
    createmenuitem("Width", 0, 0, 16, 1, 1, 1);
    setmenuitem(optionintinput, (intptr_t)&width);
  };
  click(5, 5);
  tap(key_0 + 3);
  EXPECT_EQ(number, 31);
  EXPECT_EQ(width, 7);
}

TEST_F(menu_keyboardowner, a_field_disabled_while_edited_keeps_editing_until_a_press)
{
  tap(letterkey('n'));
  firststate = itemdisabled;
  tap(key_0 + 4);
  EXPECT_EQ(number, 4);
  EXPECT_EQ(menuinputkeyboard, 1);
  click(600, 400);
  EXPECT_EQ(menuitem[0].active, 0);
  EXPECT_EQ(menuinputkeyboard, 0);
}

// what a frame's input holds: a key with a modifier, a named pad button, the left stick, or the
// left button pressed at (x, y)
struct navinput {
  int key = 0, modifier = 0, button = -1;
  float stickx = 0, sticky = 0;
  int x = -1, y = -1;
};
int quitclicks;

// navigation and state marks on: Quit (the back item) built first but lowest, Resume (hotkey r),
// a radio row Easy and Hard on number, a disabled item, a blank, and a field ten cells wide
class menu_navigation : public menuinteraction {
protected:
  void SetUp() override
  {
    menuinteraction::SetUp();
    menunavigation = navigatekeys | navigatepad;
    menustatemarks = 1;
    quitclicks = 0;
    build = [] {
      createmenuitem("Quit", 0, 140, 16, 1, 1, 1);
      setmenuback();
      quitclicks += menuclicked() + menuclicked();  // the second finds the answer used up
      createmenuitem("Resume", 0, 0, 16, 1, 1, 1);
      setmenuitem(optionhotkey, letterkey('r'));
      for (int value = 0; value < 2; ++value) {
        createmenuitem(value ? "Hard" : "Easy", 100 * value, 40, 16, 1, 1, 1);
        setmenuradio(&number, value);
      }
      createmenuitem("Off", 0, 60, 16, 1, 1, 1);
      setmenuitem(optionstate, itemdisabled);
      createmenuitemempty();
      createmenuitem("Name", 96, 80, 16, 1, 1, 1);
      setmenufieldwidth(9);
      setmenuitem(optionintinput, (intptr_t)&width);
    };
  }
  // held in one frame and let go in the next; the check runs between them
  void press(const navinput &in, const std::function<void()> &check = [] {})
  {
    for (int key : {in.modifier, in.key})
      if (key)
        hold(key);
    if (in.button >= 0)
      namedpad[0].button[in.button] = 1;
    namedpad[0].axis[padleftx] = in.stickx;
    namedpad[0].axis[padlefty] = in.sticky;
    if (in.x >= 0)
      pointer(in.x, in.y);
    mouse.left = in.x >= 0;
    frame();
    check();
    memset(keyboard, 0, keycount);
    namedpad[0] = {};
    mouse.left = 0;
    frame();
  }
};

TEST_F(menu_navigation, moves_go_in_screen_order_by_rows_over_what_cannot_be_focused)
{
  const struct {
    int from, shown;
    navinput input;
    int to;
  } cases[] = {
      {3, 1, {key_tab}, 6}, {0, 1, {key_tab}, 1}, {1, 1, {key_tab, key_lshift}, 0},  // round
      {6, 1, {key_up}, 3}, {0, 1, {key_down}, 1}, {3, 1, {key_right}, 3},  // nearest; round; stop
      {2, 0, {key_down}, 2}, {-1, 0, {key_up}, 0}, {4, 1, {key_right}, 1},  // hidden; none
      {1, 1, {0, 0, paddpaddown}, 2}, {6, 1, {0, 0, -1, 0.2f, -0.9f}, 3},
      {2, 1, {0, 0, -1, 0.3f, -0.4f}, 2}};  // not pushed far enough
  for (const auto &c : cases) {
    menufocus = c.from;
    menufocusshown = c.shown;
    press(c.input);
    EXPECT_EQ(menufocus, c.to) << c.from << " " << c.input.key << " " << c.input.button;
    EXPECT_EQ(menufocusshown, 1);
  }
}

TEST_F(menu_navigation, activations_by_keys_pad_and_pointer_are_clicks_that_the_menu_takes)
{
  const struct {
    int focus;
    navinput input;
    int activated;
  } cases[] = {{-1, {key_return}, -1}, {3, {key_space}, 3}, {2, {0, 0, padsouth}, 2},
               {1, {0, 0, padeast}, 0}, {-1, {letterkey('r')}, 1},
               {-1, {0, 0, -1, 0, 0, 70, 45}, 3},    // Hard's mark
               {-1, {0, 0, -1, 0, 0, 240, 100}, 6},  // the field's row, past its caption
               {-1, {0, 0, -1, 0, 0, 5, 65}, -1}};   // disabled
  for (const auto &c : cases) {
    menufocus = c.focus;
    press(c.input, [&c] {
      int activated = -1;
      for (int i = 0; i < numofmenuitems; ++i)
        activated = menuitem[i].clicked ? i : activated;
      EXPECT_EQ(activated, c.activated) << c.focus << " " << c.input.key << " " << c.input.x;
      EXPECT_EQ(menutookinput, c.activated >= 0);
    });
    endmenuinput();
  }
  EXPECT_EQ(number, 1);  // Easy was chosen, then Hard
  EXPECT_EQ(quitclicks, 1);
}

// a stick held at a diagonal, or at the push that moves, wavers by a hair from frame to frame;
// within the repeat's delay that is one move, not one a frame
TEST_F(menu_navigation, a_stick_wavering_at_a_diagonal_or_its_push_moves_once)
{
  for (const auto &[x, y] : {std::pair{0.6f, 0.6f}, std::pair{0.0f, 0.5f}}) {
    menufocus = 1;
    menufocusshown = 1;
    frametime = 1 / 60.0f;
    int moves = 0;
    for (int f = 0; f < 20; ++f) {
      const float hair = f % 2 ? 0.002f : -0.002f;
      namedpad[0].axis[padleftx] = x + hair;
      namedpad[0].axis[padlefty] = y - hair;
      const int before = menufocus;
      frame();
      moves += menufocus != before;
    }
    namedpad[0] = {};
    frame();
    EXPECT_EQ(moves, 1) << x << " " << y;
  }
}

TEST_F(menu_navigation, a_held_move_repeats_after_a_delay_the_mouse_hides_the_focus)
{
  menufocus = menufocusshown = 1;
  frametime = 0.15f;
  hold(key_down);
  std::vector<int> focus;
  for (int i = 0; i < 6; ++i, frame())
    focus.push_back(menufocus);
  EXPECT_EQ(focus, (std::vector<int>{1, 2, 2, 2, 6, 0}));
  letgo(key_down);
  press({0, 0, -1, 0, 0, 300, 300});
  EXPECT_EQ(menufocusshown, 0);
}

TEST_F(menu_navigation, a_focused_field_edits_with_the_keys_until_the_pad_ends_it)
{
  menufocus = menufocusshown = 6;
  for (int key : {key_return, key_down, key_0 + 7})  // Down is the field's
    press({key});
  press({0, 0, padeast});
  EXPECT_EQ(width, 7);
  EXPECT_EQ(menuinputkeyboard + menuitem[0].active, 0);  // the back item was not reached
  press({key_down});
  EXPECT_EQ(menufocus, 0);
}

}  // namespace
