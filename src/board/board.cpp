#include "board/board.h"

#include <cstdlib>
#include <utility>

int runtimeRand() {
  return std::rand();
}

void resetBoard(Board& board) {
  for (int32_t slot = 0; slot < kSlotCount; ++slot) {
    board[slot] = Tile{homeX(slot), homeY(slot), slot};
  }
}

void dealBoard(Board& board, RandomSource next) {
  resetBoard(board);
  // Offsets of the left, right, upper and lower neighbour, by direction 0..3.
  constexpr int32_t kNeighbourOffset[4] = {-1, 1, -kBoardColumns, kBoardColumns};
  for (int32_t swapsLeft = kShuffleSwaps - 1; swapsLeft >= 0; --swapsLeft) {
    const int32_t column = next() % 2 + 1;
    const int32_t row = next() % 2 + 1;
    const int32_t direction = next() % 4;
    // Always one of the middle slots 5, 6, 9 and 10, so every neighbour is on the board
    // and the corners never take part.
    const int32_t slot = column + kBoardColumns * row;
    std::swap(board[slot], board[slot + kNeighbourOffset[direction]]);
  }
}

void tryMove(Board& board, int32_t slot) {
  if (slot < 0 || slot >= kSlotCount) return;
  const int32_t column = slot % kBoardColumns;
  const int32_t row = slot / kBoardColumns;
  // The column and row guards keep a tile at a row's end from trading places with the
  // blank at the other end of the next row.
  int32_t target = -1;
  if (column > 0 && board[slot - 1].piece == kBlankPiece) {
    target = slot - 1;
  } else if (column < kBoardColumns - 1 && board[slot + 1].piece == kBlankPiece) {
    target = slot + 1;
  } else if (row > 0 && board[slot - kBoardColumns].piece == kBlankPiece) {
    target = slot - kBoardColumns;
  } else if (row < kBoardColumns - 1 && board[slot + kBoardColumns].piece == kBlankPiece) {
    target = slot + kBoardColumns;
  }
  if (target >= 0) std::swap(board[slot], board[target]);
}

bool isSolved(const Board& board) {
  for (int32_t k = 0; k + 1 < kSlotCount; ++k) {
    if (board[k + 1].piece != board[k].piece + 1) return false;
  }
  return true;
}
