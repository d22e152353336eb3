#include "picture/banner.h"

#include "picture/surface.h"

void drawStrip(SDL_Surface* sheet, int32_t stripTop) {
  blitAt(screen, sheet, screen->w / 2 - kStripWidth / 2, kStripScreenTop,
         makeRect(&scratchRect, 0, stripTop, kStripWidth, kStripHeight));
}
