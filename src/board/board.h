// The puzzle board: sixteen tile records indexed by slot, and the deal.
// Nothing here knows about SDL, so the model and its tests run without a display.
#pragma once

#include <array>
#include <cstdint>

inline constexpr int32_t kBoardColumns = 4;
inline constexpr int32_t kSlotCount = 16;
inline constexpr int32_t kCellWidth = 160;
inline constexpr int32_t kCellHeight = 120;
inline constexpr int32_t kTileDrawWidth = 158;
inline constexpr int32_t kTileDrawHeight = 118;
inline constexpr int32_t kBlankPiece = 15;
inline constexpr int32_t kShuffleSwaps = 128;

// One slot's record. (x, y) is where the tile is drawn right now (its top-left corner in
// screen pixels); piece is the part of the picture it shows. The record travels whole
// when tiles change slots, so the drawn position follows the piece until the slide
// animation brings it to its new home.
struct Tile {
  int32_t x;
  int32_t y;
  int32_t piece;
};

using Board = std::array<Tile, kSlotCount>;

// Top-left corner of slot (or piece) n at rest: one pixel inside its cell.
constexpr int32_t homeX(int32_t n) {
  return (n % kBoardColumns) * kCellWidth + 1;
}
constexpr int32_t homeY(int32_t n) {
  return (n / kBoardColumns) * kCellHeight + 1;
}

// Source of the deal's random numbers. The game uses the runtime library's rand();
// tests hand in a scripted sequence.
using RandomSource = int (*)();
int runtimeRand();

// Solved order, every tile at rest.
void resetBoard(Board& board);

// resetBoard, then kShuffleSwaps exchanges of a middle slot with a neighbour. Exactly
// three calls of next per exchange, in the order column, row, direction.
void dealBoard(Board& board, RandomSource next = runtimeRand);

// Exchanges the record in slot with the blank's when the blank is its left, right, upper
// or lower neighbour; otherwise leaves the board alone. A slot outside 0..15 moves nothing.
void tryMove(Board& board, int32_t slot);

bool isSolved(const Board& board);
