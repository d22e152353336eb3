// Play, frame by frame, as the player sees it: the deal, moves and their slide, the peek
// and the solved sequence. The picture's pixels tell where they came from, so every
// presented pixel says which part of the picture it shows.
#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>
#include <utility>
#include <vector>

#include "board/click.h"
#include "picture/banner.h"
#include "picture/surface.h"
#include "render/tiles.h"
#include "support/fake_dialog.h"
#include "support/frame_harness.h"
#include "support/sdl_display.h"

namespace {

const std::vector<int32_t> kSolved = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};

// The solved layout with the given pairs of slots exchanged, in order.
std::vector<int32_t> solvedWithSwaps(std::initializer_list<std::pair<int32_t, int32_t>> swaps) {
  std::vector<int32_t> pieces = kSolved;
  for (auto [a, b] : swaps) std::swap(pieces[a], pieces[b]);
  return pieces;
}

class Play : public testing::Test {
 protected:
  void SetUp() override {
    harness.game.picture = makeOriginPicture(640, 480);
    harness.game.state = StateDeal;
    movePointer(0, 0);
  }

  // Deals, then lays the board out at rest with the given pieces and lets a frame pass.
  void startAtRest(const std::vector<int32_t>& pieces) {
    harness.frame();
    for (int32_t slot = 0; slot < kSlotCount; ++slot) {
      harness.game.board[slot] = Tile{homeX(slot), homeY(slot), pieces[slot]};
    }
    harness.frame();
    ASSERT_EQ(harness.game.state, StatePlay);
  }

  void click(int32_t x, int32_t y) {
    movePointer(x, y);
    pushButton(SDL_MOUSEBUTTONDOWN, 1);
    pushButton(SDL_MOUSEBUTTONUP, 1);
  }

  bool shownBlack(int32_t x, int32_t y) const {
    return harness.shownAt(x, y) == mapColor(0, 0, 0, 255);
  }
  Origin shownOrigin(int32_t x, int32_t y) const {
    return pixelOrigin(screen->format, harness.shownAt(x, y));
  }
  // Piece drawn with its top-left corner at (x, y): both its corners show that piece.
  void expectPieceShownAt(int32_t piece, int32_t x, int32_t y) const {
    EXPECT_EQ(shownOrigin(x, y), (Origin{homeX(piece), homeY(piece)})) << "piece " << piece;
    EXPECT_EQ(shownOrigin(x + kTileDrawWidth - 1, y + kTileDrawHeight - 1),
              (Origin{homeX(piece) + kTileDrawWidth - 1, homeY(piece) + kTileDrawHeight - 1}))
        << "piece " << piece;
  }
  void expectWholePictureShown() const {
    for (int32_t y = 0; y < 480; y += 7) {
      for (int32_t x = 0; x < 640; x += 3) ASSERT_EQ(shownOrigin(x, y), (Origin{x, y}));
    }
  }

  FrameHarness harness;
};

TEST_F(Play, DealDrawsTheDealtLayoutWithoutPresentingIt) {
  std::srand(11);
  harness.frame();
  EXPECT_EQ(harness.game.state, StatePlay);
  EXPECT_FALSE(harness.presented);
  // The back buffer holds every tile at rest in its dealt cell and a black blank cell.
  for (int32_t slot = 0; slot < kSlotCount; ++slot) {
    const int32_t piece = harness.game.board[slot].piece;
    const Uint32 corner = getPixel(screen, homeX(slot), homeY(slot));
    if (piece == kBlankPiece) {
      EXPECT_EQ(corner, mapColor(0, 0, 0, 255));
    } else {
      EXPECT_EQ(pixelOrigin(screen->format, corner), (Origin{homeX(piece), homeY(piece)}));
    }
  }
}

TEST_F(Play, ExposeInTheDealFramePresentsTheDeal) {
  pushEventOfType(SDL_VIDEOEXPOSE);
  harness.frame();
  EXPECT_TRUE(harness.presented);
}

TEST_F(Play, TilesSlideFromTheSolvedLayoutIntoTheDeal) {
  std::srand(5);
  harness.frame();
  const Board dealt = harness.game.board;
  harness.frame();
  ASSERT_TRUE(harness.presented);
  // First frame of play: every displaced tile has taken one step from its piece's home.
  for (int32_t slot = kSlotCount - 1; slot >= 0; --slot) {
    const Tile& tile = dealt[slot];
    if (tile.piece == kBlankPiece || tile.piece == slot) continue;
    const int32_t x = homeX(tile.piece) + (homeX(slot) > homeX(tile.piece)   ? 4
                                           : homeX(slot) < homeX(tile.piece) ? -4
                                                                             : 0);
    EXPECT_EQ(harness.game.board[slot].x, x);
  }
  int frames = 1;
  while (harness.presented && frames < 400) {
    harness.frame();
    ++frames;
  }
  // The board rests at last with every tile in its dealt cell.
  for (int32_t slot = 0; slot < kSlotCount; ++slot) {
    EXPECT_EQ(harness.game.board[slot].x, homeX(slot));
    EXPECT_EQ(harness.game.board[slot].y, homeY(slot));
  }
}

