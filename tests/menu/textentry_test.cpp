// The text-entry field frame by frame: loading and writing back each type, the caption's length
// limit, cursor and selection by keys and mouse, insert and overwrite, Tab, Return and Escape,
// whole UTF-8 characters throughout; and the key table and buffer edits on their own.
#include "menuframes.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

int intvalue;
unsigned unsignedvalue;
float floatvalue;
char text[400];

constexpr int fieldx = 100;
constexpr int cell = 16;
constexpr int integerkey = key_f1;  // the hotkeys of the two fields: keys that type nothing
constexpr int namekey = key_f1 + 1;

// a text input at (fieldx, y)
void field(const char *caption, int y, int option, void *variable, int hotkey)
{
  createmenuitem(caption, fieldx, y, cell, 1, 1, 1);
  setmenuitem(option, (intptr_t)variable);
  setmenuitem(optionhotkey, hotkey);
}

class textfield : public menuframes {
protected:
  void SetUp() override
  {
    menuframes::SetUp();
    intvalue = 42;
    unsignedvalue = 0;
    floatvalue = 0;
    snprintf(text, sizeof text, "hello");
    // an int field at y 0 and a string field at y 100
    build = [] {
      field("Integer", 0, optionintinput, &intvalue, integerkey);
      field("Name field", 100, optionstringinput, text, namekey);
    };
  }
  // taps each character's key: lower-case letters and digits
  void type(const char *characters)
  {
    for (const char *c = characters; *c; ++c)
      tap(*c >= 'a' ? letterkey(*c) : key_0 + (*c - '0'));
  }
  void shifted(int key)
  {
    hold(key_lshift);
    tap(key);
    letgo(key_lshift);
  }
  void expectselection(int anchor, int cursor)
  {
    EXPECT_EQ(menuinputselectpos, anchor);
    EXPECT_EQ(menuinputcursorpos, cursor);
  }
};

class menu_textload : public textfield {};

TEST_F(menu_textload, a_hotkey_selects_the_whole_value_and_typing_replaces_it)
{
  tap(integerkey);
  EXPECT_STREQ(menuinput, "42");
  expectselection(0, 2);
  hold(key_0 + 7);
  frame();
  EXPECT_STREQ(menuinput, "7");
  EXPECT_EQ(intvalue, 7);  // written back in the same frame
}

TEST_F(menu_textload, an_edit_begun_and_ended_from_code_acts_as_the_hotkey_and_return_do)
{
  beginmenuinput(1);
  hold(letterkey('k'));  // the key of the frame the edit begins in is not typed
  frame();
  expectselection(0, 5);  // the whole of "hello"
  letgo(letterkey('k'));
  type("ab");
  endmenuinput();
  tap(integerkey);  // hotkeys woke at once
  EXPECT_EQ(menuitem[0].active, 1);
  EXPECT_STREQ(text, "ab");
  beginmenuinput(1);  // asked for in the frame of a press, which ends the other field's edit
  click(300, 300);
  EXPECT_EQ(menuitem[0].active + 2 * menuitem[1].active, 2);
}

TEST_F(menu_textload, a_click_puts_the_cursor_in_the_cell_under_the_pointer)
{
  pointer(fieldx + 5 * cell + 3, 20);  // past the text's end, in the edit's first frame
  mouse.left = 1;
  frame();
  expectselection(2, 2);
  mouse.left = 0;
  frame();
  click(fieldx + cell, 5);  // while editing, the caption row places it the same way
  expectselection(1, 1);
  tap(key_escape);
  click(fieldx + 2 * cell, 20);
  expectselection(2, 2);
}

TEST_F(menu_textload, numbers_are_shown_and_read_back_in_their_own_format)
{
  floatvalue = 0.1234567f;
  build = [] { field("Float field", 0, optionfloatinput, &floatvalue, integerkey); };
  hold(integerkey);
  frame();
  EXPECT_STREQ(menuinput, "0.123457");
  EXPECT_EQ(floatvalue, 0.123457f);  // even with nothing typed

  build = [] { field("Unsigned field", 0, optionunsignedinput, &unsignedvalue, integerkey); };
  resetmenuitems();
  letgo(integerkey);
  frame();
  tap(integerkey);
  tap(key_minus);
  tap(key_0 + 5);
  EXPECT_EQ(unsignedvalue, 4294967291u);  // what "%u" makes of "-5"
}

