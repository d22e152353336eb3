#include "render/peek.h"

#include "picture/banner.h"
#include "picture/surface.h"
#include "render/tiles.h"

namespace {
constexpr int32_t kRightButton = 3;
constexpr int32_t kLeftButton = 1;
constexpr int32_t kSolvedShown = 2;
constexpr int32_t kSolvedHoldOver = 50;
}  // namespace

void handlePeek(GameContext& game) {
  if (game.heldButton == kRightButton) {
    blitAt(screen, game.picture, 0, 0, nullptr);
    game.peekShown = true;
    game.needFlip = true;
  } else if (game.peekShown) {
    clearScreen();
    drawTiles(game.board, game.picture, screen);
    game.peekShown = false;
    game.needFlip = true;
  }
}

void stepSolvedSequence(GameContext& game) {
  if (game.solvedPhase == 1) {
    // Something moved or was exposed this frame: wait for a frame at rest.
    if (game.needFlip) return;
    blitAt(screen, game.picture, 0, 0, nullptr);
    drawStrip(game.bannerSheet, kSolvedStripTop);
    game.solvedPhase = kSolvedShown;
    game.needFlip = true;
  } else if (game.solvedPhase < kSolvedHoldOver) {
    ++game.solvedPhase;
  } else if (game.heldButton == kLeftButton) {
    game.solvedPhase = 0;
    game.state = StateChoosePicture;
  }
}
