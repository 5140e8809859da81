// WAV files: a bounded reader of the RIFF chunks finds the format and the samples and checks every
// length against the bytes there are; SDL then reads a plain file made of just those two chunks
// and converts the samples to 16-bit stereo, and the room brings them to the device's rate. SDL's
// own reader trusts chunk lengths (it allocates whatever a header says) and reads a format chunk
// of any size as a whole one, so it is never handed a file this reader has not checked.
#include "files/files.h"
#include "sound/soundmix.h"

#include <SDL.h>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr uint32_t fourcc(const char (&code)[5])
{
  return uint32_t(uint8_t(code[0])) | uint32_t(uint8_t(code[1])) << 8 |
         uint32_t(uint8_t(code[2])) << 16 | uint32_t(uint8_t(code[3])) << 24;
}
constexpr uint16_t pcmformat = 1;
constexpr const char *cannotconvert = "samples SDL cannot convert";
constexpr const char *toolong = "sound too long for a slot";
constexpr const char *nomemory = "out of memory";
constexpr uint32_t plainheaderbytes = 44;  // RIFF, "WAVE", a 16-byte format chunk, the data header

struct wavlayout {
  uint16_t channels;
  uint16_t bits;
  uint32_t rate;
  size_t offset;  // where the samples start
  size_t bytes;   // whole frames of them
};

const char *readformat(bytereader in, wavlayout &layout)
{
  uint16_t format = in.u16();
  layout.channels = in.u16();
  layout.rate = in.u32();
  in.skip(4);  // bytes a second: follows from the rest
  in.skip(2);  // bytes a frame: likewise
  layout.bits = in.u16();
  if (in.overrun)
    return "format chunk too short";
  if (format != pcmformat || (layout.bits != 8 && layout.bits != 16))
    return "not 8- or 16-bit PCM";
  if (layout.channels != 1 && layout.channels != 2)
    return "not mono or stereo";
  if (layout.rate < uint32_t(minsoundrate) || layout.rate > uint32_t(maxsoundrate))
    return "sample rate outside 4000 to 192000";
  return nullptr;
}

// the chunks in file order, each starting on an even byte; the format must come before the samples
const char *readwavlayout(const unsigned char *bytes, size_t count, wavlayout &layout)
{
  bytereader in(bytes, count);
  uint32_t riff = in.u32();
  in.skip(4);  // the RIFF length: each chunk is checked against the bytes there really are
  uint32_t wave = in.u32();
  if (in.overrun || riff != fourcc("RIFF") || wave != fourcc("WAVE"))
    return "not a WAV file";
  bool formatread = false;
  while (in.remaining() >= 8) {
    uint32_t id = in.u32(), length = in.u32();
    if (id == fourcc("data")) {
      if (!formatread)
        return "samples before their format";
      if (length > in.remaining())
        return "file too short for its samples";
      const size_t framebytes = size_t(layout.channels) * layout.bits / 8;
      layout.offset = in.pos;
      layout.bytes = length - length % framebytes;
      return layout.bytes ? nullptr : "no samples in the file";
    }
    if (length > in.remaining())
      return "chunk past the end of the file";
    if (id == fourcc("fmt ")) {
      if (const char *refusal = readformat(bytereader(bytes + in.pos, length), layout))
        return refusal;
      formatread = true;
    }
    in.skip(length + (length & 1));
  }
  return "no samples in the file";
}

// the checked format and samples as the simplest WAV file there is
std::vector<unsigned char> plainwav(const unsigned char *bytes, const wavlayout &layout)
{
  const uint16_t framebytes = uint16_t(layout.channels * layout.bits / 8);
  bytewriter file;
  file.u32(fourcc("RIFF"));
  file.u32(uint32_t(plainheaderbytes - 8 + layout.bytes));
  file.u32(fourcc("WAVE"));
  file.u32(fourcc("fmt "));
  file.u32(16);
  file.u16(pcmformat);
  file.u16(layout.channels);
  file.u32(layout.rate);
  file.u32(layout.rate * framebytes);
  file.u16(framebytes);
  file.u16(layout.bits);
  file.u32(fourcc("data"));
  file.u32(uint32_t(layout.bytes));
  const unsigned char *samples = bytes + layout.offset;
  file.bytes.insert(file.bytes.end(), samples, samples + layout.bytes);
  return std::move(file.bytes);
}

