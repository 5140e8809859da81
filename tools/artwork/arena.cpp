// The example game's artwork, made by rule: its sprites (the ship, a saw blade to shoot and the
// shot), each a painter sampled into pixels at full size for "texture" and at half size for
// "texturelow"; the shot's and the hit's sounds; and a music loop of four bars.
#include "artwork.h"

#include <algorithm>
#include <cmath>

namespace {

// [SECTION] sprites
constexpr int samplesside = 4;  // each pixel is the mean of 4x4 samples of the drawing

// a colour of the drawing: channels from 0 to 255, and how much of the point it covers, 0 to 1
struct paint {
  float r, g, b, a;
};
constexpr paint clear = {0, 0, 0, 0};

// a sprite: its file's name, its size at full detail, and its painter, which takes a point in
// full-detail pixels from the sprite's top-left corner
struct sprite {
  const char *name;
  int width, height;
  paint (*painter)(float x, float y);
};

float mix(float from, float to, float t)
{
  return from + (to - from) * t;
}

// true when (x, y) lies inside the polygon of the corners, by the even-odd rule
template <int count>
bool inpolygon(const float (&corners)[count][2], float x, float y)
{
  bool inside = false;
  for (int i = 0, j = count - 1; i < count; j = i++) {
    const float *a = corners[i], *b = corners[j];
    if ((a[1] > y) != (b[1] > y) && x < a[0] + (y - a[1]) * (b[0] - a[0]) / (b[1] - a[1]))
      inside = !inside;
  }
  return inside;
}

// the ship, nose up, as drawsprite turns it from: a light arrowhead that darkens towards its tail,
// with a blue canopy
paint ship(float x, float y)
{
  const float hull[][2] = {{16, 2}, {28, 29}, {16, 23}, {4, 29}};
  if (!inpolygon(hull, x, y))
    return clear;
  const float across = (x - 16) / 3, along = (y - 15) / 5;
  if (across * across + along * along <= 1)
    return {80, 190, 255, 1};
  const float shade = mix(240, 150, y / 32);
  return {shade, shade, shade + 12, 1};
}

// a saw blade of six teeth with a dark ring round its hub, in greys that the game colours; the
// teeth show it turning
paint blade(float x, float y)
{
  const float dx = x - 16, dy = y - 16, radius = std::hypot(dx, dy);
  const float tooth = float(std::atan2(dy, dx) / (2 * pi) * 6);
  if (radius > 11 + 4 * (tooth - std::floor(tooth)))
    return clear;
  if (radius < 3)
    return {255, 255, 255, 1};
  if (radius > 6 && radius < 8)
    return {70, 70, 70, 1};
  const float grey = mix(230, 150, radius / 15);
  return {grey, grey, grey, 1};
}

// the shot, flying up: a short bolt, white at its core, glowing gold out to its soft edge
paint bolt(float x, float y)
{
  const float distance = std::hypot(x - 4, y - std::clamp(y, 4.0f, 12.0f));  // from its spine
  if (distance >= 4)
    return clear;
  if (distance < 1.5f)
    return {255, 255, 255, 1};
  return {255, 220, 110, 1 - (distance - 1.5f) / 2.5f};
}

const sprite sprites[] = {
    {"ship.png", 32, 32, ship}, {"blade.png", 32, 32, blade}, {"shot.png", 8, 16, bolt}};

// the sprite drawn at one divisor-th of its size, as RGBA bytes, rows top first: a pixel covers
// the mean of its samples' cover, in their colours weighted by their cover
std::vector<unsigned char> spritepixels(const sprite &s, int divisor)
{
  std::vector<unsigned char> pixels;
  const float step = float(divisor) / samplesside;
  for (int y = 0; y < s.height / divisor; ++y)
    for (int x = 0; x < s.width / divisor; ++x) {
      paint sum = clear;
      for (int sy = 0; sy < samplesside; ++sy)
        for (int sx = 0; sx < samplesside; ++sx) {
          const paint p = s.painter((x * samplesside + sx + 0.5f) * step,
                                    (y * samplesside + sy + 0.5f) * step);
          sum = {sum.r + p.r * p.a, sum.g + p.g * p.a, sum.b + p.b * p.a, sum.a + p.a};
        }
      const float cover = sum.a > 0 ? sum.a : 1;
      for (float channel : {sum.r / cover, sum.g / cover, sum.b / cover,
                            sum.a * 255 / (samplesside * samplesside)})
        pixels.push_back(uint8_t(std::lround(channel)));
    }
  return pixels;
}

// [SECTION] sounds
// a fixed hash of a number as noise from -1 to 1, the same on every machine
double noise(uint32_t n)
{
  n = (n ^ 61) ^ (n >> 16);
  n *= 9;
  n ^= n >> 4;
  n *= 0x27d4eb2du;
  n ^= n >> 15;
  return double(n) / 2147483647.5 - 1;
}

// a sound's gain at t seconds of its length: up in 4 ms and down in its last 10, so it never clicks
double edges(double t, double seconds)
{
  return std::min({1.0, t / 0.004, (seconds - t) / 0.01});
}

// the phase, in turns, at t seconds of a tone that falls from start + end Hz towards end Hz at
// the rate given: the integral of its frequency
double fallingphase(double t, double start, double end, double rate)
{
  return end * t + start / rate * (1 - std::exp(-rate * t));
}

// seconds of a sound made by the function of its time, into samples
template <typename voice>
std::vector<int16_t> render(double seconds, voice value)
{
  std::vector<int16_t> samples(size_t(seconds * soundrate));
  for (size_t i = 0; i < samples.size(); ++i)
    samples[i] = tosample(value(double(i) / soundrate) * edges(double(i) / soundrate, seconds));
  return samples;
}

// a sixth of a second of a buzzing zap that falls from 1500 Hz to about 350
std::vector<unsigned char> shotwav()
{
  return wavfile(render(1.0 / 6, [](double t) {
    const double turns = fallingphase(t, 1500, 0, 9);
    return 0.45 * std::exp(-t * 14) *
           (std::sin(2 * pi * turns) + std::sin(6 * pi * turns) / 3);
  }));
}

// four tenths of a second of a low thump under a burst of dull noise
std::vector<unsigned char> hitwav()
{
  return wavfile(render(0.4, [](double t) {
    double dull = 0;  // noise smoothed over its last few samples, for a softer burst
    for (int back = 0; back < 4; ++back)
      dull += noise(uint32_t(t * soundrate) + back) / 4;
    const double thump = std::sin(2 * pi * fallingphase(t, 60, 40, 12));
    return 0.6 * thump * std::exp(-t * 10) + 0.5 * dull * std::exp(-t * 9);
  }));
}

// [SECTION] music: 120 beats a minute, four bars of four beats on A minor, F, C and G; a plucked
// bass on the eighths, a chime's arpeggio on the sixteenths, a kick on the beats and a hat between
constexpr double sixteenth = 0.125;  // seconds
constexpr int bars = 4, sixteenthsabar = 16;
// each bar's chord: the bass's note and the arpeggio's three, as MIDI note numbers
const int chords[bars][4] = {
    {45, 57, 60, 64}, {41, 57, 60, 65}, {48, 55, 60, 64}, {43, 55, 59, 62}};
const int arpeggio[] = {0, 1, 2, 1};  // the order the chime takes the chord's notes in

double frequency(int note)
{
  return 440 * std::pow(2.0, (note - 69) / 12.0);
}

// a note of the given seconds from start, wrapping round the loop's end, so that a tail carries
// into the start as it would into the next time round
template <typename voice>
void addnote(std::vector<double> &loop, double start, double seconds, voice value)
{
  const size_t first = size_t(std::lround(start * soundrate));
  for (size_t i = 0; i < size_t(seconds * soundrate); ++i) {
    const double t = double(i) / soundrate;
    loop[(first + i) % loop.size()] += value(t) * edges(t, seconds);
  }
}

void addbar(std::vector<double> &loop, int bar)
{
  const int *chord = chords[bar];
  for (int step = 0; step < sixteenthsabar; ++step) {
    const double start = (bar * sixteenthsabar + step) * sixteenth;
    const double chime = frequency(chord[1 + arpeggio[step % 4]] + 12);
    addnote(loop, start, 2 * sixteenth, [chime](double t) {
      return 0.16 * std::exp(-t * 10) * (std::sin(2 * pi * chime * t) +
                                         0.2 * std::sin(6 * pi * chime * t));
    });
    if (step % 2 == 0) {
      const double bass = frequency(chord[0] + (step % 4 ? 12 : 0));
      addnote(loop, start, 2 * sixteenth, [bass](double t) {
        const double w = 2 * pi * bass * t;
        return 0.3 * std::exp(-t * 5) * (std::sin(w) + std::sin(2 * w) / 2 + std::sin(3 * w) / 4);
      });
    }
    if (step % 4 == 0)
      addnote(loop, start, 0.3, [](double t) {
        return 0.6 * std::exp(-t * 9) * std::sin(2 * pi * fallingphase(t, 75, 45, 30));
      });
    if (step % 4 == 2)
      addnote(loop, start, 0.06, [start](double t) {
        return 0.08 * std::exp(-t * 50) * noise(uint32_t((start + t) * soundrate));
      });
  }
}

}  // namespace

std::vector<std::pair<std::string, std::vector<unsigned char>>> arenaartwork()
{
  std::vector<std::pair<std::string, std::vector<unsigned char>>> files;
  for (const sprite &s : sprites) {
    files.push_back({std::string("texture/") + s.name,
                     pngfile(s.width, s.height, 4, spritepixels(s, 1))});
    files.push_back({std::string("texturelow/") + s.name,
                     pngfile(s.width / 2, s.height / 2, 4, spritepixels(s, 2))});
  }
  files.push_back({"sound/shot.wav", shotwav()});
  files.push_back({"sound/hit.wav", hitwav()});
  return files;
}

// the bars laid into the loop, then the whole scaled so that its loudest sample is 0.9
std::vector<unsigned char> arenamusicwav()
{
  std::vector<double> loop(size_t(bars * sixteenthsabar * sixteenth * soundrate));
  for (int bar = 0; bar < bars; ++bar)
    addbar(loop, bar);
  double loudest = 0;
  for (double value : loop)
    loudest = std::max(loudest, std::fabs(value));
  std::vector<int16_t> samples;
  for (double value : loop)
    samples.push_back(tosample(value * 0.9 / loudest));
  return wavfile(samples);
}
