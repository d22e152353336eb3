#include "picture/surface.h"

#include <cstring>

#include "picture/picture_file.h"
#include "picture/quiet_errors.h"

SDL_Surface* screen = nullptr;
SDL_Rect scratchRect;

SDL_Rect* makeRect(SDL_Rect* rect, int32_t x, int32_t y, int32_t w, int32_t h) {
  rect->x = static_cast<Sint16>(x);
  rect->y = static_cast<Sint16>(y);
  rect->w = static_cast<Uint16>(w);
  rect->h = static_cast<Uint16>(h);
  return rect;
}

int blitAt(SDL_Surface* dst, SDL_Surface* src, int32_t x, int32_t y, SDL_Rect* srcRect) {
  // Only the position of the destination rectangle is read by the blit.
  SDL_Rect at;
  at.x = static_cast<Sint16>(x);
  at.y = static_cast<Sint16>(y);
  at.w = 0;
  at.h = 0;
  return SDL_UpperBlit(src, srcRect, dst, &at);
}

Uint32 mapColor(Uint8 r, Uint8 g, Uint8 b, Uint8 a) {
  return SDL_MapRGBA(screen->format, r, g, b, a);
}

void fillScreen(Uint32 color) {
  SDL_FillRect(screen, makeRect(&scratchRect, 0, 0, screen->w, screen->h), color);
}

static Uint32* pixelRow(SDL_Surface* surface, int32_t y) {
  return reinterpret_cast<Uint32*>(static_cast<Uint8*>(surface->pixels) + y * surface->pitch);
}

Uint32 getPixel(SDL_Surface* surface, int32_t x, int32_t y) {
  return pixelRow(surface, y)[x];
}

void putPixel(SDL_Surface* surface, int32_t x, int32_t y, Uint32 value) {
  pixelRow(surface, y)[x] = value;
}

static bool lockIfNeeded(SDL_Surface* surface) {
  return !SDL_MUSTLOCK(surface) || SDL_LockSurface(surface) == 0;
}

static void unlockIfNeeded(SDL_Surface* surface) {
  if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
}

// The copy runs row by row over a table of source columns, so every output row is one
// sequential write and every input row one forward read; a destination row that takes the
// same source row as the one above it (when the picture is enlarged) is copied from that
// row. Each word lands where the column-by-column nearest-neighbour rule puts it: same
// ratios, same truncation.
static void copyScaled(SDL_Surface* source, SDL_Surface* result, float ratioX, float ratioY) {
  int32_t sourceColumn[kScreenWidth];
  const int32_t width = result->w;
  for (int32_t x = 0; x < width; ++x) sourceColumn[x] = scaledIndex(x, ratioX);
  int32_t previousRow = -1;
  for (int32_t y = 0; y < result->h; ++y) {
    const int32_t sourceRow = scaledIndex(y, ratioY);
    Uint32* __restrict to = pixelRow(result, y);
    if (sourceRow == previousRow) {
      std::memcpy(to, pixelRow(result, y - 1), static_cast<size_t>(width) * sizeof(Uint32));
      continue;
    }
    const Uint32* __restrict from = pixelRow(source, sourceRow);
    for (int32_t x = 0; x < width; ++x) to[x] = from[sourceColumn[x]];
    previousRow = sourceRow;
  }
}

static SDL_Surface* makeScaledCopy(SDL_Surface* source, int32_t width, int32_t height) {
  if (source == nullptr || source->format->BytesPerPixel != 4 || source->w <= 0 || source->h <= 0 ||
      width <= 0 || width > kScreenWidth || height <= 0) {
    return nullptr;
  }
  const SDL_PixelFormat* format = screen->format;
  // A fresh software surface never needs locking; the source might.
  SDL_Surface* result = SDL_CreateRGBSurface(0, width, height, 32, format->Rmask, format->Gmask,
                                             format->Bmask, format->Amask);
  if (result == nullptr) return nullptr;
  if (!lockIfNeeded(source)) {
    SDL_FreeSurface(result);
    return nullptr;
  }
  const float ratioX = static_cast<float>(source->w) / static_cast<float>(width);
  const float ratioY = static_cast<float>(source->h) / static_cast<float>(height);
  copyScaled(source, result, ratioX, ratioY);
  unlockIfNeeded(source);
  return result;
}

SDL_Surface* scaleSurface(SDL_Surface* source, int32_t width, int32_t height) {
  SDL_Surface* result = makeScaledCopy(source, width, height);
  if (source != nullptr) SDL_FreeSurface(source);
  return result;
}

SDL_Surface* loadPicture(const char* path) {
  // A file refused before decoding counts as one that does not load.
  const int savedErrors = silenceStandardError();
  SDL_Surface* decoded = decodePicture(path);
  restoreStandardError(savedErrors);
  if (decoded == nullptr) return nullptr;
  SDL_Surface* converted = SDL_DisplayFormatAlpha(decoded);
  SDL_FreeSurface(decoded);
  return converted;
}
