#include "render/slide.h"

bool stepSlide(Board& board) {
  bool moved = false;
  for (int32_t slot = 0; slot < kSlotCount; ++slot) {
    Tile& tile = board[slot];
    const int32_t x = homeX(slot);
    const int32_t y = homeY(slot);
    if (tile.x == x && tile.y == y) continue;
    tile.x = stepToward(tile.x, x);
    tile.y = stepToward(tile.y, y);
    moved = true;
  }
  return moved;
}
