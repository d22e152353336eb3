// The game's states and the frame loop's working record.
#pragma once

#include <cstdint>

#include "board/board.h"

struct SDL_Surface;

// Stored as a signed 32-bit integer. The loop ends for any value of 0 or less, and the
// dispatch treats any value of 5 or more as StatePlay.
enum GameState : int32_t {
  StateQuit = 0,
  StateChoosePicture = 1,
  StateNoPicture = 2,
  StateFitPicture = 3,
  StateDeal = 4,
  StatePlay = 5,
};

struct GameContext {
  GameState state;
  // The back buffer holds something that must be presented at the end of this frame.
  bool needFlip;
  // Button number of the last press; 0 after any release or once a left press is used.
  int32_t heldButton;
  // 0 playing; 1 solved, waiting for the board to rest; 2..49 solved display on hold;
  // 50 hold over, waiting for a left press.
  int32_t solvedPhase;
  // Frames spent on the no-picture screen.
  int32_t noPictureTicks;
  // The whole picture is on screen because the right button is held.
  bool peekShown;
  SDL_Surface* picture;      // owned; null until the first load
  SDL_Surface* bannerSheet;  // owned; the message strips, kept until exit
  uint32_t frameStart;       // SDL_GetTicks() at the start of this frame
  int32_t mouseX;            // pointer position sampled at the start of this frame
  int32_t mouseY;
  Board board;
};
