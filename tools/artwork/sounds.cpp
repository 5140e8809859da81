// The demo's sounds, made by rule: a calm chord that loops without a seam, and the chime of a gem;
// and the WAV writer every sound made here goes through.
#include "artwork.h"

#include "files/files.h"

#include <cmath>

std::vector<unsigned char> wavfile(const std::vector<int16_t> &samples)
{
  const uint32_t databytes = uint32_t(samples.size() * 2);
  bytewriter file;
  for (char c : {'R', 'I', 'F', 'F'})
    file.u8(uint8_t(c));
  file.u32(36 + databytes);
  for (char c : {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '})
    file.u8(uint8_t(c));
  file.u32(16);            // the format chunk's size
  file.u16(1);             // PCM
  file.u16(1);             // one channel
  file.u32(soundrate);
  file.u32(soundrate * 2); // bytes a second
  file.u16(2);             // bytes a frame
  file.u16(16);            // bits a sample
  for (char c : {'d', 'a', 't', 'a'})
    file.u8(uint8_t(c));
  file.u32(databytes);
  for (int16_t sample : samples)
    file.u16(uint16_t(sample));
  return file.bytes;
}

int16_t tosample(double value)
{
  return int16_t(std::lround(std::fmax(-1.0, std::fmin(1.0, value)) * 32767));
}

// four seconds of a low chord that swells and fades twice; every partial makes whole cycles in
// the four seconds, so the end joins the start
std::vector<unsigned char> ambientwav()
{
  constexpr int seconds = 4;
  const double partials[][2] = {{110, 0.16}, {165, 0.10}, {220, 0.07}, {277.5, 0.04}};
  std::vector<int16_t> samples(soundrate * seconds);
  for (size_t i = 0; i < samples.size(); ++i) {
    const double t = double(i) / soundrate;
    const double swell = 0.65 + 0.35 * std::sin(2 * pi * t / 2);
    double value = 0;
    for (const auto &partial : partials)
      value += partial[1] * std::sin(2 * pi * partial[0] * t);
    samples[i] = tosample(value * swell);
  }
  return wavfile(samples);
}

// a quarter of a second of two bright tones a fifth apart, struck and dying away
std::vector<unsigned char> gemwav()
{
  std::vector<int16_t> samples(soundrate / 4);
  for (size_t i = 0; i < samples.size(); ++i) {
    const double t = double(i) / soundrate;
    const double decay = std::exp(-t * 14);
    samples[i] = tosample(decay * (0.45 * std::sin(2 * pi * 1320 * t) +
                                   0.30 * std::sin(2 * pi * 1980 * t)));
  }
  return wavfile(samples);
}