TEST_F(menu_textload, a_text_without_a_number_keeps_the_last_value)
{
  tap(integerkey);
  tap(key_backspace);
  EXPECT_STREQ(menuinput, "");
  EXPECT_EQ(intvalue, 42);
  tap(key_minus);
  EXPECT_EQ(intvalue, 42);
  tap(key_0 + 3);
  EXPECT_EQ(intvalue, -3);
}

TEST_F(menu_textload, a_string_longer_than_the_buffer_is_cut_to_fit_and_read_no_further)
{
  for (const char *fill : {"q", "\xc3\xa9"}) {  // a character cut by the buffer's end is left out
    const size_t width = strlen(fill);
    std::vector<char> longtext(menuinputsize + 44);  // without a terminator
    for (size_t i = 0; i < longtext.size(); ++i)
      longtext[i] = fill[i % width];
    build = [&longtext] { field("Name field", 100, optionstringinput, longtext.data(), namekey); };
    tap(namekey);
    EXPECT_EQ(strlen(menuinput), (menuinputsize - 1) / width * width) << fill;
    tap(letterkey('z'));  // removes the selection, all of it
    EXPECT_STREQ(longtext.data(), "z");
    tap(key_escape);
  }
}

class menu_textlimits : public textfield {};

TEST_F(menu_textlimits, a_caption_of_ten_characters_takes_nine)
{
  text[0] = 0;
  tap(namekey);
  type("abcdefghij");
  EXPECT_STREQ(text, "abcdefghi");
  hold(key_lshift);
  tap(key_left);  // select the last character: there is room again once it goes
  letgo(key_lshift);
  type("z");
  EXPECT_STREQ(text, "abcdefghz");
}

TEST_F(menu_textlimits, a_width_given_in_characters_takes_the_caption_s_place)
{
  build = [] {
    createmenuitem("Name", fieldx, 100, cell, 1, 1, 1);
    setmenufieldwidth(12);
    setmenutextfield(text, sizeof text);
    setmenuitem(optionhotkey, namekey);
  };
  tap(namekey);
  type("abcdefghijklmn");
  EXPECT_STREQ(text, "abcdefghijkl");
  // characters, not bytes, as far as the buffer it was given holds them
  tap(key_escape);
  tap(namekey);
  for (int i = 0; i < 14; ++i) {
    hold(key_text);
    keypress[key_text].unicode = 0xE9;
    frame();
    letgo(key_text);
    frame();
  }
  std::string twelve;
  for (int i = 0; i < 12; ++i)
    twelve += "\xc3\xa9";
  EXPECT_EQ(std::string(text), twelve);
}

// a slot given another variable while its edit is under way begins afresh with that one: the
// text in the buffer may not fit it
TEST_F(menu_textlimits, a_field_bound_to_another_variable_mid_edit_starts_over)
{
  tap(namekey);
  type("abcdefgh");
  static char small[4] = "ab";
  build = [] {
    field("Integer", 0, optionintinput, &intvalue, integerkey);
    field("Name field", 100, optionstringinput, small, namekey);  // the same slot as before
  };
  frame();
  EXPECT_STREQ(small, "ab");
  EXPECT_STREQ(menuinput, "ab");
}

TEST_F(menu_textlimits, a_field_with_an_empty_caption_takes_no_typing)
{
  build = [] { field("", 0, optionintinput, &intvalue, integerkey); };
  tap(integerkey);
  EXPECT_EQ(menuitem[0].active, 1);
  type("7");
  EXPECT_STREQ(menuinput, "");  // the selection went, the character did not come
  EXPECT_EQ(intvalue, 42);
  tap(key_escape);
  build = [] { field("", 0, optionstringinput, text, integerkey); };
  tap(integerkey);
  tap(key_end);
  tap(key_backspace);  // editing what it holds still works
  EXPECT_STREQ(text, "hell");
}

