// Drawing: 2-D text in the virtual 640x480 screen from the bitmap font, the mouse pointer,
// 2-D shapes and sprites, 3-D viewports and view transforms, and screenshots.
#pragma once

#include <cstdarg>
#include <cstddef>

// [SECTION] text, font and pointer
constexpr int textbuffersize = 1024;   // characters in each formatting buffer, terminator included
constexpr int textoutputlimit = 1000;  // formatting stops once the output holds this many
constexpr int aligncentre = 0x10000;   // placement flag: centre on the coordinate
constexpr int alignend = 0x20000;      // placement flag: the coordinate is the right or bottom edge
constexpr int fontwidth = 256;         // the font texture: 16x16 cells, one for each code 0 to 255
constexpr int fontheight = 256;
constexpr int fontimagewidth = 256;    // "font.bmp": 16 cells of 16x16 across, 16 rows of them
constexpr int fontimageheight = 128;   // or only the 8 rows of codes 0 to 127
constexpr int fontcell = 16;
constexpr int replacementcell = 128;   // the cell drawn for every character the font has no cell of

extern char textstring2[textbuffersize];  // the whole formatted text of the last drawtext
extern char textstring3[textbuffersize];  // one conversion, before it is appended to textstring2

// 2-D drawing state: texturing and alpha blending on, depth test off, a perspective projection
// that shows the virtual screen on the plane z = -1, where drawtext and the shapes then put their
// vertices; leaves GL_TEXTURE as the current matrix mode
void setuptextdisplay();
// "font.bmp", the pointer and the glyphs, found in the working directory or a data folder
constexpr const char *fontfilename = "font.bmp";

// the font file into slot 511 (256x256), uploaded when graphics are on; 1 when it was found and
// read; a missing or malformed file leaves the slot cleared to transparent and is reported in
// one message line, and a 256x128 file leaves the lower half so
int loadfont();
// rows 0 to 127 (from a 256x128 file) or 0 to 255 (from a 256x256 one) of 256x256 RGBA texels
// from a 24-bit BMP in memory: R = G = B = 255, A = the red byte, bytes past the end 255; 0,
// touching nothing, when the bytes are no such BMP
int decodefont(const unsigned char *bytes, size_t count, unsigned char *texels);
// the font cell that draws a character (a code point): its own for codes 0 to 127 and U+00A0 to
// U+00FF (Latin-1's letters and signs), replacementcell for any other
int fontcellof(int character);
// text with its "/" escapes into textstring2, the length in bytes; as with printf, arguments the
// escapes ask for but the caller did not pass are the caller's fault; a null "/s" string appends
// nothing, no string is read past what the buffers hold, and no character is cut in two
int formattext(const char *text, va_list args);
// a coordinate with its placement flags applied for an extent of count cells of side size, cut
// to its low 16 bits: a result below 0 wraps into 0 to 65535
int aligncoordinate(int value, int count, int size);
// formatted UTF-8 text in square cells of side size, one for each character, the first cell's
// top-left corner at (x, y) in the virtual screen; a character the font has no cell of, and each
// invalid sequence of bytes, draws the replacement glyph
void drawtext(const char *text, int x, int y, int size, float red, float green, float blue,
              float alpha, ...);
// the extent drawtext covers with the same text, arguments and size: width (the formatted
// characters times size, held within int) and height (size, 0 for an empty text) into whichever
// pointer is not null; the number of characters. Formats into textstring2 as drawtext does
int measuretext(int *width, int *height, const char *text, int size, ...);
// the 32x32 pointer glyph centred on mouse.x, mouse.y
void drawmousecursor(float red, float green, float blue, float alpha);

// [SECTION] UTF-8
// Text is UTF-8 throughout. An invalid sequence (a stray byte, a sequence cut short, an overlong
// form, a surrogate) reads as one replacementcharacter: its longest start that could still have
// become a character, at least one byte
constexpr int replacementcharacter = 0xFFFD;

