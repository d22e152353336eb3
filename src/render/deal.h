#pragma once

#include "app/game_context.h"

// Deals a new board and draws it with every tile at rest in its dealt cell. Asks for no
// flip: from the next frame the tiles are seen sliding there from the solved layout.
void handleDeal(GameContext& game);