// UTF-8 in the field, by rows: the text the edit begins with (the cursor at its end), the keys
// pressed with the character the platform translated each into, and what the field then holds
TEST_F(menu_textlimits, characters_of_several_bytes_are_typed_moved_over_and_deleted_whole)
{
  struct step { int key, unicode = notranslated; bool shift = false; };
  const int e = 0xE9, ekey = key_world_0 + 0x49;  // é, on the key a layout gives it
  const struct { const char *start; std::vector<step> script; const char *text; int anchor, cursor; }
      rows[] = {
      {"Jos\xc3\xa9", {{key_backspace}}, "Jos", 3, 3},
      {"Jos\xc3\xa9", {{key_left}, {key_delete}}, "Jos", 3, 3},
      {"\xc3\xa9\xc3\xb1", {{key_home}, {key_right, 0, true}}, "\xc3\xa9\xc3\xb1", 0, 2},
      {"\xc3\xa9\xc3\xb1", {{key_left, 0, true}, {key_text, 0xFC}}, "\xc3\xa9\xc3\xbc", 4, 4},
      // the caption of ten takes nine bytes: a character that does not fit goes in not at all
      {"abcd\xc3\xa9" "f", {{ekey, e}, {ekey, e}}, "abcd\xc3\xa9" "f\xc3\xa9", 9, 9},
      {"abcdefgh", {{key_text, 0x20AC}, {key_2, e}, {letterkey('x')}}, "abcdefghx", 9, 9},
      // overwriting replaces a whole character by a whole one
      {"a\xc3\xa9" "b", {{key_home}, {key_insert}, {key_right}, {letterkey('x')}}, "axb", 2, 2},
      {"abcdefghi", {{key_home}, {key_insert}, {key_2, e}}, "abcdefghi", 0, 0},
      // a press the platform made nothing of (part of a compose sequence) types nothing
      {"ab", {{letterkey('o'), 0}, {key_quote, 0}, {key_text, e}}, "ab\xc3\xa9", 4, 4},
  };
  for (const auto &row : rows) {
    snprintf(text, sizeof text, "%s", row.start);
    menuinputinsert = 0;
    tap(namekey);
    tap(key_end);
    for (const step &press : row.script) {
      if (press.shift)
        hold(key_lshift);
      hold(press.key);
      keypress[press.key].unicode = press.unicode;
      frame();
      letgo(press.key);
      letgo(key_lshift);
      frame();
    }
    EXPECT_STREQ(text, row.text) << row.start;
    expectselection(row.anchor, row.cursor);
    tap(key_escape);
  }
}

// the pointer's cell counts characters; menuinputcell gives the drawing its cells back
TEST_F(menu_textlimits, a_click_after_accented_letters_takes_the_character_in_its_cell)
{
  snprintf(text, sizeof text, "J\xc3\xa9\xc3\xa9!");
  click(fieldx + 3 * cell + 4, 120);
  expectselection(5, 5);
  EXPECT_EQ(menuinputcell(5), 3);
}

class menu_textcursor : public textfield {
protected:
  void SetUp() override
  {
    textfield::SetUp();
    tap(namekey);  // "hello", all selected
    tap(key_end);
  }
};

TEST_F(menu_textcursor, shift_home_selects_everything_before_the_cursor)
{
  shifted(key_home);
  expectselection(5, 0);
  tap(key_backspace);
  EXPECT_STREQ(text, "");
  expectselection(0, 0);
}

TEST_F(menu_textcursor, moves_stop_at_the_ends_and_without_shift_collapse_the_selection)
{
  menuinputselectpos = 5;
  menuinputcursorpos = 0;
  tap(key_left);
  expectselection(0, 0);
  menuinputselectpos = 3;
  menuinputcursorpos = 5;
  shifted(key_right);  // Shift keeps the anchor
  expectselection(3, 5);
  tap(key_right);
  expectselection(5, 5);
  shifted(key_left);
  shifted(key_left);
  expectselection(5, 3);
  tap(key_right);
  expectselection(4, 4);
  tap(key_home);
  tap(key_backspace);
  tap(key_end);
  tap(key_delete);
  EXPECT_STREQ(text, "hello");
}

