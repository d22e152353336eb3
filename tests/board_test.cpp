// The board model and the slide step, without a display.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "board/board.h"
#include "render/slide.h"

namespace {

// A scripted random source: hands out the queued values, then keeps returning 0.
std::vector<int> scripted;
size_t scriptedNext = 0;
int scriptedRand() {
  const size_t index = scriptedNext++;
  return index < scripted.size() ? scripted[index] : 0;
}
void script(std::vector<int> values) {
  scripted = std::move(values);
  scriptedNext = 0;
}

// Counts the calls the deal makes of an unscripted source.
int countedCalls = 0;
int countingRand() {
  ++countedCalls;
  return std::rand();
}

// Board whose slots hold the given pieces, every record at rest in its slot.
Board restingBoard(const std::vector<int32_t>& pieces) {
  Board board{};
  for (int32_t slot = 0; slot < kSlotCount; ++slot) {
    board[slot] = Tile{homeX(slot), homeY(slot), pieces[slot]};
  }
  return board;
}

std::vector<int32_t> piecesOf(const Board& board) {
  std::vector<int32_t> pieces;
  for (const Tile& tile : board) pieces.push_back(tile.piece);
  return pieces;
}

bool isEvenPermutation(std::vector<int32_t> pieces) {
  int swaps = 0;
  for (size_t i = 0; i < pieces.size(); ++i) {
    while (pieces[i] != static_cast<int32_t>(i)) {
      std::swap(pieces[i], pieces[pieces[i]]);
      ++swaps;
    }
  }
  return swaps % 2 == 0;
}

TEST(Deal, FirstExchangeFollowsColumnRowDirection) {
  struct Case {
    std::vector<int> firstThree;
    int32_t slot;
    int32_t neighbour;
  };
  // Every later exchange draws 0, 0, 0 (slot 5 with slot 4); 127 of them leave slots 4 and
  // 5 exchanged once more, so only the pair of the first exchange tells.
  for (const Case& c : {Case{{0, 1, 3}, 9, 13}, Case{{1, 0, 0}, 6, 5}}) {
    script(c.firstThree);
    Board board{};
    dealBoard(board, scriptedRand);
    Board expected{};
    resetBoard(expected);
    std::swap(expected[c.slot], expected[c.neighbour]);
    for (int i = 0; i < 127; ++i) std::swap(expected[5], expected[4]);
    EXPECT_EQ(piecesOf(board), piecesOf(expected)) << "first slot " << c.slot;
    EXPECT_EQ(scriptedNext, 384u) << "three calls per exchange";
  }
}

TEST(Deal, AnyDealKeepsCornersEvenAndDrawnAtPieceHomes) {
  for (unsigned seed = 1; seed <= 200; ++seed) {
    std::srand(seed);
    countedCalls = 0;
    Board board{};
    dealBoard(board, countingRand);
    EXPECT_EQ(countedCalls, 384);
    EXPECT_EQ(board[0].piece, 0);
    EXPECT_EQ(board[3].piece, 3);
    EXPECT_EQ(board[12].piece, 12);
    EXPECT_EQ(board[15].piece, kBlankPiece);
    std::vector<int32_t> pieces = piecesOf(board);
    EXPECT_TRUE(isEvenPermutation(pieces)) << "seed " << seed;
    std::sort(pieces.begin(), pieces.end());
    for (int32_t i = 0; i < kSlotCount; ++i) EXPECT_EQ(pieces[i], i);
    for (const Tile& tile : board) {
      EXPECT_EQ(tile.x, homeX(tile.piece));
      EXPECT_EQ(tile.y, homeY(tile.piece));
    }
  }
}

TEST(Deal, ExchangesThatCancelLeaveTheBoardSolved) {
  // Slot 5 with its right neighbour, then slot 6 with its left: back where it began.
  std::vector<int> values;
  for (int i = 0; i < 64; ++i) values.insert(values.end(), {0, 0, 1, 1, 0, 0});
  script(values);
  Board board{};
  dealBoard(board, scriptedRand);
  EXPECT_TRUE(isSolved(board));
}

TEST(Move, OnlyATileBesideTheBlankMoves) {
  const std::vector<int32_t> solved = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
  struct Case {
    int32_t blankSlot;
    int32_t clicked;
    int32_t expectedBlankSlot;  // where the blank is afterwards
  };
  const Case cases[] = {
      {15, 14, 14},  // tile left of the blank moves right
      {15, 11, 11},  // tile above the blank moves down
      {5, 6, 6},     // tile right of the blank moves left
      {5, 9, 9},     // tile below the blank moves up
      {5, 1, 1},     // tile above the blank moves down
      {5, 4, 4},     // tile left of the blank moves right
      {15, 15, 15},  // the blank itself
      {15, 10, 15},  // diagonal
      {5, 0, 5},     // diagonal
      {15, 13, 15},  // two cells away
      {8, 7, 8},     // end of row 1 is no neighbour of the start of row 2
      {7, 8, 7},    {4, 3, 4}, {3, 4, 3}, {15, -1, 15},  // off the board
      {15, 16, 15},
  };
  for (const Case& c : cases) {
    std::vector<int32_t> pieces = solved;
    std::swap(pieces[c.blankSlot], pieces[15]);
    Board board = restingBoard(pieces);
    const Board before = board;
    tryMove(board, c.clicked);
    const int32_t blankSlot =
        static_cast<int32_t>(std::find_if(board.begin(), board.end(),
                                          [](const Tile& t) { return t.piece == kBlankPiece; }) -
                             board.begin());
    EXPECT_EQ(blankSlot, c.expectedBlankSlot) << "blank " << c.blankSlot << " click " << c.clicked;
    if (blankSlot != c.blankSlot) {
      // Whole records travel: the tile keeps its drawn position for the slide.
      EXPECT_EQ(board[c.blankSlot].x, before[c.clicked].x);
      EXPECT_EQ(board[c.blankSlot].y, before[c.clicked].y);
      EXPECT_EQ(board[c.clicked].x, before[c.blankSlot].x);
    }
  }
}

TEST(Move, SolvedOnlyInOrder) {
  Board board{};
  resetBoard(board);
  EXPECT_TRUE(isSolved(board));
  tryMove(board, 14);
  EXPECT_FALSE(isSolved(board));
  tryMove(board, 15);
  EXPECT_TRUE(isSolved(board)) << "drawn positions do not count";
  std::swap(board[0], board[1]);
  EXPECT_FALSE(isSolved(board));
}

TEST(Slide, OneAxisStepAndSnap) {
  struct Case {
    int32_t distance;  // coordinate minus home
    std::vector<int32_t> path;
  };
  const Case cases[] = {
      {0, {0}},    {3, {0}},      {-3, {0}},   {4, {0}},      {-4, {0}},
      {5, {1, 0}}, {-5, {-1, 0}}, {8, {4, 0}}, {-8, {-4, 0}},
  };
  constexpr int32_t kHome = 161;
  for (const Case& c : cases) {
    int32_t coordinate = kHome + c.distance;
    for (int32_t expected : c.path) {
      coordinate = stepToward(coordinate, kHome);
      EXPECT_EQ(coordinate - kHome, expected) << "from " << c.distance;
    }
  }
}

// Frames until stepSlide reports rest.
int framesToRest(Board& board) {
  int frames = 0;
  while (stepSlide(board)) ++frames;
  return frames;
}

TEST(Slide, JourneyLengths) {
  struct Case {
    int32_t columns;
    int32_t rows;
    int frames;
  };
  const Case cases[] = {{1, 0, 40}, {-1, 0, 40}, {0, 1, 30},  {0, -1, 30}, {1, 1, 40},
                        {2, 1, 80}, {1, 2, 60},  {3, 0, 120}, {0, 3, 90},  {2, 3, 90}};
  for (const Case& c : cases) {
    Board board{};
    resetBoard(board);
    board[0].x += c.columns * kCellWidth;
    board[0].y += c.rows * kCellHeight;
    EXPECT_EQ(framesToRest(board), c.frames) << c.columns << " columns, " << c.rows << " rows";
    EXPECT_EQ(board[0].x, homeX(0));
    EXPECT_EQ(board[0].y, homeY(0));
  }
}

TEST(Slide, HomeOnOneAxisMovesOnTheOtherAlone) {
  Board board{};
  resetBoard(board);
  board[6].y += 8;
  EXPECT_TRUE(stepSlide(board));
  EXPECT_EQ(board[6].x, homeX(6));
  EXPECT_EQ(board[6].y, homeY(6) + 4);
  EXPECT_TRUE(stepSlide(board));
  EXPECT_FALSE(stepSlide(board));
}

TEST(Slide, MoveReversedMidSlideTurnsAround) {
  Board board = restingBoard({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15});
  tryMove(board, 14);  // tile 14 heads right into slot 15
  for (int i = 0; i < 10; ++i) stepSlide(board);
  EXPECT_EQ(board[15].x, homeX(14) + 40);
  tryMove(board, 15);  // and straight back into slot 14
  EXPECT_EQ(board[14].piece, 14);
  EXPECT_EQ(framesToRest(board), 10) << "it turns where it is";
}

TEST(Slide, BlankRecordCanOutlastTheTiles) {
  // Three quick moves: 14 right, 10 down, 9 right. Each tile goes one cell, but the blank's
  // record goes from slot 15 to 14 to 10 to 9 still carrying slot 15's home, two columns
  // and a row away, and it keeps the board moving after every tile has arrived.
  Board board = restingBoard({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15});
  for (int32_t slot : {14, 10, 9}) tryMove(board, slot);
  ASSERT_EQ(board[9].piece, kBlankPiece);
  EXPECT_EQ(board[9].x, homeX(15));
  for (int frame = 0; frame < 40; ++frame) EXPECT_TRUE(stepSlide(board));
  for (int32_t slot : {10, 14, 15}) EXPECT_EQ(board[slot].x, homeX(slot)) << slot;
  EXPECT_EQ(framesToRest(board), 40) << "80 frames in all, for the blank alone";
}

}  // namespace
