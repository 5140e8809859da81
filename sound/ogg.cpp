// Ogg Vorbis files: libvorbisfile reads them through a bytesource, from memory or a file, and
// gives 16-bit frames, made stereo here; a slot decodes one whole, the music a piece at a time.
#include "sound/soundmix.h"

#include <SDL.h>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <vorbis/vorbisfile.h>

struct oggstream {
  OggVorbis_File file;
  bytesource *source;
  size_t at;  // where the decoder reads next
  int channels;
  int rate;
};

namespace {

// libvorbisfile tells a read error from the end of the file by errno alone: taken for the end, a
// file that shrank has it look for its last page backwards for ever
size_t readsource(void *dst, size_t size, size_t count, void *stream)
{
  oggstream &ogg = *static_cast<oggstream *>(stream);
  const size_t wanted = size * count, left = ogg.source->size - ogg.at;
  const size_t given = wanted < left ? wanted : left;
  if (!ogg.source->readat(ogg.at, static_cast<unsigned char *>(dst), given)) {
    errno = EIO;
    return 0;
  }
  ogg.at += given;
  return given / (size ? size : 1);
}

int seeksource(void *stream, ogg_int64_t offset, int whence)
{
  oggstream &ogg = *static_cast<oggstream *>(stream);
  const ogg_int64_t size = ogg_int64_t(ogg.source->size);
  const ogg_int64_t from = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? ogg_int64_t(ogg.at) : size;
  if (offset < -from || offset > size - from)
    return -1;
  ogg.at = size_t(from + offset);
  return 0;
}

long tellsource(void *stream) { return long(static_cast<oggstream *>(stream)->at); }

constexpr ov_callbacks sourcecallbacks = {readsource, seeksource, nullptr, tellsource};

}  // namespace

oggstream *openogg(bytesource &source, const char *&refusal)
{
  oggstream *ogg = static_cast<oggstream *>(calloc(1, sizeof(oggstream)));
  if (!ogg) {
    refusal = "out of memory";
    return nullptr;
  }
  ogg->source = &source;
  const int opened = ov_open_callbacks(ogg, &ogg->file, nullptr, 0, sourcecallbacks);
  if (opened != 0) {
    free(ogg);
    refusal = source.failed                ? "cannot read the file"
              : opened == OV_ENOTVORBIS || opened == OV_ENOTAUDIO ? "not an Ogg Vorbis file"
                                                                  : "damaged Ogg Vorbis data";
    return nullptr;
  }
  const vorbis_info *info = ov_info(&ogg->file, -1);
  ogg->channels = info->channels;
  ogg->rate = int(info->rate);
  refusal = ogg->channels != 1 && ogg->channels != 2 ? "not mono or stereo"
            : ogg->rate < minsoundrate || ogg->rate > maxsoundrate
                ? "sample rate outside 4000 to 192000"
                : nullptr;
  if (refusal) {
    closeogg(ogg);
    return nullptr;
  }
  return ogg;
}

void closeogg(oggstream *ogg)
{
  if (ogg)
    ov_clear(&ogg->file);
  free(ogg);
}

int oggrate(const oggstream *ogg) { return ogg->rate; }

int64_t oggframes(oggstream *ogg) { return ov_pcm_total(&ogg->file, -1); }

int rewindogg(oggstream *ogg) { return ov_pcm_seek(&ogg->file, 0) == 0; }

long readogg(oggstream *ogg, int16_t *out, uint32_t frames, const char *&refusal)
{
  int bitstream = 0;
  const int bigendian = SDL_BYTEORDER == SDL_BIG_ENDIAN;
  const long got = ov_read(&ogg->file, reinterpret_cast<char *>(out),
                           int(frames * uint32_t(ogg->channels) * 2), bigendian, 2, 1, &bitstream);
  const vorbis_info *info = got > 0 ? ov_info(&ogg->file, bitstream) : nullptr;
  // a page that cannot be read ends the stream for libvorbisfile, as the last page would
  if (got < 0 || ogg->source->failed ||
      (info && (info->channels != ogg->channels || info->rate != ogg->rate))) {
    refusal = ogg->source->failed ? "cannot read the file"
              : got < 0           ? "damaged Ogg Vorbis data"
                                  : "streams of other formats in one file";
    return -1;
  }
  const long count = got / (2 * ogg->channels);
  for (long i = count - 1; ogg->channels == 1 && i >= 0; --i)  // mono to both sides, from the end
    out[2 * i] = out[2 * i + 1] = out[i];
  return count;
}

const char *decodeogg(bytesource &source, soundslot &decoded)
{
  if (source.size > size_t(maxsoundfilebytes))
    return "file larger than 64 MiB";
  const char *refusal = nullptr;
  oggstream *ogg = openogg(source, refusal);
  if (!ogg)
    return refusal;
  const int64_t total = oggframes(ogg);
  soundslot stereo{};
  if (total <= 0)
    refusal = "no samples in the file";
  else if (!slotfits(uint64_t(total), ogg->rate))
    refusal = "sound too long for a slot";
  else if (!(stereo.samples = static_cast<int16_t *>(malloc(size_t(total) * soundframebytes))))
    refusal = "out of memory";
  int64_t done = 0;
  for (long got = 1; !refusal && done < total && got > 0; done += got)
    got = readogg(ogg, stereo.samples + 2 * done, uint32_t(std::min<int64_t>(total - done, 4096)),
                  refusal);
  if (!refusal && done < total)
    refusal = "file too short for its samples";
  const int rate = ogg->rate;
  closeogg(ogg);
  if (refusal) {
    free(stereo.samples);
    return refusal;
  }
  stereo.length = uint32_t(total) * soundframebytes;
  return todevicerate(stereo, rate, decoded);
}
