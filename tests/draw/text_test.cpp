// drawtext's formatting and placement as pure logic: every "/" escape, the "I" grouping, the
// output limit, buffers that are never overrun, characters that are never cut, the placement
// flags with their wrap, and UTF-8 read and written a character at a time.
#include "engine.h"

#include <climits>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// formats as drawtext does and returns what textstring2 then holds
std::string format(const char *text, ...)
{
  va_list args;
  va_start(args, text);
  const int length = formattext(text, args);
  va_end(args);
  EXPECT_EQ(size_t(length), strlen(textstring2));
  return textstring2;
}

TEST(text_format, plain_text_is_copied_as_it_is)
{
  EXPECT_EQ(format("Resolution"), "Resolution");
  EXPECT_EQ(format(""), "");
  EXPECT_EQ(format("1. 640x480 %d \\n"), "1. 640x480 %d \\n");  // only "/" is special
}

TEST(text_format, each_escape_prints_its_argument)
{
  EXPECT_EQ(format("/i", -42), "-42");
  EXPECT_EQ(format("/i", INT_MIN), "-2147483648");
  EXPECT_EQ(format("/u", 4294967295u), "4294967295");
  EXPECT_EQ(format("/x", 255u), "FF");
  EXPECT_EQ(format("/x", 0xDEADBEEFu), "DEADBEEF");
  EXPECT_EQ(format("/f", 2.5), "2.500000");
  EXPECT_EQ(format("/f", -0.0000004), "-0.000000");
  EXPECT_EQ(format("/s", "menu"), "menu");
  EXPECT_EQ(format("/c", 'A'), "A");
  EXPECT_EQ(format("100//"), "100/");
}

// a width and a precision between "/" and the letter, with printf's '-' and '0' flags
TEST(text_format, a_width_and_precision_shape_the_value_escapes)
{
  EXPECT_EQ(format("/5.2f|/.0f", 3.14159, 2.6), " 3.14|3");
  EXPECT_EQ(format("/05i|/-4i|/5.3i", -42, 7, 7), "-0042|7   |  007");
  EXPECT_EQ(format("/3.2x|/010u", 10u, 42u), " 0A|0000000042");
  EXPECT_EQ(format("/6s|/.2s|/04s", "ab", "menu", "ab"), "    ab|me|  ab");  // no zeros for text
  // a string's width and precision count characters, not bytes
  EXPECT_EQ(format("/-4s|/3s|/.2s|", "\xc3\xa9", "\xe2\x82\xac", "\xc3\xb1\xc3\xa9x"),
            "\xc3\xa9   |  \xe2\x82\xac|\xc3\xb1\xc3\xa9|");
}

TEST(text_format, escapes_take_their_arguments_in_order)
{
  EXPECT_EQ(format("/s: /i x /i at /f, /x/c", "mode", 640, 480, 0.5, 171u, '!'),
            "mode: 640 x 480 at 0.500000, AB!");
}

TEST(text_format, a_zero_character_appends_nothing_but_uses_its_argument)
{
  EXPECT_EQ(format("[/c]/i", 0, 7), "[]7");
  EXPECT_EQ(format("[/c]/i", 256, 7), "[]7");  // only the low 8 bits count
  EXPECT_EQ(format("/c", 'A' + 512), "A");
}

TEST(text_format, character_codes_above_127_are_kept)
{
  EXPECT_EQ(format("/c", 200), std::string(1, char(200)));
  EXPECT_EQ(format("\xe9t\xe9"), "\xe9t\xe9");
}

TEST(text_format, a_null_string_appends_nothing)
{
  EXPECT_EQ(format("<</s>>/i", static_cast<const char *>(nullptr), 3), "<<>>3");
  EXPECT_EQ(format(nullptr), "");
}

TEST(text_format, grouping_puts_commas_between_thousands)
{
  EXPECT_EQ(format("/I", 1234567), "1,234,567");
  EXPECT_EQ(format("/I", 1000), "1,000");
  EXPECT_EQ(format("/I", 12005), "12,005");
  EXPECT_EQ(format("/I", 1000001), "1,000,001");
  EXPECT_EQ(format("/I", 999999), "999,999");
  EXPECT_EQ(format("/I", 999), "999");
  EXPECT_EQ(format("/I", 0), "0");
}

