// Loaded textures in a real GL context: mipmap chains against a plain box filter, the upload that
// follows a failed load, and the same levels again after a focus-regain restore.
#include "engine.h"
#include "glwindow.h"
#include "imagefiles.h"

#include <GL/gl.h>
#include <SDL.h>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

// level 0 and every smaller level down to 1x1, by the plain box filter
std::vector<image> referencechain(const image &top)
{
  std::vector<image> chain{top};
  while (chain.back().width > 1 || chain.back().height > 1)
    chain.push_back(referencehalve(chain.back()));
  return chain;
}

// a level of the texture bound to slot, as GL holds it
image gllevel(int slot, int level)
{
  glBindTexture(GL_TEXTURE_2D, texture[slot].glname);
  image picture;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &picture.width);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &picture.height);
  picture.rgba.resize(size_t(picture.width) * picture.height * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_UNSIGNED_BYTE, picture.rgba.data());
  return picture;
}

// GL and the slot's own buffer both hold every level of the chain
void expectchain(int slot, const std::vector<image> &chain)
{
  size_t offset = 0;
  for (size_t level = 0; level < chain.size(); ++level) {
    SCOPED_TRACE(testing::Message() << "level " << level);
    EXPECT_TRUE(samepicture(chain[level], gllevel(slot, int(level))));
    const unsigned char *kept = texture[slot].data + offset;
    EXPECT_TRUE(std::equal(chain[level].rgba.begin(), chain[level].rgba.end(), kept));
    offset += chain[level].rgba.size();
  }
  EXPECT_EQ(gllevel(slot, int(chain.size())).width, 0);  // and no level beyond
}

// puts a 1x1 black image in the slot's GL texture, so that any later upload shows
void clobber(int slot)
{
  const unsigned char black[4] = {};
  glBindTexture(GL_TEXTURE_2D, texture[slot].glname);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, black);
}

class loadersgl : public ::testing::Test {
protected:
  scratchfolder folder;
  void SetUp() override { setgraphics(1); }
  void TearDown() override
  {
    setgraphics(1);
    emptytextures();
  }
  bytes realfile(int width, int height, const std::string &format)
  {
    std::string path = folder.file("real." + format);
    EXPECT_TRUE(convertimage("-size " + std::to_string(width) + "x" + std::to_string(height) +
                             " -seed 4 plasma: -type TrueColor -depth 8 " + format + ":" + path));
    return readbytes(path);
  }
  int load(int slot, const bytes &file, const std::string &format, int mipmap)
  {
    if (format == "png")
      return loadtexturepngbytes(slot, file.data(), file.size(), mipmap);
    return format == "tga" ? loadtexturetgabytes(slot, file.data(), file.size(), mipmap)
                           : loadtexturebmpbytes(slot, file.data(), file.size(), mipmap);
  }
};

TEST_F(loadersgl, mipmaps_of_loaded_files_match_a_plain_box_filter)
{
  // the filter itself is checked shape by shape in mipmap_test; these are the GL levels
  const int shapes[][2] = {{1, 1}, {5, 3}, {2, 64}};
  int slot = 30;  // a fresh GL texture each, so that no level is left from an earlier chain
  for (const char *format : {"bmp", "tga", "png"})
    for (const auto &shape : shapes) {
      SCOPED_TRACE(testing::Message() << format << " " << shape[0] << "x" << shape[1]);
      bytes file = realfile(shape[0], shape[1], format);
      ASSERT_EQ(load(++slot, file, format, 1), 1);
      expectchain(slot, referencechain(stbdecode(file)));
      GLint minfilter = 0;
      glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minfilter);
      EXPECT_EQ(minfilter, GL_LINEAR_MIPMAP_NEAREST);
    }
}

