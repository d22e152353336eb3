// The message strips of the banner sheet ("err.png"): 256 x 16 each, drawn centred near
// the top of the screen with their alpha channel.
#pragma once

#include <SDL.h>

#include <cstdint>

inline constexpr int32_t kErrorStripTop = 0;
inline constexpr int32_t kSolvedStripTop = 34;
inline constexpr int32_t kStripWidth = 256;
inline constexpr int32_t kStripHeight = 16;
inline constexpr int32_t kStripScreenTop = 64;

// Draws the strip whose top row in the sheet is stripTop onto the screen.
void drawStrip(SDL_Surface* sheet, int32_t stripTop);
