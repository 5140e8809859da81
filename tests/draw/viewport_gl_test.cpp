// Viewports and view transforms in a real GL context: the integer viewport mapping, the
// projections, and camera and object placements read back from GL's matrices.
#include "engine.h"
#include "glwindow.h"

#include <GL/gl.h>
#include <array>
#include <cmath>
#include <gtest/gtest.h>

namespace {

using matrix = std::array<float, 16>;
using vec4 = std::array<float, 4>;

// three orthonormal, right-handed axes that are not symmetric, so a transpose shows
const float axes[9] = {0.36f, 0.48f, -0.8f, -0.8f, 0.6f, 0.0f, 0.48f, 0.64f, 0.6f};
const float place[3] = {3.0f, -2.0f, 5.0f};

std::array<int, 4> viewport()
{
  std::array<int, 4> rect;
  glGetIntegerv(GL_VIEWPORT, rect.data());
  return rect;
}

matrix readmatrix(GLenum which)
{
  matrix m;
  glGetFloatv(which, m.data());
  return m;
}

int matrixmode()
{
  int mode;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  return mode;
}

vec4 transform(const matrix &m, vec4 v)
{
  vec4 out{};
  for (int row = 0; row < 4; ++row)
    for (int column = 0; column < 4; ++column)
      out[row] += m[column * 4 + row] * v[column];
  return out;
}

void expectnear(const matrix &actual, const matrix &expected)
{
  for (int i = 0; i < 16; ++i)
    EXPECT_NEAR(actual[i], expected[i], 1e-5) << "element " << i;
}

void expectnear(const vec4 &actual, const vec4 &expected)
{
  for (int i = 0; i < 4; ++i)
    EXPECT_NEAR(actual[i], expected[i], 1e-4) << "component " << i;
}

const matrix identity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// some modelview matrix that is not the identity, left current
matrix someplacement()
{
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(1, 2, 3);
  glRotatef(40, 1, 1, 0);
  return readmatrix(GL_MODELVIEW_MATRIX);
}

class viewports : public ::testing::Test {
protected:
  void SetUp() override
  {
    // leftovers that the viewport operations must clear
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glScalef(2, 2, 2);
    someplacement();
    glMatrixMode(GL_PROJECTION);
  }
  void TearDown() override
  {
    windowinfo.width = 640;
    windowinfo.height = 480;
  }
};

TEST_F(viewports, a_full_window_perspective_is_ninety_degrees_across_with_square_pixels)
{
  setupperspectiveviewport(0, 0, 640, 480, 1, 1000);
  EXPECT_EQ(viewport(), (std::array<int, 4>{0, 0, 640, 480}));
  // glFrustum(-1, 1, -0.75, 0.75, 1, 1000)
  expectnear(readmatrix(GL_PROJECTION_MATRIX),
             {1, 0, 0, 0, 0, 1 / 0.75f, 0, 0, 0, 0, -1001.0f / 999, -1, 0, 0, -2000.0f / 999, 0});
  expectnear(readmatrix(GL_TEXTURE_MATRIX), identity);
  expectnear(readmatrix(GL_MODELVIEW_MATRIX), identity);
  EXPECT_EQ(matrixmode(), GL_MODELVIEW);
}

TEST_F(viewports, virtual_rectangles_scale_to_the_window_size_truncating)
{
  windowinfo.width = 1024;
  windowinfo.height = 768;
  setupperspectiveviewport(100, 50, 200, 100, 2, 100);
  EXPECT_EQ(viewport(), (std::array<int, 4>{160, 528, 320, 160}));
  // the vertical extent follows the viewport's shape: 160 / 320 of the horizontal one
  EXPECT_NEAR(readmatrix(GL_PROJECTION_MATRIX)[0], 1.0f, 1e-6);
  EXPECT_NEAR(readmatrix(GL_PROJECTION_MATRIX)[5], 2.0f, 1e-6);

  // 1.25, 126.25, 475 and 123.75 window pixels
  windowinfo.width = 800;
  windowinfo.height = 600;
  setuporthoviewport(1, 1, 101, 99, 1, 1, 1);
  EXPECT_EQ(viewport(), (std::array<int, 4>{1, 475, 126, 123}));
  // off the left and bottom edges: -1.25 becomes -1, toward zero, not -2
  setuporthoviewport(-1, 1, 640, 480, 1, 1, 1);
  EXPECT_EQ(viewport(), (std::array<int, 4>{-1, -1, 800, 600}));
}

TEST_F(viewports, an_orthographic_view_maps_each_half_extent_onto_the_viewport)
{
  setuporthoviewport(0, 0, 640, 480, 320, 240, 100);
  EXPECT_EQ(viewport(), (std::array<int, 4>{0, 0, 640, 480}));
  matrix projection = readmatrix(GL_PROJECTION_MATRIX);
  expectnear(transform(projection, {-320, -240, 100, 1}), {-1, -1, -1, 1});
  expectnear(transform(projection, {320, 240, -100, 1}), {1, 1, 1, 1});
  expectnear(readmatrix(GL_TEXTURE_MATRIX), identity);
  expectnear(readmatrix(GL_MODELVIEW_MATRIX), identity);
  EXPECT_EQ(matrixmode(), GL_MODELVIEW);
}

TEST_F(viewports, a_viewport_of_no_width_leaves_a_finite_projection)
{
  setupperspectiveviewport(0, 0, 0, 480, 1, 100);
  for (float value : readmatrix(GL_PROJECTION_MATRIX))
    EXPECT_TRUE(std::isfinite(value));
}

class viewtransforms : public ::testing::Test {
protected:
  void SetUp() override { glMatrixMode(GL_PROJECTION); }
};

TEST_F(viewtransforms, the_camera_brings_a_point_of_its_own_axes_to_those_coordinates)
{
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  setupviewpoint(place, axes);
  // world point place + A * (1, 2, 3)
  vec4 world = {place[0], place[1], place[2], 1};
  for (int axis = 0; axis < 3; ++axis)
    for (int i = 0; i < 3; ++i)
      world[i] += axes[axis * 3 + i] * float(axis + 1);
  expectnear(transform(readmatrix(GL_MODELVIEW_MATRIX), world), {1, 2, 3, 1});
}

TEST_F(viewtransforms, an_object_carries_its_own_axes_into_the_world)
{
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  setupobjectrender(place, axes);
  matrix m = readmatrix(GL_MODELVIEW_MATRIX);
  expectnear(transform(m, {0, 0, 0, 1}), {3, -2, 5, 1});
  expectnear(transform(m, {0, 1, 0, 1}), {3 - 0.8f, -2 + 0.6f, 5, 1});
}

TEST_F(viewtransforms, a_camera_and_an_object_at_the_same_place_cancel_out)
{
  matrix before = someplacement();
  glMatrixMode(GL_PROJECTION);
  setupviewpoint(place, axes);
  EXPECT_EQ(matrixmode(), GL_MODELVIEW);
  setupobjectrender(place, axes);
  expectnear(readmatrix(GL_MODELVIEW_MATRIX), before);
}

TEST_F(viewtransforms, null_parts_leave_the_matrix_alone)
{
  matrix before = someplacement();
  glMatrixMode(GL_PROJECTION);
  setupviewpoint(nullptr, nullptr);
  EXPECT_EQ(matrixmode(), GL_MODELVIEW);
  glMatrixMode(GL_PROJECTION);
  setupobjectrender(nullptr, nullptr);
  EXPECT_EQ(matrixmode(), GL_MODELVIEW);
  expectnear(readmatrix(GL_MODELVIEW_MATRIX), before);

  // a position alone only moves
  glLoadIdentity();
  setupviewpoint(place, nullptr);
  expectnear(transform(readmatrix(GL_MODELVIEW_MATRIX), {3, -2, 5, 1}), {0, 0, 0, 1});
}

}  // namespace