TEST_F(Play, SidewaysMoveIsPresentedEveryFourPixelsFor40Frames) {
  // The blank in slot 14 and piece 14 in slot 15; not solved after the move.
  const std::vector<int32_t> pieces = solvedWithSwaps({{14, 15}, {5, 6}});
  startAtRest(pieces);
  click(560, 420);  // slot 15: piece 14 moves left into slot 14
  harness.frame();
  EXPECT_FALSE(harness.presented) << "the click's frame only changes the model";
  EXPECT_EQ(harness.game.heldButton, 0) << "the press is used up";
  for (int frame = 1; frame <= 40; ++frame) {
    harness.frame();
    ASSERT_TRUE(harness.presented) << frame;
    const int32_t x = frame < 40 ? homeX(15) - 4 * frame : homeX(14);
    expectPieceShownAt(14, x, homeY(14));
  }
  harness.frame();
  EXPECT_FALSE(harness.presented) << "at rest nothing is presented";
  EXPECT_EQ(harness.game.solvedPhase, 0);
}

TEST_F(Play, UpwardMoveTakes30Frames) {
  // The blank in slot 11, piece 11 below it in slot 15.
  const std::vector<int32_t> pieces = solvedWithSwaps({{11, 15}, {5, 6}});
  startAtRest(pieces);
  click(500, 400);
  harness.frame();
  for (int frame = 1; frame <= 30; ++frame) {
    harness.frame();
    ASSERT_TRUE(harness.presented);
    const int32_t y = frame < 30 ? homeY(15) - 4 * frame : homeY(11);
    expectPieceShownAt(11, homeX(11), y);
  }
  harness.frame();
  EXPECT_FALSE(harness.presented);
}

TEST_F(Play, AtRestTheTilesHaveOnePixelBlackFramesAndTheBlankIsBlack) {
  const std::vector<int32_t> pieces = solvedWithSwaps({{5, 6}});
  startAtRest(pieces);
  EXPECT_FALSE(harness.presented);
  pushEventOfType(SDL_VIDEOEXPOSE);
  harness.frame();
  ASSERT_TRUE(harness.presented) << "an expose redraws and presents the tiles";
  for (int32_t slot = 0; slot < 15; ++slot)
    expectPieceShownAt(pieces[slot], homeX(slot), homeY(slot));
  for (int32_t y : {0, 60, 119, 120, 240, 479}) {
    for (int32_t x : {0, 159, 160, 319, 320, 639}) {
      if (y % 120 == 0 || y % 120 == 119 || x % 160 == 0 || x % 160 == 159) {
        EXPECT_TRUE(shownBlack(x, y)) << x << "," << y;
      }
    }
  }
  for (int32_t y = 361; y < 479; y += 13) {
    for (int32_t x = 481; x < 639; x += 13) EXPECT_TRUE(shownBlack(x, y));
  }
}

TEST_F(Play, ClicksThatCannotMoveAreStillUsedUp) {
  const std::vector<int32_t> pieces = solvedWithSwaps({{14, 15}});
  startAtRest(pieces);
  const Board before = harness.game.board;
  for (auto [x, y] : std::vector<std::pair<int32_t, int32_t>>{
           {10, 10}, {250, 300}, {639, 0}, {0, 479}, {330, 370}}) {
    click(x, y);
    harness.frame();
    EXPECT_EQ(harness.game.heldButton, 0);
    harness.frame();
    EXPECT_FALSE(harness.presented);
  }
  for (int32_t slot = 0; slot < kSlotCount; ++slot) {
    EXPECT_EQ(harness.game.board[slot].piece, before[slot].piece);
  }
}

TEST_F(Play, PressAndReleaseQueuedTogetherTakeOneFrameEach) {
  const std::vector<int32_t> pieces = solvedWithSwaps({{14, 15}});
  startAtRest(pieces);
  movePointer(10, 10);
  pushButton(SDL_MOUSEBUTTONDOWN, 1);
  pushButton(SDL_MOUSEBUTTONUP, 3);
  harness.game.heldButton = 3;  // as if the right button had been down
  harness.frame();
  EXPECT_EQ(harness.game.heldButton, 0) << "handleClick used the press";
  harness.frame();
  EXPECT_EQ(harness.game.heldButton, 0);
}

