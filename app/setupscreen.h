// The set-up screen: its items, heading and text-colour bars, and how they bind to the config.
#pragma once

#include <cstdint>

// the three colour bars are shown; not stored anywhere
extern int32_t textcolor;

// creates the twelve items in their fixed slots ("Done" is slot 0) and, while textcolor is
// on, lays out the three colour bars
void buildsetupscreen();
// points the colour bars at the interface text colour
void bindeditbars();
// the "Resolution" heading over the four resolution items
void drawsetupheading();