TEST_F(menu_textcursor, delete_and_backspace_remove_one_character_or_the_selection)
{
  tap(key_home);
  tap(key_delete);
  expectselection(0, 0);
  tap(key_end);
  tap(key_backspace);
  EXPECT_STREQ(text, "ell");
  expectselection(3, 3);
  tap(key_kp_period);  // keypad period deletes forward: nothing at the end
  shifted(key_home);
  tap(key_kp_period);
  EXPECT_STREQ(text, "");
}

TEST_F(menu_textcursor, dragging_selects_from_the_press_to_the_pointer)
{
  pointer(fieldx + cell + 2, 120);
  mouse.left = 1;
  frame();
  expectselection(1, 1);
  pointer(fieldx + 4 * cell, 120);
  frame();
  expectselection(1, 4);
  pointer(fieldx + 30 * cell, 300);  // rows are not consulted, the end is the limit
  frame();
  expectselection(1, 5);
  pointer(0, 120);  // left of the field
  frame();
  expectselection(1, 0);
  mouse.left = 0;
  frame();
  EXPECT_EQ(menuitem[1].active, 1);
}

class menu_textedit : public textfield {};

TEST_F(menu_textedit, a_held_key_repeats_after_half_a_second_at_most_once_a_frame)
{
  const struct {
    int key;
    float frameseconds;
    int framesheld;  // after the frame of the press
    const char *text;
    int cursor;
  } rows[] = {
      {letterkey('k'), 0.125f, 3, "k", 1},          // under the delay: typed once
      {letterkey('k'), 0.125f, 5, "kkk", 3},        // at 0.5 and 0.625 seconds
      {letterkey('k'), 1 / 64.0f, 40, "kkkkk", 5},  // 30 a second: 4 by 0.625 seconds
      {letterkey('k'), 0.25f, 4, "kkkk", 4},        // slow frames: one a frame
      {key_backspace, 0.125f, 5, "he", 2},
      {key_left, 0.125f, 5, "hello", 2},
      {key_return, 0.125f, 10, "hello", 5},         // ends the edit, never repeats
      {key_kp1, 0.125f, 5, "hello111", 8},          // keypad keys type and repeat as their twins
      {key_kp_minus, 0.125f, 5, "hello---", 8},
  };
  for (const auto &row : rows) {
    snprintf(text, sizeof text, "%s", row.key == letterkey('k') ? "" : "hello");
    tap(namekey);
    tap(key_end);  // the selection collapses at the end
    frametime = row.frameseconds;
    hold(row.key);
    hold(mainkey(row.key));  // as the keyboard poll folds it
    for (int i = 0; i <= row.framesheld; ++i)
      frame();
    letgo(row.key);
    letgo(mainkey(row.key));
    frame();
    EXPECT_STREQ(text, row.text) << row.key << " held " << row.framesheld;
    EXPECT_EQ(menuinputcursorpos, row.cursor) << row.key << " held " << row.framesheld;
    frametime = 0;
    tap(key_escape);
  }
}

TEST_F(menu_textedit, return_or_tab_with_a_letter_wins_over_the_letter)
{
  tap(namekey);
  hold(letterkey('k'));
  hold(key_return);
  frame();
  EXPECT_EQ(menuitem[1].active, 0);
  EXPECT_STREQ(text, "hello");
  letgo(letterkey('k'));
  letgo(key_return);
  frame();

  tap(namekey);
  hold(letterkey('k'));
  hold(key_tab);
  frame();
  EXPECT_EQ(menuitem[1].active, 0);
  EXPECT_EQ(menuitem[0].active, 1);
  EXPECT_STREQ(text, "hello");
}

