// The two ways the whole picture replaces the tiles: the right-button peek and the
// solved display.
#pragma once

#include "app/game_context.h"

// While the right button is held the whole picture is shown, every frame; when the peek
// ends the tiles are drawn again where they have got to.
void handlePeek(GameContext& game);

// After the solving click: waits for a frame at rest, shows the picture with the solved
// strip, holds it 48 frames, then a left press asks for a new picture.
void stepSolvedSequence(GameContext& game);
