// The programs' icon, a monitor showing a white "T" on a blue screen on a dark slate ground: one
// list of shapes on a 32x32 grid, drawn as pixels at any size (the window icon, the icon theme's
// PNGs) and written out as the theme's SVG; and the PNG writer, with stored deflate blocks.
#include "artwork.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

constexpr int grid = 32;        // the side of the drawing, in its own units
constexpr int samplesside = 4;  // each pixel is the mean of 4x4 samples of the drawing
constexpr int storedblock = 65535;  // the most a stored deflate block holds

struct colour {
  uint8_t r, g, b;
};

const colour ground = {28, 34, 52}, bezel = {196, 204, 216}, shade = {128, 136, 152};
const colour white = {255, 255, 255}, lamp = {96, 220, 120};
const colour screentop = {74, 135, 232}, screenbottom = {32, 51, 138};

// a rectangle of the drawing, with rounded corners of the given radius; the screen shades from
// screentop at its top edge to screenbottom at its bottom edge
struct shape {
  float left, top, right, bottom, radius;
  colour fill;
  bool screen;
};

// painted in order, each over the ones before
const shape shapes[] = {
  {0, 0, grid, grid, 0, ground, false},
  {2, 5, 30, 23, 1.5f, bezel, false},
  {4, 7, 28, 21, 0, screentop, true},
  {10, 9, 22, 12, 0, white, false},   // the "T"
  {14, 12, 18, 19, 0, white, false},
  {26, 21, 27, 22, 0, lamp, false},
  {13, 23, 19, 25, 0, shade, false},  // the stand
  {9, 25, 23, 27, 0, bezel, false},
};

bool inside(const shape &s, float x, float y)
{
  if (x < s.left || x >= s.right || y < s.top || y >= s.bottom)
    return false;
  // in a corner, the point must lie within the corner's circle
  const float cx = std::fmin(std::fmax(x, s.left + s.radius), s.right - s.radius);
  const float cy = std::fmin(std::fmax(y, s.top + s.radius), s.bottom - s.radius);
  return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= s.radius * s.radius;
}

// the drawing's colour at a point, channels as floats
void sample(float x, float y, float rgb[3])
{
  for (const shape &s : shapes) {
    if (!inside(s, x, y))
      continue;
    const float t = s.screen ? (y - s.top) / (s.bottom - s.top) : 0;
    const colour &a = s.fill, &b = s.screen ? screenbottom : s.fill;
    rgb[0] = a.r + (b.r - a.r) * t;
    rgb[1] = a.g + (b.g - a.g) * t;
    rgb[2] = a.b + (b.b - a.b) * t;
  }
}

void put32(std::vector<unsigned char> &out, uint32_t value)
{
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(uint8_t(value >> shift));
}

// the CRC that ends each PNG chunk, bit by bit: the icons are small
uint32_t crc32(const unsigned char *data, size_t size)
{
  uint32_t crc = 0xffffffffu;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit)
      crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

// a zlib stream of stored deflate blocks, ended by the data's Adler-32
std::vector<unsigned char> zlibstored(const std::vector<unsigned char> &data)
{
  std::vector<unsigned char> out = {0x78, 0x01};
  size_t at = 0;
  do {
    const size_t size = std::min(data.size() - at, size_t(storedblock));
    out.push_back(at + size == data.size());  // the last block says so; type 0, stored
    for (unsigned length : {unsigned(size), unsigned(size) ^ 0xffffu}) {
      out.push_back(uint8_t(length));
      out.push_back(uint8_t(length >> 8));
    }
    out.insert(out.end(), data.begin() + at, data.begin() + at + size);
    at += size;
  } while (at < data.size());
  uint32_t a = 1, b = 0;
  for (unsigned char byte : data) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  put32(out, b << 16 | a);
  return out;
}

void putchunk(std::vector<unsigned char> &file, const char *type,
              const std::vector<unsigned char> &data)
{
  put32(file, uint32_t(data.size()));
  const size_t start = file.size();
  file.insert(file.end(), type, type + 4);
  file.insert(file.end(), data.begin(), data.end());
  put32(file, crc32(&file[start], file.size() - start));
}

std::string hex(colour c)
{
  char text[8];
  snprintf(text, sizeof text, "#%02x%02x%02x", c.r, c.g, c.b);
  return text;
}

}  // namespace

std::vector<unsigned char> iconrgb(int side)
{
  std::vector<unsigned char> pixels;
  const float unit = float(grid) / side, step = unit / samplesside;
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) {
      float sum[3] = {}, rgb[3];
      for (int sy = 0; sy < samplesside; ++sy)
        for (int sx = 0; sx < samplesside; ++sx) {
          sample(x * unit + (sx + 0.5f) * step, y * unit + (sy + 0.5f) * step, rgb);
          for (int c = 0; c < 3; ++c)
            sum[c] += rgb[c];
        }
      for (float channel : sum)
        pixels.push_back(uint8_t(std::lround(channel / (samplesside * samplesside))));
    }
  return pixels;
}

std::vector<unsigned char> pngfile(int width, int height, int channels,
                                   const std::vector<unsigned char> &pixels)
{
  // 8 bits a channel, RGB or RGBA, no interlace; each row is led by filter type 0, none
  std::vector<unsigned char> header, raw;
  put32(header, uint32_t(width));
  put32(header, uint32_t(height));
  header.insert(header.end(), {8, uint8_t(channels == 4 ? 6 : 2), 0, 0, 0});
  const size_t rowbytes = size_t(width) * channels;
  for (size_t row = 0; row < size_t(height); ++row) {
    raw.push_back(0);
    raw.insert(raw.end(), pixels.begin() + row * rowbytes, pixels.begin() + (row + 1) * rowbytes);
  }
  std::vector<unsigned char> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  putchunk(file, "IHDR", header);
  putchunk(file, "IDAT", zlibstored(raw));
  putchunk(file, "IEND", {});
  return file;
}

std::vector<unsigned char> iconpng(int side)
{
  return pngfile(side, side, 3, iconrgb(side));
}

std::string iconsvg()
{
  std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"32\" height=\"32\" "
                    "viewBox=\"0 0 32 32\">\n"
                    "  <defs>\n"
                    "    <linearGradient id=\"screen\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">\n"
                    "      <stop offset=\"0\" stop-color=\"" + hex(screentop) + "\"/>\n"
                    "      <stop offset=\"1\" stop-color=\"" + hex(screenbottom) + "\"/>\n"
                    "    </linearGradient>\n"
                    "  </defs>\n";
  for (const shape &s : shapes) {
    char rect[160], corner[32] = "";
    if (s.radius > 0)
      snprintf(corner, sizeof corner, "rx=\"%g\" ", s.radius);
    snprintf(rect, sizeof rect, "  <rect x=\"%g\" y=\"%g\" width=\"%g\" height=\"%g\" %s", s.left,
             s.top, s.right - s.left, s.bottom - s.top, corner);
    svg += rect + ("fill=\"" + (s.screen ? "url(#screen)" : hex(s.fill)) + "\"/>\n");
  }
  return svg + "</svg>\n";
}

std::string iconfile(int side)
{
  if (side == 0)
    return "icons/scalable/apps/" + std::string(iconname) + ".svg";
  return "icons/" + std::to_string(side) + "x" + std::to_string(side) + "/apps/" + iconname +
         ".png";
}
