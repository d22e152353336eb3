#include "render/tiles.h"

#include "picture/surface.h"
#include "render/slide.h"

void clearScreen() {
  fillScreen(mapColor(0, 0, 0, 255));
}

void drawTiles(const Board& board, SDL_Surface* source, SDL_Surface* destination) {
  for (const Tile& tile : board) {
    // The blank is never drawn: its cell shows the black of the clear.
    if (tile.piece == kBlankPiece) continue;
    blitAt(destination, source, tile.x, tile.y,
           makeRect(&scratchRect, homeX(tile.piece), homeY(tile.piece), kTileDrawWidth,
                    kTileDrawHeight));
  }
}

void animateBoard(GameContext& game) {
  // Cleared every frame, also when nothing is presented: the window keeps showing the
  // frame presented last.
  clearScreen();
  if (stepSlide(game.board)) game.needFlip = true;
  // An expose earlier in the frame asks for a redraw as much as a moving tile does.
  if (game.needFlip) drawTiles(game.board, game.picture, screen);
}