TEST(Click, PointerOutsideTheWindowMovesNothing) {
  for (auto [x, y] : std::vector<std::pair<int32_t, int32_t>>{
           {-1, 300}, {640, 300}, {700, 10}, {300, -1}, {300, 480}, {-200, -200}, {5000, 400}}) {
    GameContext game{};
    resetBoard(game.board);
    std::swap(game.board[4], game.board[15]);  // the blank at slot 4, beside column 0 of row 1
    const Board before = game.board;
    game.heldButton = 1;
    game.mouseX = x;
    game.mouseY = y;
    handleClick(game);
    EXPECT_EQ(game.heldButton, 0);
    for (int32_t slot = 0; slot < kSlotCount; ++slot) {
      EXPECT_EQ(game.board[slot].piece, before[slot].piece) << x << "," << y;
    }
  }
}

TEST(Click, CellEdges) {
  struct Case {
    int32_t x, y, slot;
  };
  for (const Case& c : {Case{159, 0, 0}, Case{160, 0, 1}, Case{0, 119, 0}, Case{0, 120, 4},
                        Case{639, 479, 15}, Case{480, 240, 11}}) {
    GameContext game{};
    resetBoard(game.board);
    // Put the blank left of the expected slot (or right of it in column 0) and check that
    // exactly that slot's tile moves.
    const int32_t blank = c.slot % 4 == 0 ? c.slot + 1 : c.slot - 1;
    std::swap(game.board[blank], game.board[15]);
    game.mouseX = c.x;
    game.mouseY = c.y;
    handleClick(game);
    EXPECT_EQ(game.board[c.slot].piece, kBlankPiece) << c.x << "," << c.y;
  }
}

TEST_F(Play, PeekShowsTheWholePictureWhileTheRightButtonIsHeld) {
  const std::vector<int32_t> pieces = solvedWithSwaps({{5, 6}});
  startAtRest(pieces);
  pushButton(SDL_MOUSEBUTTONDOWN, 3);
  for (int frame = 0; frame < 3; ++frame) {
    harness.frame();
    ASSERT_TRUE(harness.presented) << "presented every frame of the peek";
    expectWholePictureShown();
  }
  pushButton(SDL_MOUSEBUTTONUP, 3);
  harness.frame();
  ASSERT_TRUE(harness.presented);
  expectPieceShownAt(pieces[5], homeX(5), homeY(5));
  EXPECT_TRUE(shownBlack(500, 400));
  harness.frame();
  EXPECT_FALSE(harness.presented);
}

TEST_F(Play, AnyOtherButtonEndsThePeek) {
  const std::vector<int32_t> pieces = solvedWithSwaps({{5, 6}});
  startAtRest(pieces);
  for (Uint8 other : {1, 2, 4, 5}) {
    pushButton(SDL_MOUSEBUTTONDOWN, 3);
    harness.frame();
    expectWholePictureShown();
    pushButton(SDL_MOUSEBUTTONDOWN, other);
    harness.frame();
    ASSERT_TRUE(harness.presented);
    EXPECT_TRUE(shownBlack(500, 400)) << "button " << int(other) << ": tiles again";
    EXPECT_FALSE(harness.game.peekShown);
    pushButton(SDL_MOUSEBUTTONUP, other);
    harness.frame();
    harness.frame();
    EXPECT_FALSE(harness.presented);
  }
}

TEST_F(Play, TilesKeepSlidingUnderThePeek) {
  const std::vector<int32_t> pieces = solvedWithSwaps({{14, 15}});
  startAtRest(pieces);
  click(560, 420);
  harness.frame();  // the click
  harness.frame();  // the release, and the first step
  pushButton(SDL_MOUSEBUTTONDOWN, 3);
  for (int frame = 0; frame < 10; ++frame) harness.frame();
  pushButton(SDL_MOUSEBUTTONUP, 3);
  harness.frame();
  // One frame of slide, then 10 under the peek and the one that ends it: 12 steps.
  expectPieceShownAt(14, homeX(15) - 4 * 12, homeY(14));
}