// the character at the start of text, read from at most room bytes and never past one that does
// not continue it, and the bytes it takes into *length (when not null); 0 and 0 for no room
int decodeutf8(const char *text, size_t room, int *length);
// the UTF-8 form of a code point into out, its length; 0 for a surrogate, a negative value or one
// past U+10FFFF
int encodeutf8(int character, char out[4]);
// the characters in the first bytes of text
int countcharacters(const char *text, size_t bytes);
// the bytes of the first characters of text, within its first bytes
size_t charactersbytes(const char *text, size_t bytes, int characters);
// the first bytes of text less a character that they cut short at their end: where a longer text
// can be cut
size_t wholecharacters(const char *text, size_t bytes);

// [SECTION] 2-D shapes and sprites
// Positions and sizes in virtual pixels (floats, so that things move smoothly), colours and alpha
// from 0 to 1, blended over what is drawn. Shapes, sprites and drawtext stack in the order drawn
// after either 2-D set-up; each leaves texturing on and its own colour current.

// fills the whole window with the colour and clears its depth buffer: a frame's first call
void clearscreen(float red, float green, float blue);
// the 2-D state of setuptextdisplay, but with an orthographic projection of the virtual screen,
// so that a game's own glVertex2f(x, y) is in virtual pixels; leaves GL_MODELVIEW current
void setupscreen2d();
// a filled rectangle with its top-left corner at (x, y)
void drawrectangle(float x, float y, float width, float height, float red, float green,
                   float blue, float alpha);
// the rectangle's border, linewidth wide inside its edges; nothing for a width of 0 or less
void drawrectangleoutline(float x, float y, float width, float height, float linewidth,
                          float red, float green, float blue, float alpha);
// a line from (x0, y0) to (x1, y1), width wide and cut square at its ends; nothing when it has no
// length or no width
void drawline(float x0, float y0, float x1, float y1, float width, float red, float green,
              float blue, float alpha);
// the source rectangle of a slot's picture (origin top left, in the pixels of its full-detail
// file, texture[slot].fullwidth by fullheight, so that a sprite draws alike at either texture
// detail), scaled, centred on (x, y), turned clockwise by turn degrees about its centre and
// tinted; nothing for an empty slot
void drawsprite(int slot, float sourcex, float sourcey, float sourcewidth, float sourceheight,
                float x, float y, float scale, float turn, float red, float green, float blue,
                float alpha);

// [SECTION] viewports and view transforms
// The viewports take a rectangle of the virtual screen (origin top left, y down) and scale it to
// windowinfo's size. A position is three floats x, y, z; an orientation nine floats, the first,
// second and third axis of the camera or object in world coordinates.

// a perspective view, 90 degrees across and square pixels; the modelview matrix is left current
// and identity, the texture matrix identity
void setupperspectiveviewport(int x, int y, int width, int height, float znear, float zfar);
// an orthographic view of eye space from -half to +half on each axis; matrices left as above
void setuporthoviewport(int x, int y, int width, int height, float halfwidth, float halfheight,
                        float halfdepth);
// multiplies the camera's inverse placement onto the modelview matrix; either pointer may be null
void setupviewpoint(const float *position, const float *orientation);
// multiplies an object's placement onto the modelview matrix; either pointer may be null
void setupobjectrender(const float *position, const float *orientation);

// [SECTION] screenshots
// a band of rows: small beside a whole window, large enough that a screenshot takes few writes
// (each one costs the file system a journal update)
constexpr size_t screenshotbufferbytes = 1024 * 1024;

// one band of the back buffer as read back, bottom row first, packed into the file's rows
extern unsigned char screenshotbuffer[screenshotbufferbytes];
// the name of the file the last screenshot wrote; empty when it wrote none
extern char screenshotname[16];

// saves the back buffer (call it before the buffer swap) as the first free name from
// "scsht000.bmp" to "scsht999.bmp" in the working directory, never replacing an existing entry,
// for any window up to 262144 pixels wide (a row of screenshotbuffer as read back) whose file
// stays under 4 GB; 1 when a whole file was written, 0 when nothing was (a read-back that GL
// refused creates no file, and a failed write or read leaves none behind)
int screenshot();