// the frames of a sound on their way to the device, at its own rate and at the device's, fit a slot
bool fitsslot(const wavlayout &layout)
{
  const uint32_t frames = uint32_t(layout.bytes / (layout.channels * layout.bits / 8));
  const uint64_t atdevice = resampledframes(frames, layout.rate, sounddevice.rate);
  return std::max<uint64_t>(frames, atdevice) * soundframebytes <= maxsoundbytes;
}

// SDL's samples as 16-bit stereo at their own rate
const char *tostereo(const SDL_AudioSpec &spec, const Uint8 *samples, Uint32 length,
                     soundslot &stereo)
{
  SDL_AudioCVT convert;
  if (SDL_BuildAudioCVT(&convert, spec.format, spec.channels, spec.freq, AUDIO_S16SYS, 2,
                        spec.freq) < 0)
    return cannotconvert;
  // SDL works in a buffer len_mult times the samples, which SDL 1.2 over SDL2 reports twice as
  // large as it needs; the size that stays was checked against maxsoundbytes before
  const uint64_t workbytes = uint64_t(length) * uint64_t(convert.len_mult);
  if (workbytes > 2 * uint64_t(maxsoundbytes))
    return toolong;
  convert.buf = static_cast<Uint8 *>(malloc(size_t(workbytes)));
  if (!convert.buf)
    return nomemory;
  memcpy(convert.buf, samples, length);
  convert.len = int(length);
  if (SDL_ConvertAudio(&convert) != 0 || convert.len_cvt < soundframebytes) {
    free(convert.buf);
    return cannotconvert;
  }
  stereo.samples = reinterpret_cast<int16_t *>(convert.buf);
  stereo.length = uint32_t(convert.len_cvt) / soundframebytes * soundframebytes;
  return nullptr;
}

// SDL's samples at the device's rate, in a block of their own size
const char *todevice(const SDL_AudioSpec &spec, const Uint8 *samples, Uint32 length,
                     soundslot &decoded)
{
  soundslot stereo{};
  if (const char *refusal = tostereo(spec, samples, length, stereo))
    return refusal;
  if (spec.freq == sounddevice.rate) {
    void *fitted = realloc(stereo.samples, stereo.length);  // SDL converts in a larger block
    decoded = {fitted ? static_cast<int16_t *>(fitted) : stereo.samples, stereo.length};
    return nullptr;
  }
  const uint32_t frames = stereo.length / soundframebytes;
  const uint64_t bytes = resampledframes(frames, spec.freq, sounddevice.rate) * soundframebytes;
  decoded.samples = static_cast<int16_t *>(malloc(size_t(bytes)));
  if (decoded.samples) {
    resample(stereo.samples, frames, spec.freq, sounddevice.rate, decoded.samples);
    decoded.length = uint32_t(bytes);
  }
  free(stereo.samples);
  return decoded.samples ? nullptr : nomemory;
}

}  // namespace

const char *decodewav(const unsigned char *bytes, size_t count, soundslot &decoded)
{
  if (count > size_t(maxsoundfilebytes))
    return "file larger than 64 MiB";
  wavlayout layout{};
  if (const char *refusal = readwavlayout(bytes, count, layout))
    return refusal;
  if (!fitsslot(layout))
    return toolong;
  const std::vector<unsigned char> plain = plainwav(bytes, layout);
  SDL_AudioSpec spec;
  Uint8 *samples = nullptr;
  Uint32 length = 0;
  if (!SDL_LoadWAV_RW(SDL_RWFromConstMem(plain.data(), int(plain.size())), 1, &spec, &samples,
                      &length))
    return "samples SDL cannot read";
  const char *refusal = todevice(spec, samples, length, decoded);
  SDL_FreeWAV(samples);
  return refusal;
}