TEST_F(Play, SolvedDisplayFollowsTheLastSlideAndHolds48Frames) {
  struct Case {
    int32_t blankSlot;  // where the blank starts; slot 15's tile moves into it
    int displayFrame;   // frames after the solving click
  };
  for (const Case& c : {Case{14, 41}, Case{11, 31}}) {
    SCOPED_TRACE(c.blankSlot);
    harness.game.state = StateDeal;
    const std::vector<int32_t> pieces = solvedWithSwaps({{c.blankSlot, 15}});
    startAtRest(pieces);
    click(600, 440);  // slot 15 holds the piece that belongs in the blank's slot
    harness.frame();  // frame K
    ASSERT_EQ(harness.game.solvedPhase, 1);
    int frames = 0;
    do {
      harness.frame();
      ++frames;
    } while (harness.game.solvedPhase == 1 && frames < 100);
    EXPECT_EQ(frames, c.displayFrame);
    ASSERT_TRUE(harness.presented);
    // The whole picture with the solved strip over it.
    EXPECT_EQ(shownOrigin(0, 0), (Origin{0, 0}));
    EXPECT_EQ(shownOrigin(639, 479), (Origin{639, 479}));
    EXPECT_EQ(shownOrigin(100, 70), (Origin{100, 70}));
    int changed = 0;
    for (int32_t y = 64; y < 80; ++y) {
      for (int32_t x = 192; x < 448; ++x) changed += shownOrigin(x, y) == (Origin{x, y}) ? 0 : 1;
    }
    EXPECT_GT(changed, 500) << "the strip covers part of the picture";

    // The hold: a click pressed and released during it is forgotten, and nothing is shown.
    for (int frame = 1; frame <= 48; ++frame) {
      if (frame == 10) {
        pushButton(SDL_MOUSEBUTTONDOWN, 1);
        pushButton(SDL_MOUSEBUTTONUP, 1);
      }
      harness.frame();
      EXPECT_FALSE(harness.presented);
    }
    EXPECT_EQ(harness.game.solvedPhase, 50);
    for (int frame = 0; frame < 5; ++frame) harness.frame();
    EXPECT_EQ(harness.game.state, StatePlay);
    pushButton(SDL_MOUSEBUTTONDOWN, 3);  // the right button does nothing now
    harness.frame();
    harness.frame();
    EXPECT_EQ(harness.game.state, StatePlay);
    EXPECT_FALSE(harness.presented);
    pushButton(SDL_MOUSEBUTTONDOWN, 1);
    harness.frame();
    EXPECT_EQ(harness.game.state, StateChoosePicture);
    EXPECT_EQ(harness.game.solvedPhase, 0);
    pushButton(SDL_MOUSEBUTTONUP, 1);
  }
}

TEST_F(Play, LeftPressAfterTheHoldOpensTheDialog) {
  FakeDialog dialog;
  dialog.answer("zenity", "", 1);
  harness.arguments.push_back(QUILBRACK_ASSETS_DIR "/sample.png");
  const std::vector<int32_t> pieces = solvedWithSwaps({{14, 15}});
  startAtRest(pieces);
  click(600, 440);
  for (int frame = 0; frame < 41 + 48 + 3; ++frame) harness.frame();
  pushButton(SDL_MOUSEBUTTONDOWN, 1);
  harness.frame();
  EXPECT_TRUE(dialog.calls().empty());
  harness.frame();
  EXPECT_EQ(dialog.calls().size(), 1u);
  EXPECT_EQ(harness.game.state, StateNoPicture);
}

TEST_F(Play, ExposeWhileWaitingForRestDelaysTheSolvedDisplayOneFrame) {
  const std::vector<int32_t> pieces = solvedWithSwaps({{14, 15}});
  startAtRest(pieces);
  click(600, 440);
  harness.frame();
  for (int frame = 0; frame < 40; ++frame) harness.frame();
  EXPECT_EQ(harness.game.solvedPhase, 1) << "the last slide frame moved a tile";
  pushEventOfType(SDL_VIDEOEXPOSE);
  harness.frame();
  EXPECT_EQ(harness.game.solvedPhase, 1);
  EXPECT_TRUE(harness.presented);
  expectPieceShownAt(14, homeX(14), homeY(14));
  harness.frame();
  EXPECT_EQ(harness.game.solvedPhase, 2);
}

TEST(DrawTiles, TheHigherSlotCoversTheLower) {
  SDL_Surface* picture = makeOriginPicture(640, 480);
  Board board{};
  resetBoard(board);
  board[2].x = homeX(1) + 40;  // piece 2 drawn over the right part of piece 1
  board[1].x = homeX(2) - 40;  // and piece 1 over the left part of piece 2
  clearScreen();
  drawTiles(board, picture, screen);
  EXPECT_EQ(pixelOrigin(screen->format, getPixel(screen, 300, 50)),
            (Origin{homeX(2) + 300 - board[2].x, 50}));
  SDL_FreeSurface(picture);
}

}  // namespace