TEST(text_format, grouping_leaves_negatives_whole_and_never_splits_the_millions)
{
  EXPECT_EQ(format("/I", -5000), "-5000");
  EXPECT_EQ(format("/I", INT_MIN), "-2147483648");
  EXPECT_EQ(format("/I", INT_MAX), "2147,483,647");
  EXPECT_EQ(format("/I", 1000000000), "1000,000,000");
}

TEST(text_format, an_unknown_escape_drops_only_the_slash)
{
  EXPECT_EQ(format("a/zb"), "azb");
  EXPECT_EQ(format("/d/%/ /1", 5), "d% 1");
  EXPECT_EQ(format("/X/F/S", 1), "XFS");  // the escapes are case-sensitive, I aside
  EXPECT_EQ(format("/i", 5), "5");        // and none of them used an argument
  // a width before no value escape, or flags without a number, are no escape either
  EXPECT_EQ(format("/3I/0c/-i/5./-/i", 9), "3I0c-i5.-9");
}

TEST(text_format, a_slash_at_the_very_end_is_dropped)
{
  EXPECT_EQ(format("100/"), "100");
  EXPECT_EQ(format("/"), "");
  EXPECT_EQ(format("///"), "/");
}

TEST(text_format, output_stops_at_one_thousand_characters)
{
  const std::string plain(1500, 'q');
  EXPECT_EQ(format(plain.c_str()), std::string(1000, 'q'));

  // the limit is tested between steps: the conversion that crosses it is kept whole
  const std::string nearly(999, 'p');
  EXPECT_EQ(format((nearly + "/itail").c_str(), 123456), nearly + "123456");
  EXPECT_EQ(format((std::string(1000, 'p') + "/i").c_str(), 7), std::string(1000, 'p'));
  // a character that crosses it is kept whole too
  EXPECT_EQ(format((nearly + "\xc3\xa9\xc3\xa9").c_str()), nearly + "\xc3\xa9");
}

TEST(text_format, a_long_conversion_is_cut_to_the_buffers_and_read_no_further)
{
  const std::vector<char> huge(5000, 's');  // without a terminator
  EXPECT_EQ(format("/s", huge.data()), std::string(1023, 's'));
  const std::string nearly(999, 'p');
  EXPECT_EQ(format((nearly + "/s").c_str(), huge.data()), nearly + std::string(24, 's'));
  EXPECT_EQ(format("/f", 1e300).size(), 308u);  // 301 digits, the point and six decimals
  // widths and precisions past the buffers, even past an int, are held to them
  EXPECT_EQ(format("/4294967297i", 5), std::string(1022, ' ') + "5");
  // where the buffers end, a character that does not fit whole is left out
  std::vector<char> accents(5000);
  for (size_t i = 0; i < accents.size(); ++i)
    accents[i] = i % 2 ? '\xa9' : '\xc3';
  EXPECT_EQ(format("/s", accents.data()).size(), 1022u);  // 511 of them: the 512th cut at 1023
  const std::string room25(998, 'p');  // twelve of them and half the thirteenth
  EXPECT_EQ(format((room25 + "/s").c_str(), accents.data()), room25 + std::string(&accents[0], 24));
}

TEST(text_placement, centring_and_end_flags_move_by_the_text_extent)
{
  EXPECT_EQ(aligncoordinate(0x10000 + 320, 10, 16), 240);
  EXPECT_EQ(aligncoordinate(0x20000 + 640, 10, 16), 480);
  EXPECT_EQ(aligncoordinate(0x10000 + 100, 1, 16), 92);
  EXPECT_EQ(aligncoordinate(0x20000 + 100, 1, 16), 84);
  EXPECT_EQ(aligncoordinate(0x30000 + 320, 4, 16), 224);  // both: 320 - 32 - 64
  EXPECT_EQ(aligncoordinate(0x10000 + 320, 3, 5), 313);   // 15 / 2 truncates to 7
  EXPECT_EQ(aligncoordinate(123, 10, 16), 123);
}