TEST_F(menu_textedit, tab_goes_on_to_the_next_field_disabled_or_not_and_wraps_to_the_first)
{
  floatvalue = 2.5f;
  build = [] {
    field("Integer", 0, optionintinput, &intvalue, integerkey);
    field("Name field", 100, optionstringinput, text, namekey);
    field("Float", 200, optionfloatinput, &floatvalue, key_none);
    setmenuitem(optionstate, itemdisabled);
  };
  tap(namekey);
  tap(key_tab);  // forward to a later slot: loaded in the same pass
  EXPECT_EQ(menuitem[1].active, 0);
  EXPECT_EQ(menuitem[2].active, 1);
  EXPECT_STREQ(menuinput, "2.5");
  expectselection(0, 3);
  hold(key_tab);
  frame();
  EXPECT_EQ(menuitem[0].active, 1);
  EXPECT_STREQ(menuinput, "2.5");  // slot 0 comes before: its first frame is the next one
  frame();
  EXPECT_STREQ(menuinput, "42");
}

TEST_F(menu_textedit, tab_in_the_only_field_keeps_it)
{
  build = [] { field("Integer", 0, optionintinput, &intvalue, integerkey); };
  tap(integerkey);
  tap(key_tab);
  EXPECT_EQ(menuitem[0].active, 1);
  EXPECT_EQ(menuinputkeyboard, 1);
}

TEST_F(menu_textedit, overwrite_replaces_under_the_cursor_and_appends_at_the_end)
{
  snprintf(text, sizeof text, "abc");
  tap(namekey);
  tap(key_insert);
  EXPECT_EQ(menuinputinsert, 1);
  tap(key_home);
  tap(key_right);
  type("x");
  EXPECT_STREQ(text, "axc");
  tap(key_end);
  type("y");
  EXPECT_STREQ(text, "axcy");
  shifted(key_left);
  shifted(key_left);
  type("z");  // the cut tail is gone: the text ends after the new character
  EXPECT_STREQ(text, "axz");
}

TEST_F(menu_textedit, the_insert_mode_outlives_the_edit)
{
  tap(namekey);
  tap(key_insert);
  tap(key_return);
  tap(integerkey);
  tap(key_home);
  type("7");
  EXPECT_EQ(intvalue, 72);
}

TEST_F(menu_textedit, escape_keeps_what_was_typed)
{
  tap(integerkey);
  type("9");
  tap(key_escape);
  EXPECT_EQ(menuitem[0].active, 0);
  EXPECT_EQ(intvalue, 9);
  type("5");
  EXPECT_EQ(intvalue, 9);
}

// the key table, without a field: every held key reads as newly pressed, with the modifiers held
class menu_textkeys : public menuframes {
protected:
  int letter(int repeat = 0, int accept = acceptall, int unicode = notranslated)
  {
    for (int key = 0; key < keycount; ++key)
      keypress[key] = {heldmodifiers(), unicode};
    return getinputletter(repeat, accept);
  }
};

TEST_F(menu_textkeys, shift_gives_capitals_and_the_us_symbols)
{
  hold(letterkey('q'));
  EXPECT_EQ(letter(), 'q');
  hold(key_lshift);
  EXPECT_EQ(letter(), 'Q');
  letgo(letterkey('q'));
  const struct {
    int key;
    char plain, shifted;
  } keys[] = {{key_0, '0', ')'},      {key_0 + 2, '2', '@'},       {key_9, '9', '('},
              {key_slash, '/', '?'},  {key_semicolon, ';', ':'},   {key_minus, '-', '_'},
              {key_equals, '=', '+'}, {key_period, '.', '>'},      {key_comma, ',', '<'},
              {key_backslash, '\\', '|'}, {key_quote, '\'', '"'}, {key_space, ' ', ' '}};
  for (const auto &k : keys) {
    hold(k.key);
    letgo(key_lshift);
    EXPECT_EQ(letter(), k.plain) << k.key;
    hold(key_lshift);
    EXPECT_EQ(letter(), k.shifted) << k.key;
    letgo(k.key);
  }
}

TEST_F(menu_textkeys, chords_with_ctrl_alt_or_a_system_key_type_nothing_and_ctrl_a_selects_all)
{
  strcpy(menuinput, "hello");
  hold(letterkey('a'));
  for (int modifier : {key_lctrl, key_lalt, key_lmeta, key_rsuper, key_mode, key_ralt}) {
    hold(modifier);
    EXPECT_EQ(letter(), modifier == key_mode || modifier == key_ralt ? 'a' : typednothing);
    letgo(modifier);
  }
  EXPECT_EQ(menuinputcursorpos, 5);  // Ctrl+A selected the whole of "hello"
}

