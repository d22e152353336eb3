// Getting the puzzle picture: the dialog, the fallback to the command line, the
// no-picture screen and the fit to the window's size.
#pragma once

#include "app/game_context.h"

// Releases the current picture, asks for a new one (the first argument stands in when
// the dialog gives no path) and moves on to StateNoPicture whether or not it loaded.
// Returns kExitNoPicture when there is neither a chosen path nor an argument, else 0.
int handleChoosePicture(GameContext& game, int argc, char** argv);

// With a picture: on to StateFitPicture. Without: the no-picture screen, presented in its
// first frame, for 101 frames, then the dialog again.
void handleNoPicture(GameContext& game);

// Scales a picture that is not exactly 640 x 480, then on to StateDeal.
void handleFitPicture(GameContext& game);