TEST_F(loadersgl, uploads_with_the_default_unpack_state_and_gives_the_callers_back)
{
  // each of these alone would make GL read other pixels than the slot's, or past its buffer
  const GLenum names[] = {GL_UNPACK_ROW_LENGTH, GL_UNPACK_SKIP_ROWS, GL_UNPACK_SKIP_PIXELS,
                          GL_UNPACK_ALIGNMENT};
  const GLint odd[] = {9, 1, 2, 8};
  for (int i = 0; i < 4; ++i)
    glPixelStorei(names[i], odd[i]);
  bytes file = realfile(5, 3, "tga");
  ASSERT_EQ(load(25, file, "tga", 1), 1);
  for (int i = 0; i < 4; ++i) {
    GLint value = 0;
    glGetIntegerv(names[i], &value);
    EXPECT_EQ(value, odd[i]) << i;
    glPixelStorei(names[i], i == 3 ? 4 : 0);
  }
  expectchain(25, referencechain(stbdecode(file)));
}

TEST_F(loadersgl, leave_the_font_slot_and_its_clamped_wrap_alone)
{
  settexture(fontslot, 1, 1, 0, static_cast<unsigned char *>(calloc(1, 4)));
  uploadtexture(fontslot, GL_CLAMP, GL_LINEAR, GL_LINEAR);
  const bytes good = realfile(4, 3, "bmp"), junk = {'B', 'M', 0, 0};
  for (const bytes *file : {&good, &junk}) {
    EXPECT_EQ(load(fontslot, *file, "bmp", 0), 0);
    EXPECT_EQ(load(fontslot, *file, "tga", 1), 0);
    EXPECT_EQ(texture[fontslot].width, 1);
    GLint wrap = 0;
    glBindTexture(GL_TEXTURE_2D, texture[fontslot].glname);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
    EXPECT_EQ(wrap, GL_CLAMP);
    EXPECT_EQ(gllevel(fontslot, 0).width, 1);
  }
}

TEST_F(loadersgl, a_focus_regain_gives_back_the_same_levels)
{
  bytes file = realfile(12, 10, "tga");
  ASSERT_EQ(load(21, file, "tga", 1), 1);
  clobber(21);
  SDL_Event event = {};
  event.type = SDL_ACTIVEEVENT;
  event.active.gain = 1;
  event.active.state = SDL_APPINPUTFOCUS;
  ASSERT_EQ(SDL_PushEvent(&event), 0);
  checksystemmessages();
  expectchain(21, referencechain(stbdecode(file)));
}

TEST_F(loadersgl, a_freed_slot_keeps_no_pixels_and_no_gl_level)
{
  ASSERT_EQ(load(40, realfile(4, 4, "bmp"), "bmp", 1), 1);
  freetexture(40);
  EXPECT_EQ(texture[40].width, 0);
  EXPECT_EQ(texture[40].data, nullptr);
  for (int level : {0, 1, 2})
    EXPECT_EQ(gllevel(40, level).width, 0) << "level " << level;
  restoretextures();  // a focus regain leaves it empty
  EXPECT_EQ(gllevel(40, 0).width, 0);
  settexture(fontslot, 1, 1, 0, static_cast<unsigned char *>(calloc(1, 4)));
  freetexture(fontslot);  // the font is the engine's own
  EXPECT_EQ(texture[fontslot].width, 1);
}

TEST_F(loadersgl, a_refused_file_uploads_the_slot_as_it_was)
{
  bytes file = realfile(4, 3, "bmp");
  ASSERT_EQ(load(22, file, "bmp", 0), 1);
  clobber(22);
  bytes junk = {'B', 'M', 0, 0};
  EXPECT_EQ(load(22, junk, "bmp", 1), 0);
  EXPECT_TRUE(samepicture(stbdecode(file), gllevel(22, 0)));
  // a slot never loaded goes up as an empty image
  clobber(23);
  EXPECT_EQ(load(23, junk, "tga", 0), 0);
  EXPECT_EQ(gllevel(23, 0).width, 0);
}

TEST_F(loadersgl, with_graphics_off_the_slot_fills_and_gl_is_left_alone)
{
  setgraphics(0);
  clobber(24);
  bytes file = realfile(4, 4, "tga");
  ASSERT_EQ(load(24, file, "tga", 1), 1);
  EXPECT_TRUE(samepicture(stbdecode(file), slotimage(24)));
  EXPECT_EQ(gllevel(24, 0).width, 1);
}

}  // namespace
