// Drawing: 2-D text in the virtual 640x480 screen from the bitmap font, the mouse pointer,
// 3-D viewports and view transforms, and screenshots.
#pragma once

// [SECTION] text, font and pointer

// [SECTION] viewports and view transforms

// [SECTION] screenshots
