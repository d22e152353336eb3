#pragma once

#include "app/game_context.h"

// A left press during play: the tile in the cell under the pointer slides into the blank
// when they are neighbours, the solved test runs, and the press is used up.
void handleClick(GameContext& game);
