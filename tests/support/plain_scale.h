// The nearest-neighbour fit written plainly, as its rule reads: destination column outer,
// row inner, the source column worked out once per column and the source row for every
// pixel. The reference that the fast fit is checked and measured against.
#pragma once

#include <SDL.h>

#include "picture/surface.h"

inline SDL_Surface* plainScale(SDL_Surface* source) {
  const SDL_PixelFormat* format = screen->format;
  SDL_Surface* result = SDL_CreateRGBSurface(0, 640, 480, 32, format->Rmask, format->Gmask,
                                             format->Bmask, format->Amask);
  const float ratioX = static_cast<float>(source->w) / 640.0f;
  const float ratioY = static_cast<float>(source->h) / 480.0f;
  for (int32_t x = 0; x < 640; ++x) {
    const int32_t sx = static_cast<int32_t>(static_cast<double>(x) * ratioX);
    for (int32_t y = 0; y < 480; ++y) {
      const int32_t sy = static_cast<int32_t>(static_cast<double>(y) * ratioY);
      putPixel(result, x, y, getPixel(source, sx, sy));
    }
  }
  return result;
}
