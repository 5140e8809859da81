// Menus: the immediate-mode item table, its interaction and drawing, the text-entry field and
// the colour edit bars.
#pragma once

// [SECTION] item table

// [SECTION] colour edit bars
