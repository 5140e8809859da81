// The tight pixel-store settings for an upload or a read-back, and the caller's put back.
#include "texture/pixelstore.h"

#include <cstring>
#include <iterator>

namespace {

struct pixelsetting {
  GLenum name;
  GLint tight;    // the value that reads or writes rows exactly as wide as the picture
  bool everygl;   // OpenGL ES 2.0 has it too
};

// rows of four-byte pixels: any alignment up to 4 packs them tight
const pixelsetting unpacksettings[] = {
    {GL_UNPACK_ALIGNMENT, 4, true},   {GL_UNPACK_SWAP_BYTES, GL_FALSE, false},
    {GL_UNPACK_LSB_FIRST, GL_FALSE, false}, {GL_UNPACK_ROW_LENGTH, 0, false},
    {GL_UNPACK_SKIP_ROWS, 0, false},  {GL_UNPACK_SKIP_PIXELS, 0, false},
};
const pixelsetting packsettings[] = {
    {GL_PACK_ALIGNMENT, 4, true},     {GL_PACK_ROW_LENGTH, 0, false},
    {GL_PACK_SKIP_ROWS, 0, false},    {GL_PACK_SKIP_PIXELS, 0, false},
};

static_assert(std::size(unpacksettings) <= maxtightsettings &&
                  std::size(packsettings) <= maxtightsettings,
              "room for the caller's settings");

}  // namespace

int glonlyes2()
{
  const char *version = reinterpret_cast<const char *>(glGetString(GL_VERSION));
  return version && strncmp(version, "OpenGL ES 2.", 12) == 0;
}

tightpixelstore::tightpixelstore(bool packing)
{
  const bool es2 = glonlyes2();
  const pixelsetting *settings = packing ? packsettings : unpacksettings;
  const size_t count = packing ? std::size(packsettings) : std::size(unpacksettings);
  for (size_t i = 0; i < count; ++i) {
    const pixelsetting &setting = settings[i];
    if (!setting.everygl && es2)
      continue;
    auto &caller = callers[numofcallers++];
    caller.name = setting.name;
    glGetIntegerv(setting.name, &caller.value);
    glPixelStorei(setting.name, setting.tight);
  }
}

tightpixelstore::~tightpixelstore()
{
  for (int i = 0; i < numofcallers; ++i)
    glPixelStorei(callers[i].name, callers[i].value);
}
