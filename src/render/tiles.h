// Drawing the board: the per-frame animation step and the tiles themselves.
#pragma once

#include <SDL.h>

#include "app/game_context.h"

// Fills the back buffer with opaque black.
void clearScreen();

// Draws every tile but the blank at its drawn position, in ascending slot order, each the
// 158 x 118 piece of source at its piece's home. Neither clears nor asks for a flip.
void drawTiles(const Board& board, SDL_Surface* source, SDL_Surface* destination);

// Once per play frame: clear, slide one step, and redraw when the frame will be presented.
void animateBoard(GameContext& game);
