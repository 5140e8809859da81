// The named pad: which layout each pad's name and shape chooses, what its raw controls then read
// as, the dead zones' edges, and mapping lines taken or refused with their reasons.
#include "engine.h"
#include "platform/padlayout.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct rawcontrol { char kind; int index, value; };  // kind 'b' button, 'a' axis, 'h' hat
struct padrow {
  const char *name;
  int axes, buttons, hats;                        // the device's shape
  std::vector<rawcontrol> held;                   // every other control at rest (0)
  std::vector<int> pressed;                       // the named buttons that read held
  std::vector<std::pair<int, float>> deflected;  // the named axes that read other than 0
};

constexpr int full = 32767, lowest = -32768;

void expectreading(const padrow &row)
{
  gamepadstate pad{row.axes, row.buttons, row.hats, {}, {}, {}};
  uint32_t moved = 0;
  for (const rawcontrol &c : row.held) {
    (c.kind == 'b' ? pad.button : c.kind == 'a' ? pad.axis : pad.hat)[c.index] = c.value;
    moved |= uint32_t(c.kind == 'a') << c.index;
  }
  padlayout layout;
  choosepadlayout(row.name, pad, layout);
  namedpadstate named, expected{};
  readnamedpad(layout, pad, moved, named);
  for (int button : row.pressed)
    expected.button[button] = 1;
  for (auto [axis, value] : row.deflected)
    expected.axis[axis] = value;
  const std::string where = std::string(row.name) + ", " + std::to_string(row.axes) + " axes";
  for (int b = 0; b < namedpadbuttons; ++b)
    EXPECT_EQ(named.button[b], expected.button[b]) << where << ", button " << b;
  for (int a = 0; a < namedpadaxes; ++a)
    EXPECT_NEAR(named.axis[a], expected.axis[a], 0.002f) << where << ", axis " << a;
}

