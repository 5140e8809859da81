// The stored hardware configuration: defaults, the four readable versions of "hwconfig.cfg",
// and a version-4 save that replaces the old file only once the new one is safely on disk.
#include "platform/platform.h"

#include "files/files.h"

#include <cstring>

hardwareconfig config;
int32_t editormovemode;

// the start table: two identical runs of 30 values, then 36 zeros
#define MATERIALRUN 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.35f, 0.35f, 0.35f, 0.65f, 0.65f, 0.65f, \
    0.5f, 0.5f, 0.5f, 0.25f, 0.25f, 0.25f, 0.65f, 0.65f, 0.65f, 0.65f, 0.65f, 0.0f, 0.99f, 0.99f, \
    0.0f, 0.0f, 0.0f, 0.0f
float materialcolor[materialcolors] = {MATERIALRUN, MATERIALRUN};
#undef MATERIALRUN

// a field takes whatever bytes of it the file still holds
static void takeint(bytereader &in, int32_t &field)
{
  uint32_t bits = uint32_t(field);
  in.partial32(bits);
  field = int32_t(bits);
}

static void takefloat(bytereader &in, float &field)
{
  uint32_t bits = floatbits(field);
  in.partial32(bits);
  field = bitsfloat(bits);
}

// fields 1 to 7, all that versions 1 to 3 store
static void takefirstseven(bytereader &in)
{
  for (int32_t *field : {&config.width, &config.height, &config.bits, &config.fullscreen,
                         &config.gameflag, &config.sound, &config.usejoystick})
    takeint(in, *field);
}

static void takelastsix(bytereader &in)
{
  takeint(in, config.mouseunlocked);
  takeint(in, config.interface);
  takefloat(in, config.textred);
  takefloat(in, config.textgreen);
  takefloat(in, config.textblue);
  takeint(in, config.lowtexture);
}

void decodeconfig(const unsigned char *bytes, unsigned long count)
{
  bytereader in(bytes, count);
  if (in.remaining() < 4)
    return;  // no readable version: the defaults stand
  uint32_t version = in.u32();
  if (version < 1 || version > 4)
    return;
  takefirstseven(in);
  if (version == 4)
    takelastsix(in);
  if (version >= 2)
    for (float &value : materialcolor)
      takefloat(in, value);
  if (version == 4) {
    // the game keeps these two at fixed values from version 4 on
    materialcolor[24] = 0.9f;
    materialcolor[25] = 0.65f;
  }
  if (version >= 3)
    takeint(in, editormovemode);
}

void loadconfig()
{
  config.width = 640;
  config.height = 480;
  config.bits = 16;
  config.fullscreen = 0;
  config.gameflag = 1;
  config.sound = 1;
  config.usejoystick = 1;
  config.mouseunlocked = 1;
  config.interface = 1;
  config.textred = 1.0f;
  config.textgreen = 1.0f;
  config.textblue = 1.0f;

  std::vector<unsigned char> bytes;
  readwholefile(configfilename, bytes, configfilebytes);
  decodeconfig(bytes.data(), bytes.size());
}

int settledheight(int width, int height)
{
  switch (width) {
  case 640: return 480;
  case 800: return 600;
  case 1024: return 768;
  case 1280: return 960;
  default: return height;  // a hand-made width keeps its stored height
  }
}

void encodeconfig(unsigned char out[configfilebytes])
{
  bytewriter file;
  file.u32(configversion);
  const int32_t ints[] = {config.width, config.height, config.bits, config.fullscreen,
                          config.gameflag, config.sound, config.usejoystick,
                          config.mouseunlocked, config.interface};
  for (int32_t value : ints)
    file.u32(uint32_t(value));
  file.u32(floatbits(config.textred));
  file.u32(floatbits(config.textgreen));
  file.u32(floatbits(config.textblue));
  file.u32(uint32_t(config.lowtexture));
  for (float value : materialcolor)
    file.u32(floatbits(value));
  file.u32(uint32_t(editormovemode));
  memcpy(out, file.bytes.data(), configfilebytes);
}

int saveconfig()
{
  unsigned char image[configfilebytes];
  encodeconfig(image);
  return replacefile(configfilename, image, configfilebytes);
}
