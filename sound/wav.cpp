// WAV files: a bounded reader of the RIFF chunks finds the format and the samples and checks every
// length against the bytes there are; the samples are then read once, straight into the end of
// the block that they are turned into 16-bit stereo in, front to back, and the room brings them to
// the device's rate.
#include "files/files.h"
#include "sound/soundmix.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr uint32_t fourcc(const char (&code)[5])
{
  return uint32_t(uint8_t(code[0])) | uint32_t(uint8_t(code[1])) << 8 |
         uint32_t(uint8_t(code[2])) << 16 | uint32_t(uint8_t(code[3])) << 24;
}
constexpr uint16_t pcmformat = 1;
constexpr const char *toolong = "sound too long for a slot";
constexpr const char *nomemory = "out of memory";
constexpr const char *cannotread = "cannot read the file";
constexpr size_t chunkheaderbytes = 8;  // the chunk's name and length
constexpr size_t formatbytes = 16;      // the fields of a PCM format chunk

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

// the header of the chunk at pos: its name and length
void readchunkheader(bytesource &source, size_t pos, uint32_t &id, uint32_t &length)
{
  unsigned char header[chunkheaderbytes] = {};
  source.readat(pos, header, sizeof header);
  bytereader in(header, sizeof header);
  id = in.u32();
  length = in.u32();
}

// the format chunk's fields, as many of them as its length holds
const char *readformatchunk(bytesource &source, size_t pos, uint32_t length, wavlayout &layout)
{
  unsigned char fields[formatbytes];
  const size_t count = std::min<size_t>(length, sizeof fields);
  source.readat(pos, fields, count);
  return readformat(bytereader(fields, count), layout);
}

// the chunks in file order, each starting on an even byte; the format must come before the samples
const char *readwavlayout(bytesource &source, wavlayout &layout)
{
  unsigned char riffheader[12] = {};
  const bool whole = source.readat(0, riffheader, sizeof riffheader);
  bytereader riff(riffheader, sizeof riffheader);
  const uint32_t riffname = riff.u32();
  riff.skip(4);  // the RIFF length: each chunk is checked against the bytes there really are
  if (!whole || riffname != fourcc("RIFF") || riff.u32() != fourcc("WAVE"))
    return "not a WAV file";
  bool formatread = false;
  for (size_t pos = sizeof riffheader; pos <= source.size && source.size - pos >= 8;) {
    uint32_t id, length;
    readchunkheader(source, pos, id, length);
    pos += chunkheaderbytes;
    const size_t remaining = source.size - pos;
    if (id == fourcc("data")) {
      if (!formatread)
        return "samples before their format";
      if (length > remaining)
        return "file too short for its samples";
      const size_t framebytes = size_t(layout.channels) * layout.bits / 8;
      layout.offset = pos;
      layout.bytes = length - length % framebytes;
      return layout.bytes ? nullptr : "no samples in the file";
    }
    if (length > remaining)
      return "chunk past the end of the file";
    if (id == fourcc("fmt ")) {
      if (const char *refusal = readformatchunk(source, pos, length, layout))
        return refusal;
      formatread = true;
    }
    pos += length + (length & 1);
  }
  return "no samples in the file";
}

// one sample of a frame: 8-bit ones are unsigned round 128 and become the top byte of a 16-bit
// one, as SDL 1.2 converted them; 16-bit ones are little-endian
int16_t readsample(const unsigned char *at, int bits)
{
  return bits == 8 ? int16_t((at[0] - 128) * 256) : int16_t(uint16_t(at[0] | at[1] << 8));
}

// the samples read once into the end of a block of their own, and turned there into 16-bit
// stereo at their own rate from the first frame on: a frame written ends before the next frame
// read starts, however small the file's frames
const char *tostereo(bytesource &source, const wavlayout &layout, soundslot &stereo)
{
  const size_t samplebytes = layout.bits / 8, framebytes = layout.channels * samplebytes;
  const size_t frames = layout.bytes / framebytes, bytes = frames * soundframebytes;
  unsigned char *block = static_cast<unsigned char *>(malloc(bytes));
  if (!block)
    return nomemory;
  unsigned char *in = block + bytes - layout.bytes;
  if (!source.readat(layout.offset, in, layout.bytes)) {
    free(block);
    return cannotread;
  }
  int16_t *out = reinterpret_cast<int16_t *>(block);
  for (size_t frame = 0; frame < frames; ++frame, in += framebytes) {
    const int16_t left = readsample(in, layout.bits);
    const int16_t right = layout.channels == 2 ? readsample(in + samplebytes, layout.bits) : left;
    out[2 * frame] = left;
    out[2 * frame + 1] = right;
  }
  stereo.samples = out;
  stereo.length = uint32_t(bytes);
  return nullptr;
}

}  // namespace

const char *decodewav(bytesource &source, soundslot &decoded)
{
  if (source.size > size_t(maxsoundfilebytes))
    return "file larger than 64 MiB";
  wavlayout layout{};
  const char *refusal = readwavlayout(source, layout);
  if (source.failed)
    return cannotread;
  if (refusal)
    return refusal;
  const uint32_t frames = uint32_t(layout.bytes / (layout.channels * layout.bits / 8));
  if (!slotfits(frames, int(layout.rate)))
    return toolong;
  soundslot stereo{};
  if (const char *refusal = tostereo(source, layout, stereo))
    return refusal;
  return todevicerate(stereo, int(layout.rate), decoded);
}
