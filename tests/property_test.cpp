// Long play with random input: seeded streams of presses and releases of every button at
// random places (some outside the window), F2, exposes and motion, thousands of frames
// each. After every frame the board must still be a board and the drawing must line up.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "support/fake_dialog.h"
#include "support/frame_harness.h"
#include "support/sdl_display.h"

namespace {

constexpr int kStreams = 12;
constexpr int kFramesPerStream = 3000;
constexpr int kRestFrames = 120;

std::vector<int32_t> piecesOf(const Board& board) {
  std::vector<int32_t> pieces;
  for (const Tile& tile : board) pieces.push_back(tile.piece);
  return pieces;
}

int32_t blankSlot(const std::vector<int32_t>& pieces) {
  for (int32_t slot = 0; slot < kSlotCount; ++slot) {
    if (pieces[slot] == kBlankPiece) return slot;
  }
  return -1;
}

// True when after is before with the blank exchanged with one of its four neighbours.
bool isOneMove(const std::vector<int32_t>& before, const std::vector<int32_t>& after) {
  const int32_t from = blankSlot(before);
  const int32_t to = blankSlot(after);
  const bool neighbours = (to == from - 1 && from % 4 != 0) || (to == from + 1 && from % 4 != 3) ||
                          to == from - 4 || to == from + 4;
  if (!neighbours || to < 0) return false;
  std::vector<int32_t> undone = after;
  std::swap(undone[from], undone[to]);
  return undone == before;
}

void pushRandomInput(std::mt19937& random) {
  std::uniform_int_distribution<int> what(0, 99);
  const int roll = what(random);
  if (roll < 60) return;  // most frames take whatever is still queued
  std::uniform_int_distribution<int32_t> x(-40, 680);
  std::uniform_int_distribution<int32_t> y(-40, 520);
  std::uniform_int_distribution<int> button(1, 5);
  if (roll < 78) {
    movePointer(x(random), y(random));
    pushButton(SDL_MOUSEBUTTONDOWN, static_cast<Uint8>(roll < 72 ? 1 : button(random)));
  } else if (roll < 92) {
    pushButton(SDL_MOUSEBUTTONUP, static_cast<Uint8>(button(random)));
  } else if (roll < 96) {
    movePointer(x(random), y(random));
    SDL_WarpMouse(static_cast<Uint16>(x(random)), static_cast<Uint16>(y(random)));  // motion
  } else if (roll < 99) {
    pushEventOfType(SDL_VIDEOEXPOSE);
  } else {
    pushKey(roll % 2 == 0 ? SDLK_F2 : SDLK_a, KMOD_NONE);
    if (random() % 3 == 0) pushKey(SDLK_F2, KMOD_LSHIFT);
  }
}

class LongPlay : public testing::TestWithParam<int> {};

TEST_P(LongPlay, BoardAndDrawingStaySound) {
  FakeDialog dialog;
  dialog.answer("zenity", "", 1);  // every new picture is the argument again
  const std::string picture = makeTempFolder() + "/small.png";
  writeOriginPng(picture, 64, 48);
  FrameHarness harness;
  harness.arguments.push_back(picture);
  std::mt19937 random(static_cast<unsigned>(GetParam()));
  std::srand(static_cast<unsigned>(GetParam()));

  std::vector<int32_t> previous;
  bool dealt = false;
  for (int frame = 0; frame < kFramesPerStream + kRestFrames; ++frame) {
    if (frame < kFramesPerStream) pushRandomInput(random);
    const bool dealing = harness.game.state == StateDeal;
    ASSERT_EQ(harness.frame(), 0);
    // An F2 taken in that frame opens the dialog instead of dealing.
    const bool dealFrame = dealing && harness.game.state == StatePlay;
    const GameContext& game = harness.game;
    ASSERT_GE(game.solvedPhase, 0);
    ASSERT_LE(game.solvedPhase, 50);
    if (dealFrame) dealt = true;
    if (!dealt) continue;
    const std::vector<int32_t> pieces = piecesOf(game.board);
    std::vector<int32_t> sorted = pieces;
    std::sort(sorted.begin(), sorted.end());
    for (int32_t i = 0; i < kSlotCount; ++i) ASSERT_EQ(sorted[i], i) << "frame " << frame;
    if (dealFrame) {
      // A fresh deal: corners in place, the blank home, until a move changes that.
      ASSERT_EQ(pieces[0], 0);
      ASSERT_EQ(pieces[3], 3);
      ASSERT_EQ(pieces[12], 12);
      ASSERT_EQ(pieces[15], kBlankPiece);
    } else {
      ASSERT_TRUE(pieces == previous || isOneMove(previous, pieces)) << "frame " << frame;
    }
    previous = pieces;
    for (int32_t slot = 0; slot < kSlotCount; ++slot) {
      const Tile& tile = game.board[slot];
      ASSERT_EQ((tile.x - homeX(slot)) % 4, 0) << "frame " << frame << " slot " << slot;
      ASSERT_EQ((tile.y - homeY(slot)) % 4, 0) << "frame " << frame << " slot " << slot;
      ASSERT_GE(tile.x, homeX(0));
      ASSERT_LE(tile.x, homeX(3));
      ASSERT_GE(tile.y, homeY(0));
      ASSERT_LE(tile.y, homeY(12));
    }
  }
  // Left alone for 120 frames, the board has come to rest.
  ASSERT_EQ(harness.game.state, StatePlay);
  for (int32_t slot = 0; slot < kSlotCount; ++slot) {
    EXPECT_EQ(harness.game.board[slot].x, homeX(slot)) << slot;
    EXPECT_EQ(harness.game.board[slot].y, homeY(slot)) << slot;
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, LongPlay, testing::Range(1, kStreams + 1));

}  // namespace
