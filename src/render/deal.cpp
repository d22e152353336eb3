#include "render/deal.h"

#include "picture/surface.h"
#include "render/tiles.h"

void handleDeal(GameContext& game) {
  clearScreen();
  dealBoard(game.board);
  for (int32_t slot = 0; slot < kSlotCount; ++slot) {
    const int32_t piece = game.board[slot].piece;
    if (piece == kBlankPiece) continue;
    // At the slot's home, not at the record's drawn position (its piece's home).
    blitAt(screen, game.picture, homeX(slot), homeY(slot),
           makeRect(&scratchRect, homeX(piece), homeY(piece), kTileDrawWidth, kTileDrawHeight));
  }
  game.state = StatePlay;
}