TEST_F(menu_textkeys, classes_limit_what_is_typed)
{
  hold(letterkey('a'));
  hold(key_0 + 1);
  EXPECT_EQ(letter(0, acceptletters), 'a');
  EXPECT_EQ(letter(0, acceptdigits), '1');
  hold(key_lshift);  // shifted digits are punctuation
  EXPECT_EQ(letter(0, acceptdigits), typednothing);
  letgo(key_lshift);
  letgo(letterkey('a'));
  letgo(key_0 + 1);
  hold(key_period);
  EXPECT_EQ(letter(0, acceptdigits | acceptminus), typednothing);
  EXPECT_EQ(letter(0, acceptperiod), '.');
  hold(key_backspace);  // control codes need no class
  EXPECT_EQ(letter(0, 0), typedbackspace);
  letgo(key_backspace);
  letgo(key_period);
  hold(key_world_0 + 0x49);  // what the platform translated: é, which number fields refuse
  EXPECT_EQ(letter(0, acceptall & ~acceptbeyondascii, 0xE9), typednothing);
  EXPECT_EQ(letter(0, acceptbeyondascii, 0xE9), 0xE9);
}

TEST_F(menu_textkeys, of_several_keys_the_last_tested_wins)
{
  hold(letterkey('z'));
  hold(letterkey('a'));
  EXPECT_EQ(letter(), 'z');
  hold(key_0 + 3);
  EXPECT_EQ(letter(), '3');
  hold(key_quote);
  EXPECT_EQ(letter(), '\'');
  hold(key_lshift);  // the shifted digits are tested before the slash
  hold(key_0 + 1);
  hold(key_slash);
  letgo(key_quote);
  EXPECT_EQ(letter(), '?');
  hold(key_delete);
  EXPECT_EQ(letter(), typeddelete);
  hold(key_return);
  EXPECT_EQ(letter(), typedend);
  hold(key_tab);
  EXPECT_EQ(letter(), typedtab);
}

TEST_F(menu_textkeys, repeat_counts_held_keys_but_never_return_escape_or_tab)
{
  for (int key : {letterkey('m'), key_return, key_escape, key_tab})
    hold(key);
  memcpy(prevkeyboard, keyboard, keycount);
  EXPECT_EQ(letter(0), typednothing);
  EXPECT_EQ(letter(1), 'm');
}

// the edit buffer's work area, without a field
class menu_textbuffer : public menuframes {
protected:
  void settext(const std::string &content, int anchor, int cursor)
  {
    memset(menuinput, 0, sizeof menuinput);
    memcpy(menuinput, content.data(), content.size());
    menuinputselectpos = anchor;
    menuinputcursorpos = cursor;
  }
};

TEST_F(menu_textbuffer, characters_go_in_only_below_position_192)
{
  const std::string full(menuinputarea, 'f');
  settext(full, menuinputarea, menuinputarea);
  addmenuinputchar('x');
  EXPECT_EQ(std::string(menuinput), full);

  settext(full, 0, 0);
  addmenuinputchar('x');  // the last character moves to 192, the terminator there is lost
  EXPECT_EQ(menuinput[0], 'x');
  EXPECT_EQ(menuinput[menuinputarea], 'f');
  EXPECT_EQ(strlen(menuinput), size_t(menuinputarea + 1));
  EXPECT_EQ(menuinputcursorpos, 1);
}

TEST_F(menu_textbuffer, deleting_the_selection_keeps_the_first_192_characters)
{
  settext(std::string(menuinputsize - 1, 'g'), 10, 10);
  EXPECT_EQ(deleteselectedtext(), 0);
  EXPECT_EQ(strlen(menuinput), size_t(menuinputarea));
  settext("abcdef", 5, 2);
  EXPECT_EQ(deleteselectedtext(), 1);
  EXPECT_STREQ(menuinput, "abf");
  EXPECT_EQ(menuinputcursorpos, 2);
  EXPECT_EQ(menuinputselectpos, 2);
}

}  // namespace