// every character drawtext takes a cell for, newlines and codes past 127 too, on one row
TEST(text_placement, measuring_gives_the_cells_drawtext_covers_after_formatting)
{
  int width = -1, height = -1;
  EXPECT_EQ(measuretext(&width, &height, "Score /05i\n/c//", 16, 42, 200), 14);
  EXPECT_EQ(std::make_pair(width, height), std::make_pair(14 * 16, 16));
  measuretext(&width, &height, "/s", 16, "");
  EXPECT_EQ(std::make_pair(width, height), std::make_pair(0, 0));
  measuretext(&width, nullptr, std::string(1500, 'w').c_str(), INT_MAX);
  EXPECT_EQ(width, INT_MAX);  // 1000 cells of INT_MAX, held within an int
  // a cell for each character, and one for each invalid sequence
  EXPECT_EQ(measuretext(&width, &height, "Jos\xc3\xa9 \xe2\x82\xac\xff\xc3", 16), 8);
}

// each invalid sequence is one replacement character: the longest start that could still have
// become a character, or a single byte
TEST(text_utf8, decoding_takes_whole_characters_and_one_replacement_per_invalid_sequence)
{
  const struct {
    const char *bytes;
    size_t room;
    int character, length;
  } rows[] = {
      {"\xc3\xa9", 4, 0xE9, 2},
      {"\xe2\x82\xac", 4, 0x20AC, 3},
      {"\xf0\x90\x8d\x88", 4, 0x10348, 4},
      {"\xef\xbf\xbd", 4, replacementcharacter, 3},  // the character itself
      {"\xe2\x82x", 4, replacementcharacter, 2},      // cut short by a byte that is no part of it
      {"\xe2\x82\xac", 2, replacementcharacter, 2},  // or by the room
      {"\xc3", 4, replacementcharacter, 1},            // or by the terminator, never read past
      {"\xa9\xa9", 4, replacementcharacter, 1},       // a stray continuation byte
      {"\xc0\xaf", 4, replacementcharacter, 1},       // overlong forms
      {"\xe0\x9f\xbf", 4, replacementcharacter, 1},
      {"\xed\xa0\x80", 4, replacementcharacter, 1},  // a surrogate
      {"\xf4\x90\x80\x80", 4, replacementcharacter, 1},  // past U+10FFFF
      {"\xff", 4, replacementcharacter, 1},
      {"", 0, 0, 0},
  };
  for (const auto &row : rows) {
    int length = -1;
    EXPECT_EQ(decodeutf8(row.bytes, row.room, &length), row.character) << row.bytes;
    EXPECT_EQ(length, row.length) << row.bytes;
    char again[4];  // and a character encodes back to its bytes
    if (row.character != replacementcharacter && row.length > 0) {
      EXPECT_EQ(std::string(again, size_t(encodeutf8(row.character, again))),
                std::string(row.bytes, size_t(row.length)));
    }
  }
  char bytes[4];
  for (int character : {0xD800, 0xDFFF, 0x110000, -1})
    EXPECT_EQ(encodeutf8(character, bytes), 0) << character;
  EXPECT_EQ(countcharacters("Jos\xc3\xa9 \xff\xe2\x82", 9), 7);
  EXPECT_EQ(wholecharacters("ab\xe2\x82", 4), 2u);
  EXPECT_EQ(wholecharacters("ab\xff\x82", 4), 4u);  // invalid bytes are whole as they are
}

TEST(text_placement, a_coordinate_below_zero_wraps_into_sixteen_bits)
{
  EXPECT_EQ(aligncoordinate(0x10000 + 20, 10, 16), 65476);  // 20 - 80
  EXPECT_EQ(aligncoordinate(0x20000 + 10, 1, 16), 65530);
  EXPECT_EQ(aligncoordinate(-1, 0, 16), 65535);
  EXPECT_EQ(aligncoordinate(70000, 0, 16), 70000 - 65536);
}

// the end flag is read from the value as centring left it, and huge extents do not overflow
TEST(text_placement, the_flags_stay_in_the_value_while_it_is_adjusted)
{
  EXPECT_EQ(aligncoordinate(0x30000 + 8, 10, 16000), 51080);  // centring by 80000 clears bit 17
  EXPECT_EQ(aligncoordinate(0x10000 + 8, 10, 14000), 52152);  // below zero sets it: -144456
  EXPECT_EQ(aligncoordinate(0x20000, 1023, INT_MAX), 1023);
  EXPECT_EQ(aligncoordinate(INT_MIN, 1, 16), 0);
}

}  // namespace
