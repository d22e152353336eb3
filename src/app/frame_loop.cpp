#include "app/frame_loop.h"

#include "board/click.h"
#include "picture/choose_picture.h"
#include "picture/surface.h"
#include "render/deal.h"
#include "render/peek.h"
#include "render/tiles.h"

SDL_Event event;

void applyEvent(GameContext& game, const SDL_Event& polled) {
  switch (polled.type) {
    case SDL_QUIT:
      game.state = StateQuit;
      break;
    case SDL_VIDEOEXPOSE:
      game.needFlip = true;
      break;
    case SDL_MOUSEBUTTONDOWN:
      game.heldButton = polled.button.button;
      break;
    case SDL_MOUSEBUTTONUP:
      // Any release, whichever button it was.
      game.heldButton = 0;
      break;
    case SDL_KEYDOWN:
      // Modifiers are not looked at: Shift+F2 is F2 too. A new game always starts unsolved,
      // even when F2 comes during the solved sequence.
      if (polled.key.keysym.sym == SDLK_F2) {
        game.state = StateChoosePicture;
        game.solvedPhase = 0;
      }
      break;
    default:
      break;
  }
}

static void dispatchPlay(GameContext& game) {
  if (game.solvedPhase <= 1) animateBoard(game);
  if (game.solvedPhase <= 0) {
    if (game.heldButton == 1) handleClick(game);
    handlePeek(game);
  } else {
    stepSolvedSequence(game);
  }
}

int runFrame(GameContext& game, int argc, char** argv) {
  game.frameStart = SDL_GetTicks();
  int x = 0;
  int y = 0;
  // Button state comes from events alone; the mask is not used.
  SDL_GetMouseState(&x, &y);
  game.mouseX = x;
  game.mouseY = y;
  if (SDL_PollEvent(&event) != 0) applyEvent(game, event);
  switch (game.state) {
    case StateChoosePicture:
      return handleChoosePicture(game, argc, argv);
    case StateNoPicture:
      handleNoPicture(game);
      break;
    case StateFitPicture:
      handleFitPicture(game);
      break;
    case StateDeal:
      handleDeal(game);
      break;
    default:
      // A quit applied this frame runs no handler; any value from StatePlay up plays.
      if (game.state >= StatePlay) dispatchPlay(game);
      break;
  }
  return 0;
}

bool presentFrame(GameContext& game) {
  if (!game.needFlip) return false;
  game.needFlip = false;
  SDL_Flip(screen);
  return true;
}

uint32_t frameDelay(uint32_t frameStart, uint32_t now) {
  const uint32_t elapsed = now - frameStart;
  const int32_t remaining = static_cast<int32_t>(kFrameMillis - elapsed);
  return remaining > 0 ? static_cast<uint32_t>(remaining) : 0;
}

int runFrameLoop(GameContext& game, int argc, char** argv) {
  while (game.state > StateQuit) {
    const int exitRequest = runFrame(game, argc, argv);
    if (exitRequest != 0) return exitRequest;
    presentFrame(game);
    // Read after the flip, so presenting counts toward the frame's 20 ms.
    SDL_Delay(frameDelay(game.frameStart, SDL_GetTicks()));
  }
  return 0;
}
