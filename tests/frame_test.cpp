// The frame loop's event intake and pacing, and picture selection, run frame by frame.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/exit_status.h"
#include "app/frame_loop.h"
#include "picture/banner.h"
#include "picture/surface.h"
#include "support/fake_dialog.h"
#include "support/frame_harness.h"
#include "support/sdl_display.h"

namespace {

// The fields applyEvent may touch, for comparing contexts.
struct Visible {
  int32_t state, heldButton, solvedPhase, noPictureTicks;
  bool needFlip, peekShown;
  bool operator==(const Visible&) const = default;
};
Visible visible(const GameContext& g) {
  return {g.state, g.heldButton, g.solvedPhase, g.noPictureTicks, g.needFlip, g.peekShown};
}

SDL_Event makeEvent(Uint8 type) {
  SDL_Event e{};
  e.type = type;
  return e;
}
SDL_Event buttonEvent(Uint8 type, Uint8 button) {
  SDL_Event e = makeEvent(type);
  e.button.button = button;
  return e;
}
SDL_Event keyEvent(Uint8 type, SDLKey sym, SDLMod mod) {
  SDL_Event e = makeEvent(type);
  e.key.keysym.sym = sym;
  e.key.keysym.mod = mod;
  return e;
}

TEST(ApplyEvent, EventTable) {
  GameContext start{};
  start.state = StatePlay;
  start.heldButton = 1;
  start.noPictureTicks = 7;
  const Visible before = visible(start);
  auto with = [&](auto change) {
    Visible v = before;
    change(v);
    return v;
  };
  struct Case {
    const char* name;
    SDL_Event event;
    Visible expected;
  };
  const Case cases[] = {
      {"quit", makeEvent(SDL_QUIT), with([](Visible& v) { v.state = StateQuit; })},
      {"expose", makeEvent(SDL_VIDEOEXPOSE), with([](Visible& v) { v.needFlip = true; })},
      {"right press", buttonEvent(SDL_MOUSEBUTTONDOWN, 3),
       with([](Visible& v) { v.heldButton = 3; })},
      {"middle press", buttonEvent(SDL_MOUSEBUTTONDOWN, 2),
       with([](Visible& v) { v.heldButton = 2; })},
      {"wheel", buttonEvent(SDL_MOUSEBUTTONDOWN, 5), with([](Visible& v) { v.heldButton = 5; })},
      {"right release", buttonEvent(SDL_MOUSEBUTTONUP, 3),
       with([](Visible& v) { v.heldButton = 0; })},
      {"F2", keyEvent(SDL_KEYDOWN, SDLK_F2, KMOD_NONE),
       with([](Visible& v) { v.state = StateChoosePicture; })},
      {"shift F2", keyEvent(SDL_KEYDOWN, SDLK_F2, KMOD_LSHIFT),
       with([](Visible& v) { v.state = StateChoosePicture; })},
      {"ctrl alt F2", keyEvent(SDL_KEYDOWN, SDLK_F2, SDLMod(KMOD_LCTRL | KMOD_LALT)),
       with([](Visible& v) { v.state = StateChoosePicture; })},
      {"F3", keyEvent(SDL_KEYDOWN, SDLK_F3, KMOD_NONE), before},
      {"F2 release", keyEvent(SDL_KEYUP, SDLK_F2, KMOD_NONE), before},
      {"motion", makeEvent(SDL_MOUSEMOTION), before},
      {"activation", makeEvent(SDL_ACTIVEEVENT), before},
      {"resize", makeEvent(SDL_VIDEORESIZE), before},
      {"window manager", makeEvent(SDL_SYSWMEVENT), before},
      {"user", makeEvent(SDL_USEREVENT), before},
  };
  for (const Case& c : cases) {
    GameContext game = start;
    applyEvent(game, c.event);
    EXPECT_EQ(visible(game), c.expected) << c.name;
  }
}

TEST(ApplyEvent, F2StartsEveryNewGameUnsolved) {
  for (int32_t phase : {1, 2, 30, 50}) {
    GameContext game{};
    game.state = StatePlay;
    game.solvedPhase = phase;
    applyEvent(game, keyEvent(SDL_KEYDOWN, SDLK_F2, KMOD_NONE));
    EXPECT_EQ(game.state, StateChoosePicture);
    EXPECT_EQ(game.solvedPhase, 0) << phase;
  }
}

TEST(FrameLoop, OneEventPerFrameInQueueOrder) {
  FrameHarness harness;
  harness.game.state = StateQuit;  // no handler runs: only the intake is seen
  pushButton(SDL_MOUSEBUTTONDOWN, 1);
  pushButton(SDL_MOUSEBUTTONDOWN, 3);
  pushButton(SDL_MOUSEBUTTONUP, 3);
  pushButton(SDL_MOUSEBUTTONDOWN, 4);
  const int32_t expected[] = {1, 3, 0, 4, 4, 4};
  for (int32_t held : expected) {
    harness.frame();
    EXPECT_EQ(harness.game.heldButton, held);
  }
}

TEST(FrameLoop, ExposePresentsTheBackBufferInThatFrame) {
  FrameHarness harness;
  harness.game.state = StateQuit;
  harness.frame();
  EXPECT_FALSE(harness.presented);
  pushEventOfType(SDL_VIDEOEXPOSE);
  harness.frame();
  EXPECT_TRUE(harness.presented);
  EXPECT_FALSE(harness.game.needFlip);
  harness.frame();
  EXPECT_FALSE(harness.presented);
}

TEST(FrameLoop, QuitEndsTheLoopWithStatusZero) {
  FrameHarness harness;
  harness.game.state = StateDeal;
  pushEventOfType(SDL_QUIT);
  std::vector<char*> argv = {harness.arguments[0].data(), nullptr};
  // The deal would change state; the quit frame runs no handler.
  EXPECT_EQ(runFrameLoop(harness.game, 1, argv.data()), kExitNormal);
  EXPECT_EQ(harness.game.state, StateQuit);
}

TEST(FrameLoop, PacingCountsAcrossTheTickWrap) {
  struct Case {
    uint32_t frameStart, now, delay;
  };
  const Case cases[] = {
      {1000, 1000, 20},      {1000, 1007, 13},    {1000, 1020, 0},
      {1000, 1021, 0},       {1000, 90000, 0},    {0xfffffff0u, 0xfffffff5u, 15},
      {0xfffffff0u, 2, 2},   {0xfffffff0u, 4, 0}, {0xffffffffu, 0, 19},
      {0xfffffffau, 100, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(frameDelay(c.frameStart, c.now), c.delay) << c.frameStart << " -> " << c.now;
  }
}

// Picture selection with a stand-in for the dialog.
class PictureSelection : public testing::Test {
 protected:
  void SetUp() override {
    folder = makeTempFolder();
    writeOriginPng(folder + "/origin.png", 300, 200);
    writeFile(folder + "/not-a-picture.png", "plain text\n");
  }
  std::string folder;
};

TEST_F(PictureSelection, ChosenPathIsLoadedFittedAndDealt) {
  FakeDialog dialog;
  dialog.answer("zenity", folder + "/origin.png\n", 0);
  FrameHarness harness;
  EXPECT_EQ(harness.frame(), 0);
  EXPECT_EQ(harness.game.state, StateNoPicture);
  ASSERT_NE(harness.game.picture, nullptr);
  EXPECT_EQ(harness.game.picture->w, 300);
  EXPECT_FALSE(harness.presented);
  harness.frame();
  EXPECT_EQ(harness.game.state, StateFitPicture);
  harness.frame();
  EXPECT_EQ(harness.game.state, StateDeal);
  EXPECT_EQ(harness.game.picture->w, 640);
  EXPECT_EQ(harness.game.picture->h, 480);
  // Pixel (639, 479) of the fitted picture came from (299, 199).
  EXPECT_EQ(pixelOrigin(harness.game.picture->format, getPixel(harness.game.picture, 639, 479)),
            (Origin{299, 199}));

  const auto calls = dialog.calls();
  ASSERT_EQ(calls.size(), 1u);
  const std::vector<std::string>& args = calls[0];
  auto has = [&](const std::string& prefix) {
    return std::any_of(args.begin(), args.end(),
                       [&](const std::string& a) { return a.rfind(prefix, 0) == 0; });
  };
  EXPECT_TRUE(has("--file-selection"));
  EXPECT_TRUE(has("--modal"));
  EXPECT_TRUE(has("--title=Quilbrack"));
  EXPECT_TRUE(has("--file-filter=Obrazki | *.png"));
  EXPECT_TRUE(has("--file-filter=Wszystkie pliki | *"));
  EXPECT_FALSE(has("--attach")) << "the dummy display has no X window";
}

TEST_F(PictureSelection, OnlyOneTrailingNewlineIsStripped) {
  FakeDialog dialog;
  writeOriginPng(folder + "/ends with space .png", 10, 10);
  dialog.answer("zenity", folder + "/ends with space .png\n", 0);
  FrameHarness harness;
  harness.frame();
  EXPECT_NE(harness.game.picture, nullptr);
}

TEST_F(PictureSelection, CancelFallsBackToTheArgumentOrEnds) {
  FakeDialog dialog;
  dialog.answer("zenity", "", 1);
  FrameHarness withArgument;
  withArgument.arguments.push_back(folder + "/origin.png");
  withArgument.arguments.push_back(folder + "/not-a-picture.png");  // ignored
  EXPECT_EQ(withArgument.frame(), 0);
  ASSERT_NE(withArgument.game.picture, nullptr);
  EXPECT_EQ(withArgument.game.picture->w, 300);

  FrameHarness without;
  EXPECT_EQ(without.frame(), kExitNoPicture);
  EXPECT_EQ(without.game.state, StateChoosePicture);
}

TEST_F(PictureSelection, EmptyAnswerWithSuccessIsNoPath) {
  FakeDialog dialog;
  dialog.answer("zenity", "\n", 0);
  FrameHarness harness;
  EXPECT_EQ(harness.frame(), kExitNoPicture);
}

TEST_F(PictureSelection, KdialogStandsInWhenZenityIsMissing) {
  FakeDialog dialog(/*onlyFakes=*/true);
  dialog.answer("kdialog", folder + "/origin.png\n", 0);
  FrameHarness harness;
  EXPECT_EQ(harness.frame(), 0);
  EXPECT_NE(harness.game.picture, nullptr);
  const auto calls = dialog.calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_NE(std::find(calls[0].begin(), calls[0].end(), "--getopenfilename"), calls[0].end());
}

TEST_F(PictureSelection, NoDialogAtAllIsNoPath) {
  FakeDialog dialog(/*onlyFakes=*/true);
  FrameHarness harness;
  harness.arguments.push_back(folder + "/origin.png");
  EXPECT_EQ(harness.frame(), 0);
  EXPECT_NE(harness.game.picture, nullptr);
}

// The no-picture screen as presented: black everywhere, the error strip at (192, 64).
void expectNoPictureScreen(const FrameHarness& harness, SDL_Surface* sheet) {
  const Uint32 black = mapColor(0, 0, 0, 128);
  EXPECT_EQ(harness.shownAt(0, 0), black);
  EXPECT_EQ(harness.shownAt(639, 479), black);
  EXPECT_EQ(harness.shownAt(191, 70), black);
  EXPECT_EQ(harness.shownAt(448, 70), black);
  // Inside the strip, every pixel is the sheet's pixel blended onto black.
  SDL_Surface* expected =
      SDL_CreateRGBSurface(0, kStripWidth, kStripHeight, 32, screen->format->Rmask,
                           screen->format->Gmask, screen->format->Bmask, screen->format->Amask);
  SDL_FillRect(expected, nullptr, black);
  SDL_Rect strip{0, 0, kStripWidth, kStripHeight};
  SDL_BlitSurface(sheet, &strip, expected, nullptr);
  int differing = 0;
  for (int32_t y = 0; y < kStripHeight; ++y) {
    for (int32_t x = 0; x < kStripWidth; ++x) {
      if (harness.shownAt(192 + x, 64 + y) != getPixel(expected, x, y)) ++differing;
    }
  }
  EXPECT_EQ(differing, 0);
  SDL_FreeSurface(expected);
}

TEST_F(PictureSelection, NoPictureScreenIsPresentedOnceThenTheDialogReturns) {
  FakeDialog dialog;
  dialog.answer("zenity", folder + "/not-a-picture.png\n", 0);
  FrameHarness harness;
  harness.frame();
  EXPECT_EQ(harness.game.picture, nullptr);
  EXPECT_EQ(harness.game.state, StateNoPicture);
  harness.frame();  // counter 0: drawn and presented
  EXPECT_TRUE(harness.presented);
  expectNoPictureScreen(harness, harness.game.bannerSheet);
  for (int frame = 1; frame <= 100; ++frame) {  // counter 1..100: drawn, not presented
    harness.frame();
    EXPECT_FALSE(harness.presented) << frame;
  }
  EXPECT_EQ(harness.game.state, StateChoosePicture);
  EXPECT_EQ(harness.game.noPictureTicks, 0);
  EXPECT_EQ(dialog.calls().size(), 1u);
  harness.frame();
  EXPECT_EQ(dialog.calls().size(), 2u) << "the dialog opens 101 frames after the screen";
}

TEST_F(PictureSelection, F2DuringTheNoPictureScreenKeepsTheCounter) {
  FakeDialog dialog;
  dialog.answer("zenity", folder + "/not-a-picture.png\n", 0);
  FrameHarness harness;
  harness.frame();
  for (int frame = 0; frame < 30; ++frame) harness.frame();
  EXPECT_EQ(harness.game.noPictureTicks, 30);
  pushKey(SDLK_F2);
  harness.frame();  // the dialog opens in the frame that takes F2
  EXPECT_EQ(dialog.calls().size(), 2u);
  EXPECT_EQ(harness.game.state, StateNoPicture);
  int frames = 0;
  while (harness.game.state == StateNoPicture && frames < 200) {
    harness.frame();
    EXPECT_FALSE(harness.presented) << "a continued screen is not presented again";
    ++frames;
  }
  EXPECT_EQ(frames, 71);
}

TEST_F(PictureSelection, OnlyExactly640By480IsLeftUnscaled) {
  struct Case {
    int32_t width, height;
    bool scaled;
  };
  for (const Case& c : {Case{640, 480, false}, Case{639, 480, true}, Case{640, 479, true},
                        Case{1280, 960, true}, Case{320, 240, true}}) {
    FrameHarness harness;
    harness.game.picture = makeOriginPicture(c.width, c.height);
    SDL_Surface* before = harness.game.picture;
    harness.game.state = StateFitPicture;
    harness.frame();
    EXPECT_EQ(harness.game.state, StateDeal);
    EXPECT_EQ(harness.game.picture != before, c.scaled) << c.width << "x" << c.height;
    EXPECT_EQ(harness.game.picture->w, 640);
    EXPECT_EQ(harness.game.picture->h, 480);
  }
}

}  // namespace
