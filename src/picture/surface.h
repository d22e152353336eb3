// Small helpers over SDL surfaces: rectangles, blits, colours, pixel access, the fit to
// the window's size, and loading an image in the display's format.
#pragma once

#include <SDL.h>

#include <cstdint>

inline constexpr int32_t kScreenWidth = 640;
inline constexpr int32_t kScreenHeight = 480;

// The display surface, set once at start-up; it belongs to SDL.
extern SDL_Surface* screen;
// Filled by every caller of makeRect and handed on at once; holds nothing between calls.
extern SDL_Rect scratchRect;

// Stores the low 16 bits of each value and returns rect, so the call can stand as the
// rectangle argument of a fill or a blit.
SDL_Rect* makeRect(SDL_Rect* rect, int32_t x, int32_t y, int32_t w, int32_t h);

// Copies srcRect of src (all of src when null) onto dst with its top-left corner at (x, y).
// The destination comes first, unlike SDL's own order.
int blitAt(SDL_Surface* dst, SDL_Surface* src, int32_t x, int32_t y, SDL_Rect* srcRect);

// A colour as a pixel value in the screen's format.
Uint32 mapColor(Uint8 r, Uint8 g, Uint8 b, Uint8 a);

// Fills the whole screen with one pixel value, without blending.
void fillScreen(Uint32 color);

// One 32-bit pixel, column first. No bounds check; the caller locks the surface when
// SDL_MUSTLOCK says so.
Uint32 getPixel(SDL_Surface* surface, int32_t x, int32_t y);
void putPixel(SDL_Surface* surface, int32_t x, int32_t y, Uint32 value);

// Nearest-neighbour fit of a 32-bit source to width x height (the game always asks for
// 640 x 480) in the screen's channel masks. Takes ownership of source and releases it.
// Returns null, keeping nothing, when the result cannot be made.
SDL_Surface* scaleSurface(SDL_Surface* source, int32_t width, int32_t height);

// Source index that destination index i takes under ratio: the exact product of i and the
// single-precision ratio, truncated toward zero.
inline int32_t scaledIndex(int32_t i, float ratio) {
  return static_cast<int32_t>(static_cast<double>(i) * static_cast<double>(ratio));
}

// The image at path, converted to the display's format with an alpha channel; null when
// it cannot be read, decoded or converted, and when it is refused before decoding (not a
// regular file, or larger than kMaxPicturePixels).
SDL_Surface* loadPicture(const char* path);