TEST(pad_layouts, each_pad_reads_by_the_line_for_its_name_and_shape_past_the_dead_zones)
{
  ASSERT_TRUE(addpadmapping("Acme Flight Pad,south:b5,leftx:a1~,lefttrigger:+a3,dpadup:-a2,"));
  const padrow rows[] = {
      {"Microsoft X-Box 360 pad", 6, 11, 1, {{'b', 0, 1}, {'a', 2, full}, {'h', 0, hatup | hatleft}},
       {padsouth, paddpadup, paddpadleft}, {{padlefttrigger, 1}}},
      // through the older joystick interface the hat is axes 6 and 7
      {"Microsoft X-Box 360 pad", 8, 11, 0, {{'a', 7, full}, {'a', 6, -full}, {'b', 9, 1}},
       {paddpaddown, paddpadleft, padleftstick}, {}},
      {"Sony Interactive Entertainment Wireless Controller", 6, 13, 1,
       {{'b', 2, 1}, {'b', 3, 1}, {'b', 8, 1}, {'a', 5, full}}, {padnorth, padwest, padback},
       {{padrighttrigger, 1}}},
      {"Xbox Wireless Controller", 6, 16, 1,
       {{'b', 3, 1}, {'b', 11, 1}, {'a', 2, full}, {'a', 5, full}}, {padwest, padstart},
       {{padrightx, 1}, {padlefttrigger, 1}}},
      {"Nintendo Switch Pro Controller", 4, 14, 1,
       {{'b', 1, 1}, {'b', 7, 1}, {'a', 2, -full}, {'h', 0, hatdown}}, {padeast, paddpaddown},
       {{padrightx, -1}, {padlefttrigger, 1}}},
      {"Nintendo Switch Pro Controller", 4, 18, 0, {{'b', 17, 1}, {'b', 13, 1}},
       {paddpadright, padrightstick}, {}},
      {"Nintendo Switch Pro Controller", 6, 16, 0, {{'b', 0, 1}, {'a', 4, full}}, {padeast},
       {{padlefttrigger, 1}}},
      {"Steam Deck", 4, 24, 3, {{'b', 3, 1}, {'b', 16, 1}, {'h', 2, hatdown}, {'h', 0, hatup}},
       {padsouth, paddpadup}, {{padlefttrigger, 1}}},
      {"Steam Deck", 10, 24, 0, {{'a', 8, full}}, {}, {{padrighttrigger, 1}}},
      {"DualSense Wireless Controller", 6, 17, 0, {{'b', 4, 1}, {'b', 11, 1}, {'a', 2, full}},
       {padback, paddpadup}, {{padrightx, 1}}},
      {"Steam Deck", 6, 11, 1, {{'b', 2, 1}, {'a', 4, full}}, {padwest}, {{padrighty, 1}}},
      {"Acme Stick", 2, 2, 0, {{'a', 0, lowest}, {'b', 1, 1}}, {padeast}, {{padleftx, -1}}},
      {"Acme Flight Pad", 4, 6, 0, {{'b', 5, 1}, {'a', 1, full}, {'a', 3, full}, {'a', 2, -full}},
       {padsouth, paddpadup}, {{padleftx, -1}, {padlefttrigger, 1}}},
      {"Acme Pad", 6, 11, 1, {}, {}, {}},  // a trigger no event has moved yet reads released
      {"Acme Pad", 6, 11, 1, {{'a', 0, 6500}, {'a', 2, lowest + 3000}}, {}, {}},
      {"Acme Pad", 6, 11, 1, {{'a', 0, 19660}, {'a', 2, 3276}}, {},
       {{padleftx, 0.5f}, {padlefttrigger, 0.5f}}},
      {"Acme Pad", 6, 11, 1, {{'a', 3, full}, {'a', 4, lowest}}, {},
       {{padrightx, 0.7071f}, {padrighty, -0.7071f}}},  // a full diagonal stays on the circle
      // each axis alone inside the zone, together past it
      {"Acme Pad", 6, 11, 1, {{'a', 0, 5243}, {'a', 1, 5243}}, {},
       {{padleftx, 0.0233f}, {padlefty, 0.0233f}}},
  };
  for (const padrow &row : rows)
    expectreading(row);
}

std::vector<std::string> messages;

TEST(pad_mapping_lines, a_bad_field_refuses_the_whole_line_and_says_why)
{
  const std::string toolong = "Long Pad,south:b0" + std::string(maxpadmappinglength, ',');
  const std::pair<std::string, const char *> lines[] = {
      {"Pad,south:b0,dpadup:h0.1|-a7,lefttrigger:a2~,", nullptr},
      {"Pad south:b0", "no name before a ','"},
      {"Pad,", "maps no control"},
      {"Pad,south:b32", "bad source \"b32\" for south"},
      {"Pad,south:h0.3", "bad source \"h0.3\" for south"},
      {"Pad,south:b0,south:b1", "south given twice"},
      {"Pad,guide:b8", "no such control \"guide\""},
      {"Pad,south", "\"south\" has no ':'"},
      {"Pad,south:b0|b1|b2", "south has more than 2 sources"},
      {"Pad,leftx:+a0", "leftx takes one whole axis"},
      {"Pad,south:b0\t", "a control character in the line"},
      {toolong, "longer than 511 bytes"},
  };
  for (const auto &[line, reason] : lines) {
    EXPECT_EQ(addpadmapping(line.c_str()), reason == nullptr) << line;
    EXPECT_STREQ(padmappingerror(), reason) << line;
  }
  messages.clear();
  setmessagecallback([](const char *line) { messages.push_back(line); });
  addpadmappings("# a comment\r\n\nEnv Pad,south:b1\r\nEnv Pad\n", "TAVREL_GAMEPAD_MAPPING");
  setmessagecallback(nullptr);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "TAVREL_GAMEPAD_MAPPING: line 4 refused: no name before a ','");
  expectreading({"Env Pad", 2, 2, 0, {{'b', 1, 1}}, {padsouth}, {}});
}

}  // namespace
