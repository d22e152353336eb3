#include "board/click.h"

namespace {
constexpr int32_t kBoardWidth = kCellWidth * kBoardColumns;
constexpr int32_t kBoardHeight = kCellHeight * kBoardColumns;
}  // namespace

void handleClick(GameContext& game) {
  // The pointer can be reported outside the window while a button is held; such a click
  // lands on no cell and moves nothing.
  const bool onBoard = game.mouseX >= 0 && game.mouseX < kBoardWidth && game.mouseY >= 0 &&
                       game.mouseY < kBoardHeight;
  if (onBoard) {
    tryMove(game.board, game.mouseX / kCellWidth + kBoardColumns * (game.mouseY / kCellHeight));
  }
  game.solvedPhase = isSolved(game.board) ? 1 : 0;
  game.heldButton = 0;
}
